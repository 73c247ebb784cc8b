#include "counter/watch/absencequestion.h"

#include "core/clock.h"
#include "core/messagebox.h"

#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

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

const QString MomentFormat = QStringLiteral("dd-MM-yyyy HH:mm");

// The moment a count ends, from its start up to now; nothing when cancelled.
std::optional<QDateTime> pickMoment(const QDateTime& from, const QDateTime& proposed)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("frmPararAs"));
    dialog.setWindowTitle(core::applicationTitle());
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Parar a contagem às:"), &dialog));
    auto* moment = new QDateTimeEdit(proposed, &dialog);
    moment->setObjectName(QStringLiteral("FXPararAs"));
    moment->setDisplayFormat(MomentFormat);
    moment->setCalendarPopup(true);
    moment->setDateTimeRange(from, core::Clock::now());
    layout->addWidget(moment);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return moment->dateTime();
}

AbsenceReply askWithDialog(const AbsenceQuestion& question)
{
    for (;;) {
        QMessageBox box(QMessageBox::Question, core::applicationTitle(), question.text());
        box.setObjectName(QStringLiteral("frmAusencia"));
        const QStringList captions = question.answers();
        QList<std::pair<QPushButton*, AbsenceAnswer>> buttons{
            {box.addButton(captions.at(0), QMessageBox::AcceptRole), AbsenceAnswer::Keep},
            {box.addButton(captions.at(1), QMessageBox::DestructiveRole), AbsenceAnswer::Stop},
            {box.addButton(captions.at(2), QMessageBox::ActionRole), AbsenceAnswer::StopAndRestart}};
        if (captions.size() > 3) {
            buttons.append({box.addButton(captions.at(3), QMessageBox::ActionRole), AbsenceAnswer::StopAtChosen});
        }
        box.addButton(QMessageBox::Cancel)->hide();
        box.setEscapeButton(QMessageBox::Cancel);
        box.setDefaultButton(buttons.first().first);
        box.exec();
        AbsenceAnswer answer = AbsenceAnswer::None;
        for (const auto& [button, meaning] : buttons) {
            if (box.clickedButton() == button) {
                answer = meaning;
            }
        }
        if (answer != AbsenceAnswer::StopAtChosen) {
            return answer;
        }
        if (const auto chosen = pickMoment(question.countedSince, question.began)) {
            return {answer, *chosen};
        }
    }
}

} // namespace

QString AbsenceQuestion::text() const
{
    if (countedSince.isValid()) {
        QString text = QStringLiteral("Está a contar desde %1:\n").arg(clockText(countedSince));
        for (const QString& task : tasks) {
            text += QStringLiteral("\n    • ") + task;
        }
        return text + QStringLiteral("\n\nEsqueceu-se de parar? Que fazer com esse tempo?");
    }
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
    QStringList captions{QStringLiteral("Manter o tempo"), QStringLiteral("Parar às %1").arg(at),
                         QStringLiteral("Parar às %1 e recomeçar agora").arg(at)};
    if (countedSince.isValid()) {
        captions << QStringLiteral("Parar a uma hora à escolha…");
    }
    return captions;
}

bool AbsenceQuestion::acceptable(const QDateTime& chosen) const
{
    return chosen.isValid() && chosen >= countedSince && chosen <= core::Clock::now();
}

AbsenceReply askAbsence(const AbsenceQuestion& question)
{
    return askerSlot() ? askerSlot()(question) : askWithDialog(question);
}

void setAbsenceAsker(AbsenceAsker asker)
{
    askerSlot() = std::move(asker);
}

} // namespace counter
