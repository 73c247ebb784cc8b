// The live counter: once a second, the "Contador" cell of every running task shows the time since its
// entry started, by the workstation's clock.
#include "core/clock.h"
#include "core/errorvalue.h"
#include "counter/counterreports.h"
#include "counter/frmcounter.h"
#include "counter/listview.h"
#include "counter/taskrow.h"
#include "data/valuetext.h"

namespace counter {
namespace {

// The time of day of an elapsed time: hours, minutes and seconds when it is an hour or more, minutes
// and seconds otherwise; whole days are not shown. A start still ahead of the clock shows 00:00.
QString elapsedText(qint64 milliseconds)
{
    constexpr qint64 Hour = 3600;
    constexpr qint64 Day = 24 * Hour;
    const qint64 seconds = milliseconds <= 0 ? 0 : (milliseconds + 500) / 1000;
    const QTime timeOfDay = QTime(0, 0).addSecs(static_cast<int>(seconds % Day));
    return timeOfDay.toString(seconds >= Hour ? QStringLiteral("HH:mm:ss") : QStringLiteral("mm:ss"));
}

} // namespace

void frmCounter::Timer1_Timer()
{
    core::trap(reports::lists(objectName(), QStringLiteral("Timer1_Timer")), [&] {
        if (!isVisible()) {
            return;
        }
        ListView& list = *m_ListView1;
        const int N = list.rowCount();
        for (int row = 0; row < N; ++row) {
            if (!list.checked(row)) {
                if (list.cellText(row, taskRow::Counter) != taskRow::idleCounter()) {
                    list.setCellText(row, taskRow::Counter, taskRow::idleCounter());
                }
                continue;
            }
            const auto started = data::valueText::parseDate(list.cellText(row, taskRow::Start));
            if (!started) {
                throw core::Error(core::errc::TypeMismatch, QStringLiteral("Type mismatch"));
            }
            list.setCellText(row, taskRow::Counter, elapsedText(started->msecsTo(core::Clock::now())));
            list.setCellBold(row, taskRow::Counter, true);
        }
    });
}

} // namespace counter
