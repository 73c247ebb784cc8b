#include "bench/startfigures.h"

#include "bench/benchoffice.h"
#include "bench/figures.h"
#include "bench/xwatcher.h"
#include "core/errorvalue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

namespace bench {
namespace {

constexpr int MapTimeoutMs = 120000;
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

QProcessEnvironment StartFigures::environment()
{
    // Each start has a state folder of its own: one instance runs per state folder.
    const QString state = m_office.folder() + QStringLiteral("/state-%1").arg(++m_runs);
    QDir().mkpath(state);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORV_STATE_DIR"), state);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

StartFigures::Started StartFigures::start(const QString& program, const QStringList& arguments)
{
    Started started;
    started.process = std::make_unique<QProcess>();
    started.process->setProcessEnvironment(environment());
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

Sample StartFigures::timedStart(const QString& program, const QStringList& arguments)
{
    // Spawned directly rather than through QProcess, whose own reaping would take the child's resource use.
    std::vector<QByteArray> texts{QFile::encodeName(program)};
    for (const QString& argument : arguments) {
        texts.push_back(argument.toLocal8Bit());
    }
    const qsizetype argumentCount = qsizetype(texts.size());
    for (const QString& variable : environment().toStringList()) {
        texts.push_back(variable.toLocal8Bit());
    }
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (qsizetype i = 0; i < qsizetype(texts.size()); ++i) {
        (i < argumentCount ? argv : envp).push_back(texts[size_t(i)].data());
    }
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("Cannot start %1").arg(program));
    }
    const auto window = m_watcher.waitForMap(pid, MapTimeoutMs);
    const double wallMs = double(timer.nsecsElapsed()) / 1e6;
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!window) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("%1 showed no window").arg(program));
    }
    const auto ms = [](const timeval& time) { return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3; };
    return {wallMs, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

Sample StartFigures::interleaved(int pending, int rounds)
{
    m_office.pointSettingsAt(m_office.make(pending, 1));
    const QString rows = QString::number(pending);
    QList<Sample> floors;
    QList<Sample> counters;
    QList<double> wallRatios;
    QList<double> cpuRatios;
    // The first start of a remembered login verifies both passwords (Argon2id at the production cost) and keeps
    // the answers, which every later start of that login takes: it is shown on its own, the rounds after it.
    const Sample firstFloor = timedStart(m_self, {QStringLiteral("--floor-window"), rows});
    const Sample first = timedStart(QStringLiteral(ORV_COUNTER_EXE), {});
    for (int round = 0; round < rounds; ++round) {
        floors << timedStart(m_self, {QStringLiteral("--floor-window"), rows});
        counters << timedStart(QStringLiteral(ORV_COUNTER_EXE), {});
        wallRatios << counters.last().wallMs / floors.last().wallMs;
        cpuRatios << counters.last().cpuMs / floors.last().cpuMs;
    }
    const QString size = m_office.sizeLabel(pending);
    printSamples(QStringLiteral("floor: start to window mapped"), QStringLiteral("%L1 rows").arg(pending), floors);
    const Sample counter = medianSample(counters);
    const QString target = pending < 1000    ? QStringLiteral("CPU <= 1.5 x floor")
                           : pending < 10000 ? QStringLiteral("CPU <= 2 x floor")
                                             : QStringLiteral("wall <= 300 ms");
    printSamples(QStringLiteral("start to window mapped and filled"), size, counters, target);
    printFigure(QStringLiteral("  x floor, CPU (median of rounds)"), size, median(cpuRatios), QStringLiteral("x"),
                QStringLiteral("wall %1 x").arg(median(wallRatios), 0, 'f', 2));
    printSamples(QStringLiteral("  first start, passwords verified"), size, {first});
    printFigure(QStringLiteral("    x floor beside it, CPU"), size, first.cpuMs / firstFloor.cpuMs,
                QStringLiteral("x"));

    Started started = start(QStringLiteral(ORV_COUNTER_EXE), {});
    QThread::msleep(SettleMs);
    const double mapped = mappedDatabaseMiB(started.pid());
    const double resident = residentMiB(started.pid()) - mapped;
    const double peak = peakResidentMiB(started.pid());
    printFigure(QStringLiteral("resident memory after start"), size, resident, QStringLiteral("MiB"),
                (pending < 1000    ? QStringLiteral("<= 40 MiB, ")
                 : pending < 10000 ? QString()
                                   : QStringLiteral("<= 60 MiB, ")) +
                    QStringLiteral("without the office file's mapped pages (%1 MiB)").arg(mapped, 0, 'f', 1));
    printFigure(QStringLiteral("  peak above resident"), size, peak - resident - mapped, QStringLiteral("MiB"),
                QStringLiteral("<= 20 MiB (peak %1 MiB)").arg(peak, 0, 'f', 1));
    return counter;
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
