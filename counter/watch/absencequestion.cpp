#include "counter/watch/absencequestion.h"

#include "core/clock.h"
#include "core/messagebox.h"

#include <QMessageBox>
#include <QPushButton>

namespace counter {
namespace {

AbsenceAsker& askerSlot()
{
    static AbsenceAsker asker;
    return asker;
}

QString clockText(const QDateTime& moment)
{
    return moment.toString(moment.date() == core::Clock::now().date() ? QStringLiteral("HH:mm")
                                                                      : QStringLiteral("dd-MM-yyyy HH:mm"));
}

QString lengthText(qint64 minutes)
{
    if (minutes < 1) {
        return QStringLiteral("menos de um minuto");
    }
    if (minutes < 60) {
        return QStringLiteral("%1 minutos").arg(minutes);
    }
    return QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

AbsenceAnswer askWithDialog(const AbsenceQuestion& question)
{
    QMessageBox box(QMessageBox::Question, core::applicationTitle(), question.text());
    box.setObjectName(QStringLiteral("frmAusencia"));
    const QStringList captions = question.answers();
    QPushButton* keep = box.addButton(captions.at(0), QMessageBox::AcceptRole);
    QPushButton* stop = box.addButton(captions.at(1), QMessageBox::DestructiveRole);
    QPushButton* restart = box.addButton(captions.at(2), QMessageBox::ActionRole);
    box.addButton(QMessageBox::Cancel)->hide();
    box.setEscapeButton(QMessageBox::Cancel);
    box.setDefaultButton(keep);
    box.exec();
    const QAbstractButton* pressed = box.clickedButton();
    if (pressed == keep) {
        return AbsenceAnswer::Keep;
    }
    if (pressed == stop) {
        return AbsenceAnswer::Stop;
    }
    if (pressed == restart) {
        return AbsenceAnswer::StopAndRestart;
    }
    return AbsenceAnswer::None;
}

} // namespace

QString AbsenceQuestion::text() const
{
    const QString since = slept ? QStringLiteral("O computador esteve suspenso desde as %1 (%2)")
                                : QStringLiteral("Esteve ausente desde as %1 (%2)");
    QString text =
        since.arg(clockText(began), lengthText(minutes)) + QStringLiteral(", enquanto o contador contava:\n");
    for (const QString& task : tasks) {
        text += QStringLiteral("\n    • ") + task;
    }
    return text + QStringLiteral("\n\nQue fazer com esse tempo?");
}

QStringList AbsenceQuestion::answers() const
{
    const QString at = clockText(began);
    return {QStringLiteral("Manter o tempo"), QStringLiteral("Parar às %1").arg(at),
            QStringLiteral("Parar às %1 e recomeçar agora").arg(at)};
}

AbsenceAnswer askAbsence(const AbsenceQuestion& question)
{
    return askerSlot() ? askerSlot()(question) : askWithDialog(question);
}

void setAbsenceAsker(AbsenceAsker asker)
{
    askerSlot() = std::move(asker);
}

} // namespace counter
