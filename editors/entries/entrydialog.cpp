#include "editors/entries/entrydialog.h"

#include "data/connection.h"
#include "data/displayformat.h"
#include "data/moddata.h"
#include "data/storabletext.h"
#include "data/valuetext.h"
#include "editors/fieldchecks.h"
#include "editors/workcontext.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace editors {
namespace {

const QString StartLabel = QStringLiteral("Início");
const QString EndLabel = QStringLiteral("Fim");
const QString MinutesLabel = QStringLiteral("Minutos");
const QString NoteLabel = QStringLiteral("Nota");

QStringList columns(bool withNote)
{
    QStringList names{QStringLiteral("tarefa_id"), QStringLiteral("trabalho_id"), QStringLiteral("data"),
                      QStringLiteral("data_fim"),  QStringLiteral("unidades"),    QStringLiteral("inprogress")};
    if (withNote) {
        names << QStringLiteral("descrit");
    }
    return names;
}

qint64 whole(const QVariant& value)
{
    return data::valueText::isNull(value) ? 0 : value.toLongLong();
}

} // namespace

EntryDialog::EntryDialog(qint64 entryId, const data::Recordset& record, QWidget* parent)
    : EditorDialog(QStringLiteral("frmLancamento"), QStringLiteral("Lançamento"), parent)
    , m_record(QStringLiteral("tbProcessos_Trabalhos_Tarefas_Lancamentos"), QStringLiteral("lancamento_id"), entryId,
               columns(!record.isOpen() || record.hasField(QStringLiteral("descrit"))))
    , m_hasNote(!record.isOpen() || record.hasField(QStringLiteral("descrit")))
{
    m_record.load(record);
    m_running = whole(m_record.value(QStringLiteral("inprogress"))) != 0 ||
                data::valueText::isNull(m_record.value(QStringLiteral("data_fim")));
    if (m_running) {
        auto* note = new QLabel(QStringLiteral("Este lançamento está em curso: pode vê-lo, mas só o pode corrigir "
                                               "depois de parar a contagem."),
                                this);
        note->setObjectName(QStringLiteral("lblEmCurso"));
        note->setWordWrap(true);
        body().insertWidget(0, note);
    }
    m_case = addShown(QStringLiteral("FXDossier"), QStringLiteral("Dossier:"));
    m_task = addShown(QStringLiteral("FXTarefa"), QStringLiteral("Tarefa:"));
    m_start = addText(QStringLiteral("FXData_Inicio"), QStringLiteral("&Início:"), QStringLiteral("dd-mm-aaaa hh:mm"));
    m_end = addText(QStringLiteral("FXData_Fim"), QStringLiteral("&Fim:"), QStringLiteral("dd-mm-aaaa hh:mm"));
    m_minutes = addText(QStringLiteral("FXUnidades"), QStringLiteral("&Minutos:"));
    m_note = m_hasNote ? addText(QStringLiteral("FXDescrit"), QStringLiteral("&Nota:")) : nullptr;
    for (QLineEdit* field : {m_start, m_end, m_minutes, m_note}) {
        if (field != nullptr && m_running) {
            field->setReadOnly(true);
        }
    }
    // Minutes typed move the end with them, so that the entry keeps lasting what it counts.
    connect(m_minutes, &QLineEdit::textEdited, this, &EntryDialog::minutesEdited);
    fill();
    finish(!m_running);
}

void EntryDialog::minutesEdited()
{
    const fields::DateRead start =
        fields::readDateKeeping(StartLabel, m_start->text(), true, m_record.value(QStringLiteral("data")), true);
    const fields::MinutesRead minutes = fields::readMinutes(MinutesLabel, m_minutes->text());
    if (start.problem.isEmpty() && start.value && minutes.problem.isEmpty() && minutes.value > 0) {
        m_end->setText(fields::dateText(start.value->addSecs(minutes.value * 60), true));
    }
}

void EntryDialog::fill()
{
    m_case->setText(workContext(whole(m_record.value(QStringLiteral("trabalho_id")))).caseNumber);
    m_task->setText(taskDescription(whole(m_record.value(QStringLiteral("tarefa_id")))));
    m_start->setText(fields::dateText(m_record.value(QStringLiteral("data")), true));
    m_end->setText(fields::dateText(m_record.value(QStringLiteral("data_fim")), true));
    m_minutes->setText(QString::number(whole(m_record.value(QStringLiteral("unidades")))));
    if (m_note != nullptr) {
        m_note->setText(m_record.value(QStringLiteral("descrit")).toString());
    }
}

bool EntryDialog::save()
{
    const fields::DateRead start =
        fields::readDateKeeping(StartLabel, m_start->text(), true, m_record.value(QStringLiteral("data")), true);
    if (refuse(start.problem)) {
        return false;
    }
    const fields::DateRead end =
        fields::readDateKeeping(EndLabel, m_end->text(), true, m_record.value(QStringLiteral("data_fim")), true);
    if (refuse(end.problem)) {
        return false;
    }
    if (*end.value <= *start.value) {
        refuse(
            QStringLiteral("O fim (%1) tem de ser depois do início (%2).")
                .arg(data::displayFormat::dateTimeText(*end.value), data::displayFormat::dateTimeText(*start.value)));
        return false;
    }
    const fields::MinutesRead minutes = fields::readMinutes(MinutesLabel, m_minutes->text());
    if (refuse(minutes.problem) ||
        (m_note != nullptr && refuse(data::storableText::textProblem(NoteLabel, m_note->text(), false)))) {
        return false;
    }
    using data::modData::SqlLiteral;
    namespace literal = data::modData::literal;
    QString assignments = QStringLiteral("data = ") + SqlLiteral(*start.value, literal::Date) +
                          QStringLiteral(", data_fim = ") + SqlLiteral(*end.value, literal::Date) +
                          QStringLiteral(", unidades = ") + SqlLiteral(minutes.value, literal::Number);
    if (m_note != nullptr) {
        assignments += QStringLiteral(", descrit = ") + SqlLiteral(m_note->text(), literal::Text);
    }
    return saveAsLoaded(m_record, assignments);
}

} // namespace editors
