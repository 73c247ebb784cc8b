#include "editors/taskdialog.h"

#include "data/moddata.h"
#include "data/storabletext.h"
#include "data/timeentries/runningentries.h"
#include "data/valuetext.h"
#include "editors/fieldchecks.h"
#include "editors/workcontext.h"

#include <QCheckBox>
#include <QLineEdit>

namespace editors {
namespace {

bool isSet(const QVariant& flag)
{
    return !data::valueText::isNull(flag) && flag.toDouble() != 0;
}

QString flagText(const QCheckBox& check)
{
    return check.isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

TaskDialog::TaskDialog(qint64 taskId, const data::Recordset& record, QWidget* parent)
    : EditorDialog(QStringLiteral("frmTarefa"), QStringLiteral("Tarefa"), parent)
    , m_record(QStringLiteral("tbProcessos_Trabalhos_Tarefas"), QStringLiteral("tarefa_id"), taskId,
               {QStringLiteral("trabalho_id"), QStringLiteral("descrit"), QStringLiteral("escondida"),
                QStringLiteral("closed")})
{
    m_record.load(record);
    m_case = addShown(QStringLiteral("FXDossier"), QStringLiteral("Dossier:"));
    m_client = addShown(QStringLiteral("FXCliente"), QStringLiteral("Cliente:"));
    m_work = addShown(QStringLiteral("FXTrabalho"), QStringLiteral("Trabalho:"));
    m_description = addText(QStringLiteral("FXDescrit"), QStringLiteral("&Descrição:"));
    m_hidden = addCheck(QStringLiteral("FXEscondida"), QStringLiteral("&Escondida da lista de tarefas"));
    m_finished = addCheck(QStringLiteral("FXClosed"), QStringLiteral("&Terminada"));
    fill();
    finish(true);
}

void TaskDialog::fill()
{
    const QVariant work = m_record.value(QStringLiteral("trabalho_id"));
    const WorkContext context = workContext(data::valueText::isNull(work) ? 0 : work.toLongLong());
    m_work->setText(context.work);
    m_case->setText(context.caseNumber);
    m_client->setText(context.client);
    m_description->setText(m_record.value(QStringLiteral("descrit")).toString());
    m_hidden->setChecked(isSet(m_record.value(QStringLiteral("escondida"))));
    m_finished->setChecked(isSet(m_record.value(QStringLiteral("closed"))));
}

bool TaskDialog::save()
{
    if (refuse(data::storableText::textProblem(QStringLiteral("Descrição"), m_description->text(), true))) {
        return false;
    }
    // A task finished under a running count (here or on any workstation) would leave that entry running for
    // good: nothing could stop it any more. The statement itself refuses then, with the list's message; the
    // count is stopped where it is shown, in the counter's list.
    namespace running = data::runningEntries;
    const bool finishing = m_finished->isChecked() && !isSet(m_record.value(QStringLiteral("closed")));
    return saveAsLoaded(m_record,
                        QStringLiteral("descrit = ") +
                            data::modData::SqlLiteral(m_description->text(), data::modData::literal::Text) +
                            QStringLiteral(", escondida = ") + flagText(*m_hidden) + QStringLiteral(", closed = ") +
                            flagText(*m_finished),
                        finishing ? running::noneRunning(QStringLiteral("tarefa_id"), m_record.id()) : QString(),
                        running::finishRefusal());
}

} // namespace editors
