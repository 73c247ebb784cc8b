#pragma once

#include "editors/editordialog.h"
#include "editors/recordsnapshot.h"

namespace data {
class Recordset;
}

namespace editors {

// "Tarefa": a task with its work item, case and client shown; its description, hidden and finished
// flags changed and saved with one UPDATE.
class TaskDialog : public EditorDialog
{
    Q_OBJECT

public:
    // The task taskId as record (open on it) holds it. Throws core::Error when it cannot be read.
    TaskDialog(qint64 taskId, const data::Recordset& record, QWidget* parent = nullptr);

protected:
    bool save() override;
    void fill() override;

private:
    RecordSnapshot m_record;
    QLineEdit* m_work;
    QLineEdit* m_case;
    QLineEdit* m_client;
    QLineEdit* m_description;
    QCheckBox* m_hidden;
    QCheckBox* m_finished;
};

} // namespace editors
