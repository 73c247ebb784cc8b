#include "bench/startfigures.h"

#include "bench/benchoffice.h"
#include "bench/figures.h"
#include "bench/xwatcher.h"
#include "core/errorvalue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <memory>

namespace bench {
namespace {

constexpr int MapTimeoutMs = 120000;
constexpr int Starts = 3;
// Time for the first repaint and the first ticks of the live counter before memory is read.
constexpr int SettleMs = 1500;

} // namespace

struct StartFigures::Started {
    std::unique_ptr<QProcess> process;
    quint32 window = 0;
    double ms = 0;

    Started() = default;
    Started(Started&&) = default;
    ~Started()
    {
        if (process) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    qint64 pid() const { return process->processId(); }
};

StartFigures::StartFigures(XWatcher& watcher, BenchOffice& office, QString self)
    : m_watcher(watcher)
    , m_office(office)
    , m_self(std::move(self))
{}

StartFigures::Started StartFigures::start(const QString& program, const QStringList& arguments)
{
    // Each start has a state folder of its own: one instance runs per state folder.
    const QString state = m_office.folder() + QStringLiteral("/state-%1").arg(++m_runs);
    QDir().mkpath(state);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORV_STATE_DIR"), state);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    Started started;
    started.process = std::make_unique<QProcess>();
    started.process->setProcessEnvironment(environment);
    started.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    started.process->start(program, arguments);
    if (!started.process->waitForStarted()) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("Cannot start %1").arg(program));
    }
    const auto window = m_watcher.waitForMap(started.pid(), MapTimeoutMs);
    if (!window) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("%1 showed no window").arg(program));
    }
    started.ms = double(timer.nsecsElapsed()) / 1e6;
    started.window = *window;
    return started;
}

double StartFigures::floor()
{
    QList<double> times;
    double memory = 0;
    double peak = 0;
    for (int i = 0; i < Starts; ++i) {
        Started started = start(m_self, {QStringLiteral("--floor-window")});
        times << started.ms;
        QThread::msleep(SettleMs);
        memory = residentMiB(started.pid());
        peak = peakResidentMiB(started.pid());
    }
    const double ms = median(times);
    const QString size = QStringLiteral("1,000 rows");
    printFigure(QStringLiteral("floor: start to window mapped"), size, ms, QStringLiteral("ms"));
    printFigure(QStringLiteral("floor: resident memory after start"), size, memory, QStringLiteral("MiB"));
    printFigure(QStringLiteral("floor: peak resident memory"), size, peak, QStringLiteral("MiB"));
    return ms;
}

void StartFigures::counter(int pending, double floorMs)
{
    m_office.pointSettingsAt(m_office.make(pending, 1));
    QList<double> times;
    double resident = 0;
    double peak = 0;
    for (int i = 0; i < Starts; ++i) {
        Started started = start(QStringLiteral(ORV_COUNTER_EXE), {});
        times << started.ms;
        if (i == 0) {
            QThread::msleep(SettleMs);
            resident = residentMiB(started.pid());
            peak = peakResidentMiB(started.pid());
        }
    }
    const QString size = m_office.sizeLabel(pending);
    const double ms = median(times);
    const QString ratio = QStringLiteral("%1 x floor now").arg(ms / floorMs, 0, 'f', 2);
    const QString target = pending < 1000    ? QStringLiteral("<= 1.5 x floor (%1)").arg(ratio)
                           : pending < 10000 ? QStringLiteral("<= 2 x floor (%1)").arg(ratio)
                                             : QStringLiteral("<= 300 ms (%1)").arg(ratio);
    printFigure(QStringLiteral("start to window mapped and filled"), size, ms, QStringLiteral("ms"), target);
    printFigure(QStringLiteral("resident memory after start"), size, resident, QStringLiteral("MiB"),
                pending < 1000    ? QStringLiteral("<= 40 MiB")
                : pending < 10000 ? QString()
                                  : QStringLiteral("<= 60 MiB"));
    printFigure(QStringLiteral("  peak above resident"), size, peak - resident, QStringLiteral("MiB"),
                QStringLiteral("<= 20 MiB (peak %1 MiB)").arg(peak, 0, 'f', 1));
}

double StartFigures::cpuOver(const Started& started, int seconds)
{
    QThread::msleep(SettleMs);
    const QHash<QString, double> before = threadCpuMilliseconds(started.pid());
    QThread::sleep(seconds);
    return cpuMillisecondsSince(before, started.pid());
}

double StartFigures::floorCpu(int rows, int seconds)
{
    Started started =
        start(m_self, {QStringLiteral("--floor-window"), QString::number(rows), QStringLiteral("--tick")});
    const double ms = cpuOver(started, seconds);
    printFigure(QStringLiteral("floor: CPU over %1 s, 1 Hz repaint").arg(seconds), QStringLiteral("%L1 rows").arg(rows),
                ms, QStringLiteral("ms"));
    return ms;
}

void StartFigures::cpu(int pending, int seconds, double floorMs)
{
    const QString size = QStringLiteral("%L1 tasks").arg(pending);
    const QString idleTarget = QStringLiteral("<= %1 ms").arg(2.0 * seconds / 30.0, 0, 'f', 1);
    m_office.pointSettingsAt(m_office.make(pending, 0));
    {
        Started idle = start(QStringLiteral(ORV_COUNTER_EXE), {});
        printFigure(QStringLiteral("CPU over %1 s, shown, none counting").arg(seconds), size, cpuOver(idle, seconds),
                    QStringLiteral("ms"), idleTarget);
    }

    m_office.pointSettingsAt(m_office.make(pending, 1));
    Started started = start(QStringLiteral(ORV_COUNTER_EXE), {});
    const double shown = cpuOver(started, seconds);
    printFigure(QStringLiteral("CPU over %1 s, shown, 1 counting").arg(seconds), size, shown, QStringLiteral("ms"),
                QStringLiteral("<= floor's 1 Hz repaint (%1 x now)").arg(shown / floorMs, 0, 'f', 2));

    // Without a notification area the close box minimises the window instead of hiding it, and a
    // display without a window manager never unmaps a minimised window.
    const bool hidden = m_watcher.closeAndWaitForUnmap(started.window, 10000);
    printFigure(hidden ? QStringLiteral("CPU over %1 s, hidden in the tray").arg(seconds)
                       : QStringLiteral("CPU over %1 s, closed, minimised").arg(seconds),
                QStringLiteral("%1, 1 counting").arg(size), cpuOver(started, seconds), QStringLiteral("ms"),
                idleTarget);
}

} // namespace bench
