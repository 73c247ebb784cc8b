#include "editors/entries/newentrydialog.h"

#include "core/clock.h"
#include "core/messagebox.h"
#include "data/connection.h"
#include "data/storabletext.h"
#include "data/timeentries/timeentries.h"
#include "editors/fieldchecks.h"
#include "editors/workcontext.h"

#include <QLineEdit>

namespace editors {

NewEntryDialog::NewEntryDialog(const Target& target, QWidget* parent)
    : EditorDialog(QStringLiteral("frmLancamentoNovo"), QStringLiteral("Registar Lançamento"), parent)
    , m_target(target)
{
    m_case = addShown(QStringLiteral("FXDossier"), QStringLiteral("Dossier:"));
    m_task = addShown(QStringLiteral("FXTarefa"), QStringLiteral("Tarefa:"));
    m_start = addText(QStringLiteral("FXData_Inicio"), QStringLiteral("&Início:"), QStringLiteral("dd-mm-aaaa hh:mm"));
    m_minutes = addText(QStringLiteral("FXUnidades"), QStringLiteral("&Minutos:"));
    m_note = addText(QStringLiteral("FXDescrit"), QStringLiteral("&Nota:"));
    fill();
    finish(true);
    m_minutes->setFocus();
}

void NewEntryDialog::fill()
{
    const qint64 work = data::timeEntries::workOfTask(m_target.task);
    m_case->setText(workContext(work).caseNumber);
    m_task->setText(taskDescription(m_target.task));
    m_offeredStart = fields::dateText(core::Clock::now(), true).left(16);
    m_start->setText(m_offeredStart);
}

bool NewEntryDialog::missing(qint64 value, const QString& field)
{
    if (value == 0) {
        core::msgBox(data::timeEntries::missingFieldText(field), core::Buttons::Ok, core::Icon::Critical,
                     windowTitle());
    }
    return value == 0;
}

bool NewEntryDialog::save()
{
    const fields::DateRead start = fields::readDate(QStringLiteral("Início"), m_start->text(), true);
    if (refuse(start.problem)) {
        return false;
    }
    // A new entry records time: it has at least a minute, and the message says so.
    const fields::MinutesRead minutes = fields::readMinutes(QStringLiteral("Minutos"), m_minutes->text(), 1);
    if (refuse(minutes.problem) ||
        refuse(data::storableText::textProblem(QStringLiteral("Nota"), m_note->text(), false))) {
        return false;
    }
    // Time is recorded once it has passed: the start offered becomes the start of minutes that end now, and
    // a start typed must leave the minutes in the past.
    const QDateTime now = core::Clock::now();
    const QDateTime startAt =
        m_start->text().trimmed() == m_offeredStart ? now.addSecs(-minutes.value * 60) : *start.value;
    if (startAt.addSecs(minutes.value * 60) > now.addSecs(60) &&
        refuse(QStringLiteral("O lançamento terminaria depois de agora (%1). Indique um início mais cedo ou menos "
                              "minutos.")
                   .arg(fields::dateText(startAt.addSecs(minutes.value * 60), true)))) {
        return false;
    }
    namespace entries = data::timeEntries;
    entries::NewEntry entry;
    entry.task = m_target.task;
    entry.work = entries::workOfTask(entry.task);
    if (missing(entry.work, QStringLiteral("TRABALHO_ID")) || missing(m_target.caseId, QStringLiteral("Processo_ID")) ||
        missing(m_target.client, QStringLiteral("Contacto_ID"))) {
        return false;
    }
    entry.caseId = m_target.caseId;
    entry.client = m_target.client;
    entry.lawyer = m_target.lawyer;
    entry.basis = entries::countingBasis();
    if (missing(entry.basis, QStringLiteral("Base_ID"))) {
        return false;
    }
    entry.priceRule = entries::priceRule();
    if (missing(entry.priceRule, QStringLiteral("Preco_ID"))) {
        return false;
    }
    entry.price = entries::lawyerPrice(m_target.lawyer);
    entry.start = startAt;
    entry.end = startAt.addSecs(minutes.value * 60);
    entry.minutes = minutes.value;
    if (!m_note->text().trimmed().isEmpty()) {
        entry.note = m_note->text();
    }
    m_entryId = entries::insert(entry);
    return true;
}

} // namespace editors
