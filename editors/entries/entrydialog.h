#pragma once

#include "editors/editordialog.h"
#include "editors/recordsnapshot.h"

namespace data {
class Recordset;
}

namespace editors {

// "Lançamento": a time entry with its task and case shown. A closed entry's start, end, minutes and note
// can be corrected (end after start; whole minutes from 0 to 24 hours) and are saved with one UPDATE; a
// running entry is only shown.
class EntryDialog : public EditorDialog
{
    Q_OBJECT

public:
    // The entry entryId as record (open on it) holds it. Throws core::Error when it cannot be read.
    EntryDialog(qint64 entryId, const data::Recordset& record, QWidget* parent = nullptr);

    bool running() const { return m_running; }

protected:
    bool save() override;
    void fill() override;

private:
    void minutesEdited();

    RecordSnapshot m_record;
    bool m_hasNote;
    bool m_running;
    QLineEdit* m_task;
    QLineEdit* m_case;
    QLineEdit* m_start;
    QLineEdit* m_end;
    QLineEdit* m_minutes;
    QLineEdit* m_note;
};

} // namespace editors
