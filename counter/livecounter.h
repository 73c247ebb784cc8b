#pragma once

#include "core/errorvalue.h"

#include <QObject>

#include <optional>

class QTimer;
class QWidget;

namespace counter {

class ListView;

// The live counter: the timer Timer1 (one second, running from the start) and its tick, which
// rewrites the "Contador" cell of every row of the task list while the window is visible: the time
// since the running entry started for a ticked row, the idle text for any other. Nothing else changes.
// A tick's error is reported ("Timer1_Timer", the lists' rule) and ends that tick; the same error again at
// the next ticks is not reported again until a tick goes through.
class LiveCounter : public QObject
{
    Q_OBJECT

public:
    LiveCounter(QWidget& window, ListView& list);

    void tick();
    // Runs the timer again at one second, as every start of a count does.
    void restart();
    QTimer* timer() const { return m_timer; }

    // The time of day of an elapsed time: "HH:mm:ss" from an hour on, "mm:ss" below; whole days are
    // not shown. A start still ahead of the clock shows 00:00.
    static QString elapsedText(qint64 milliseconds);

private:
    void refresh();

    QWidget& m_window;
    std::optional<core::ErrorValue> m_lastFailure;
    ListView& m_list;
    QTimer* m_timer;
};

} // namespace counter
