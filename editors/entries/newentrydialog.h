#pragma once

#include "editors/editordialog.h"

namespace editors {

// "Registar Lançamento": a closed time entry for one task (its start, the minutes and a note), recorded
// for a lawyer with the counting basis, price rule and lawyer's price a started count uses.
class NewEntryDialog : public EditorDialog
{
    Q_OBJECT

public:
    struct Target {
        qint64 client = 0;
        qint64 caseId = 0;
        qint64 task = 0;
        qint32 lawyer = 0;
    };

    // Throws core::Error when the task's context cannot be read.
    explicit NewEntryDialog(const Target& target, QWidget* parent = nullptr);

    // The entry the save inserted; 0 before.
    qint64 entryId() const { return m_entryId; }

protected:
    bool save() override;
    void fill() override;

private:
    // Shows which look-up found nothing; true when value is 0.
    bool missing(qint64 value, const QString& field);

    Target m_target;
    qint64 m_entryId = 0;
    QLineEdit* m_case;
    QLineEdit* m_task;
    QLineEdit* m_start;
    // The start offered (now): left as it is, the entry ends now instead of starting now.
    QString m_offeredStart;
    QLineEdit* m_minutes;
    QLineEdit* m_note;
};

} // namespace editors
