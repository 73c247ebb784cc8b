#include "editors/workdialog.h"

#include "data/connection.h"
#include "data/displayformat.h"
#include "data/moddata.h"
#include "data/valuetext.h"
#include "editors/fieldchecks.h"
#include "editors/workcontext.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace editors {
namespace {

const QString LegalLabel = QStringLiteral("Data Legal");
const QString OfficeLabel = QStringLiteral("Prazo de Escritório");

bool isSet(const QVariant& flag)
{
    return !data::valueText::isNull(flag) && flag.toDouble() != 0;
}

} // namespace

WorkDialog::WorkDialog(qint64 workId, const data::Recordset& record, bool deadlines, QWidget* parent)
    : EditorDialog(QStringLiteral("frmTrabalho"),
                   deadlines ? QStringLiteral("Prazos do Trabalho") : QStringLiteral("Trabalho"), parent)
    , m_record(QStringLiteral("tbProcessos_Trabalhos"), QStringLiteral("trabalho_id"), workId,
               {QStringLiteral("data_legal"), QStringLiteral("data_escritorio"), QStringLiteral("prazos")})
    , m_deadlines(deadlines)
{
    m_record.load(record);
    if (deadlines) {
        auto* note = new QLabel(QStringLiteral("Este trabalho é de um processo judicial: indique a Data Legal e o "
                                               "Prazo de Escritório para o poder atribuir."),
                                this);
        note->setObjectName(QStringLiteral("lblPrazos"));
        note->setWordWrap(true);
        body().insertWidget(0, note);
    }
    m_case = addShown(QStringLiteral("FXDossier"), QStringLiteral("Dossier:"));
    m_client = addShown(QStringLiteral("FXCliente"), QStringLiteral("Cliente:"));
    m_work = addShown(QStringLiteral("FXTrabalho"), QStringLiteral("Trabalho:"));
    m_lawyer = addShown(QStringLiteral("FXAdvogado"), QStringLiteral("Advogado:"));
    m_legal = addText(QStringLiteral("FXData_Legal"), QStringLiteral("Data &Legal:"), QStringLiteral("dd-mm-aaaa"));
    m_office = addText(QStringLiteral("FXData_Escritorio"), QStringLiteral("&Prazo de Escritório:"),
                       QStringLiteral("dd-mm-aaaa"));
    m_exempt = addCheck(QStringLiteral("FXPrazos"), QStringLiteral("&Dispensado de prazos"));
    fill();
    finish(true);
}

void WorkDialog::fill()
{
    const WorkContext context = workContext(m_record.id());
    m_case->setText(context.caseNumber);
    m_client->setText(context.client);
    m_work->setText(context.work);
    m_lawyer->setText(context.lawyer);
    m_legal->setText(fields::dateText(m_record.value(QStringLiteral("data_legal")), false));
    m_office->setText(fields::dateText(m_record.value(QStringLiteral("data_escritorio")), false));
    m_exempt->setChecked(isSet(m_record.value(QStringLiteral("prazos"))));
}

bool WorkDialog::save()
{
    const fields::DateRead legal = fields::readDateKeeping(LegalLabel, m_legal->text(), m_deadlines,
                                                           m_record.value(QStringLiteral("data_legal")), false);
    if (refuse(legal.problem)) {
        return false;
    }
    const fields::DateRead office = fields::readDateKeeping(OfficeLabel, m_office->text(), m_deadlines,
                                                            m_record.value(QStringLiteral("data_escritorio")), false);
    if (refuse(office.problem)) {
        return false;
    }
    if (legal.value && office.value && office.value->date() > legal.value->date()) {
        refuse(QStringLiteral("O Prazo de Escritório (%1) não pode ser depois da Data Legal (%2).")
                   .arg(data::displayFormat::dateText(*office.value), data::displayFormat::dateText(*legal.value)));
        return false;
    }
    using data::modData::SqlLiteral;
    namespace literal = data::modData::literal;
    QString assignments = QStringLiteral("data_legal = ") +
                          SqlLiteral(legal.value ? QVariant(*legal.value) : QVariant(), literal::Date) +
                          QStringLiteral(", data_escritorio = ") +
                          SqlLiteral(office.value ? QVariant(*office.value) : QVariant(), literal::Date);
    // A flag left as loaded is not written, so that a null stays null.
    if (m_exempt->isChecked() != isSet(m_record.value(QStringLiteral("prazos")))) {
        assignments +=
            QStringLiteral(", prazos = ") + (m_exempt->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (!saveAsLoaded(m_record, assignments)) {
        return false;
    }
    m_settled = legal.value.has_value() && office.value.has_value();
    return true;
}

} // namespace editors
