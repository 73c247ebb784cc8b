#pragma once

#include "editors/editordialog.h"

namespace data {
class Recordset;
}

class QTreeWidget;

namespace editors {

// "Dossier": a case, its client, whether it is a court case, and its work items with their lawyer,
// deadlines and pending tasks. It only shows; "Arquivo Documental" opens the case's folder.
class CaseDialog : public EditorDialog
{
    Q_OBJECT

public:
    // The case caseId as record (open on it) holds it. Throws core::Error when it cannot be read.
    CaseDialog(qint64 caseId, const data::Recordset& record, QWidget* parent = nullptr);

    QString caseNumber() const { return m_number; }

protected:
    bool save() override { return true; }
    void fill() override;

private:
    qint64 m_caseId;
    QString m_number;
    QTreeWidget* m_work;
};

} // namespace editors
