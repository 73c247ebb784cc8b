#pragma once

#include "core/errorvalue.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <optional>

class QLabel;
class QTimer;
class QWidget;

namespace counter {

class TrayIcon;

// The way back from a lost database link. When the shared connection loses its link, the window says so where
// the lawyer looks (LinkStatus and the tray tip) and tries again by itself, on the timer LinkTimer measured by the
// workstation's clock: a second after the loss, then twice as long after each failed try (2, 4 seconds), at most
// LongestDelayMs. A try is the catch-up: the counts stopped
// while the database was away are made and the task list is refilled. The first try that goes through ends the
// outage and restores the tip. A command that opens the link again meanwhile brings the next try forward.
// A try's error is reported ("LinkTimer_Timer", the lists' rule, which leaves the lost connection out) once,
// until it changes or a try goes through; one that is no lost link ends the outage, the database having answered.
class LinkRecovery : public QObject
{
    Q_OBJECT

public:
    // Throws core::Error when a statement fails.
    using CatchUp = std::function<void()>;

    static constexpr qint64 FirstDelayMs = 1000;
    static constexpr qint64 LongestDelayMs = 8000;

    LinkRecovery(QWidget& window, QLabel& status, TrayIcon& tray, CatchUp catchUp);
    ~LinkRecovery() override;

    // True from the loss of the link until a try goes through.
    bool outage() const { return m_outage; }
    // When the next try is due, by the workstation's clock.
    QDateTime nextTry() const { return m_next; }
    // LinkTimer's tick: the try, once it is due.
    void tick();
    QTimer* timer() const { return m_timer; }

    // What LinkStatus and the tray tip say during an outage.
    static QString statusText();
    static QString trayTip();

private:
    void linkChanged(bool up);
    void tryAgain();
    void end();

    QWidget& m_window;
    QLabel& m_status;
    TrayIcon& m_tray;
    CatchUp m_catchUp;
    QTimer* m_timer;
    bool m_outage = false;
    bool m_trying = false;
    qint64 m_delayMs = FirstDelayMs;
    QDateTime m_next;
    QString m_tipBefore;
    std::optional<core::ErrorValue> m_lastFailure;
};

} // namespace counter
