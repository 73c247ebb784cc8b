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
    for (int i = 0; i < Starts; ++i) {
        Started started = start(m_self, {QStringLiteral("--floor-window")});
        times << started.ms;
        QThread::msleep(SettleMs);
        memory = residentMiB(started.pid());
    }
    const double ms = median(times);
    printFigure(QStringLiteral("floor: start to window mapped"), QStringLiteral("1,000 rows"), ms,
                QStringLiteral("ms"));
    printFigure(QStringLiteral("floor: resident memory after start"), QStringLiteral("1,000 rows"), memory,
                QStringLiteral("MiB"));
    return ms;
}

void StartFigures::counter(int pending, double floorMs, bool memory)
{
    m_office.pointSettingsAt(m_office.make(pending, 1));
    QList<double> times;
    double resident = 0;
    for (int i = 0; i < Starts; ++i) {
        Started started = start(QStringLiteral(ORV_COUNTER_EXE), {});
        times << started.ms;
        if (memory && i == 0) {
            QThread::msleep(SettleMs);
            resident = residentMiB(started.pid());
        }
    }
    const QString size = QStringLiteral("%L1 tasks").arg(pending);
    const double ms = median(times);
    printFigure(QStringLiteral("start to window mapped and filled"), size, ms, QStringLiteral("ms"),
                pending == 50 ? QStringLiteral("<= 2 x floor (%1 x now)").arg(ms / floorMs, 0, 'f', 2)
                              : QStringLiteral("(%1 x floor)").arg(ms / floorMs, 0, 'f', 2));
    if (memory) {
        printFigure(QStringLiteral("resident memory after start"), size, resident, QStringLiteral("MiB"),
                    pending == 50 ? QStringLiteral("<= 45 MiB") : QString());
    }
}

void StartFigures::cpu(int pending, int seconds)
{
    m_office.pointSettingsAt(m_office.make(pending, 1));
    Started started = start(QStringLiteral(ORV_COUNTER_EXE), {});
    const QString size = QStringLiteral("%L1 tasks, 1 counting").arg(pending);
    QThread::msleep(SettleMs);
    double before = cpuMilliseconds(started.pid());
    QThread::sleep(seconds);
    printFigure(QStringLiteral("CPU over %1 s, window shown").arg(seconds), size,
                cpuMilliseconds(started.pid()) - before, QStringLiteral("ms"));

    if (!m_watcher.closeAndWaitForUnmap(started.window, 10000)) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("The counter window did not hide"));
    }
    QThread::msleep(SettleMs);
    before = cpuMilliseconds(started.pid());
    QThread::sleep(seconds);
    printFigure(QStringLiteral("CPU over %1 s, hidden in the tray").arg(seconds), size,
                cpuMilliseconds(started.pid()) - before, QStringLiteral("ms"),
                QStringLiteral("<= %1 ms").arg(2.0 * seconds / 30.0, 0, 'f', 1));
}

} // namespace bench
