#include "counter/watch/preferencesdialog.h"

#include "core/messagebox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QTimeEdit>

namespace counter {
namespace {

std::function<int(frmPreferencias&)>& runnerSlot()
{
    static std::function<int(frmPreferencias&)> runner;
    return runner;
}

QSpinBox* numberBox(QWidget* parent, const char* name, int most, const QString& suffix, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, most);
    box->setSuffix(suffix);
    box->setSpecialValueText(QStringLiteral("desligado"));
    box->setValue(value);
    return box;
}

QTimeEdit* timeBox(QWidget* parent, const char* name, const QTime& value)
{
    auto* box = new QTimeEdit(value, parent);
    box->setObjectName(QLatin1String(name));
    box->setDisplayFormat(QStringLiteral("HH:mm"));
    return box;
}

} // namespace

frmPreferencias::frmPreferencias(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreferencias"));
    setWindowTitle(QStringLiteral("Preferências"));
    const Preferences stored = Preferences::load();
    m_absence = numberBox(this, "FXAusencia", 24 * 60, QStringLiteral(" min"), stored.absenceMinutes);
    m_longCount = numberBox(this, "FXContagemLonga", 24, QStringLiteral(" h"), stored.longCountHours);
    m_silent = numberBox(this, "FXSemContagem", 24 * 60, QStringLiteral(" min"), stored.silentMinutes);
    m_dayStart = timeBox(this, "FXHorarioInicio", stored.dayStart);
    m_dayEnd = timeBox(this, "FXHorarioFim", stored.dayEnd);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Perguntar após uma ausência de:"), m_absence);
    form->addRow(QStringLiteral("Avisar de uma contagem com mais de:"), m_longCount);
    form->addRow(QStringLiteral("Lembrar quando nada conta há:"), m_silent);
    form->addRow(QStringLiteral("Horário de trabalho (2.ª a 6.ª), das:"), m_dayStart);
    form->addRow(QStringLiteral("às:"), m_dayEnd);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

Preferences frmPreferencias::values() const
{
    Preferences chosen;
    chosen.absenceMinutes = m_absence->value();
    chosen.longCountHours = m_longCount->value();
    chosen.silentMinutes = m_silent->value();
    chosen.dayStart = m_dayStart->time();
    chosen.dayEnd = m_dayEnd->time();
    return chosen;
}

void frmPreferencias::setRunner(std::function<int(frmPreferencias&)> runner)
{
    runnerSlot() = std::move(runner);
}

std::optional<Preferences> frmPreferencias::edit(QWidget* parent)
{
    frmPreferencias dialog(parent);
    const int result = runnerSlot() ? runnerSlot()(dialog) : dialog.exec();
    if (result != QDialog::Accepted) {
        return std::nullopt;
    }
    const Preferences chosen = dialog.values();
    if (!chosen.save()) {
        core::msgBox(QStringLiteral("Não foi possível guardar as preferências."), core::Buttons::Ok,
                     core::Icon::Critical);
        return std::nullopt;
    }
    return chosen;
}

} // namespace counter
