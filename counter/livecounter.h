#pragma once

#include "core/errorvalue.h"

#include <QObject>
#include <QStringList>

#include <optional>

class QTimer;
class QWidget;

namespace counter {

class ListView;

// The live counter: the timer Timer1 (one second) and its tick, which rewrites the "Contador" cell of
// the rows of the task list while the window is visible: the time since the running entry started for a
// ticked row, the idle text again for a row that showed a time and is no longer ticked. Nothing else
// changes. Only the ticked rows are visited, as the list knows them; while none is ticked, or the window
// is hidden, the timer stands still, and it runs again when a row is ticked or the window is shown.
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

    // An elapsed time: "HH:mm:ss" from an hour on, with every whole hour (25:00:05 after a day and an
    // hour), "mm:ss" below. A start still ahead of the clock shows 00:00.
    static QString elapsedText(qint64 milliseconds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    // Runs the timer while the window is visible and some row is ticked or still shows a time.
    void wake();

    QWidget& m_window;
    std::optional<core::ErrorValue> m_lastFailure;
    ListView& m_list;
    QTimer* m_timer;
    // The keys of the rows whose counter cell was given a time.
    QStringList m_shown;
};

} // namespace counter
