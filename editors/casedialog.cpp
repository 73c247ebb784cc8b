#include "editors/casedialog.h"

#include "data/connection.h"
#include "data/moddata.h"
#include "data/valuetext.h"
#include "editors/documentarchive.h"
#include "editors/recordsnapshot.h"
#include "editors/workcontext.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace editors {

CaseDialog::CaseDialog(qint64 caseId, const data::Recordset& record, QWidget* parent)
    : EditorDialog(QStringLiteral("frmDossier"), QStringLiteral("Dossier"), parent)
    , m_caseId(caseId)
    , m_work(new QTreeWidget(this))
{
    RecordSnapshot snapshot(
        QStringLiteral("tbProcessos"), QStringLiteral("processo_id"), caseId,
        {QStringLiteral("processo_no_completo"), QStringLiteral("contacto_id"), QStringLiteral("judicial")});
    snapshot.load(record);
    m_number = data::valueText::text(snapshot.value(QStringLiteral("processo_no_completo")));
    const QVariant judicial = snapshot.value(QStringLiteral("judicial"));
    const QVariant client = snapshot.value(QStringLiteral("contacto_id"));

    addShown(QStringLiteral("FXProcesso_No"), QStringLiteral("Dossier:"))->setText(m_number);
    QLineEdit* clientName = addShown(QStringLiteral("FXCliente"), QStringLiteral("Cliente:"));
    if (!data::valueText::isNull(client)) {
        auto contact = data::Data::SqlServer().openRecordset(
            QStringLiteral("SELECT nome_union FROM tbContactos WHERE contacto_id = ") +
            QString::number(client.toLongLong()));
        clientName->setText(contact->eof() ? QString() : fieldText(*contact, QStringLiteral("nome_union")));
        contact->close();
    }
    addShown(QStringLiteral("FXJudicial"), QStringLiteral("Processo judicial:"))
        ->setText(!data::valueText::isNull(judicial) && judicial.toDouble() != 0 ? QStringLiteral("Sim")
                                                                                 : QStringLiteral("Não"));

    auto* caption = new QLabel(QStringLiteral("&Trabalhos do dossier:"), this);
    caption->setBuddy(m_work);
    m_work->setObjectName(QStringLiteral("ListTrabalhos"));
    m_work->setAccessibleName(QStringLiteral("Trabalhos do dossier"));
    m_work->setRootIsDecorated(false);
    m_work->setHeaderLabels({QStringLiteral("Trabalho"), QStringLiteral("Advogado"), QStringLiteral("P. Legal"),
                             QStringLiteral("D. Escritório"), QStringLiteral("Pendentes")});
    // The work item's text takes the room left; the lawyer, the two deadlines and the count are shown whole.
    m_work->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < m_work->columnCount(); ++column) {
        m_work->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    m_work->setMinimumWidth(600);
    body().addWidget(caption);
    body().addWidget(m_work);

    auto* archive = new QPushButton(QStringLiteral("Arquivo &Documental"), this);
    archive->setObjectName(QStringLiteral("cmdArquivo"));
    archive->setAccessibleName(QStringLiteral("Arquivo Documental"));
    archive->setAutoDefault(false);
    connect(archive, &QPushButton::clicked, this, [this] { documentArchive::open(m_number, m_caseId, windowTitle()); });
    body().addWidget(archive, 0, Qt::AlignLeft);
    fill();
    finish(false);
}

void CaseDialog::fill()
{
    m_work->clear();
    auto rows = data::Data::SqlServer().openRecordset(
        QStringLiteral("SELECT w.descrit AS trabalho, a.nome_union AS advogado, w.data_legal AS data_legal, "
                       "w.data_escritorio AS data_escritorio, (SELECT COUNT(*) FROM tbProcessos_Trabalhos_Tarefas t "
                       "WHERE t.trabalho_id = w.trabalho_id AND (t.closed = 0 OR t.closed IS NULL)) AS pendentes FROM "
                       "tbProcessos_Trabalhos w LEFT JOIN tbContactos a ON a.contacto_id = w.advogado_id WHERE "
                       "w.processo_id = ") +
        QString::number(m_caseId) + QStringLiteral(" ORDER BY w.trabalho_id"));
    for (; !rows->eof(); rows->moveNext()) {
        auto* item = new QTreeWidgetItem(m_work);
        item->setText(0, fieldText(*rows, QStringLiteral("trabalho")));
        item->setText(1, fieldText(*rows, QStringLiteral("advogado")));
        item->setText(
            2, data::modData::ListField(*rows, QStringLiteral("data_legal"), data::displayFormat::listCode::Date));
        item->setText(
            3, data::modData::ListField(*rows, QStringLiteral("data_escritorio"), data::displayFormat::listCode::Date));
        item->setText(4, fieldText(*rows, QStringLiteral("pendentes")));
    }
    rows->close();
    if (m_work->topLevelItemCount() > 0) {
        m_work->setCurrentItem(m_work->topLevelItem(0));
    }
}

} // namespace editors
