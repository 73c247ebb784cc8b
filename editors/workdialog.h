#pragma once

#include "editors/editordialog.h"
#include "editors/recordsnapshot.h"

namespace data {
class Recordset;
}

namespace editors {

// "Trabalho": a work item with its case, client and assigned lawyer shown; its legal and office deadlines
// and whether it needs them ("prazos") changed and saved with one UPDATE. Asked for its deadlines, it
// requires both dates.
class WorkDialog : public EditorDialog
{
    Q_OBJECT

public:
    // The work item workId as record (open on it) holds it. Throws core::Error when it cannot be read.
    WorkDialog(qint64 workId, const data::Recordset& record, bool deadlines, QWidget* parent = nullptr);

    // True when the last save left both dates set.
    bool datesSettled() const { return m_settled; }

protected:
    bool save() override;
    void fill() override;

private:
    RecordSnapshot m_record;
    bool m_deadlines;
    bool m_settled = false;
    QLineEdit* m_case;
    QLineEdit* m_client;
    QLineEdit* m_work;
    QLineEdit* m_lawyer;
    QLineEdit* m_legal;
    QLineEdit* m_office;
    QCheckBox* m_exempt;
};

} // namespace editors
