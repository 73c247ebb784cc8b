// orvbench: prints the figures the counter is held to, one per line with its size, each beside the
// floor (a bare Qt window with a checkable tree of as many rows): every start and every fill alternates with
// the floor's, round by round, and is printed with its wall-clock and CPU time as min / median / max, the
// load average before and after, so that ratios hold on a busy machine. Needs an X display
// (scripts/bench.sh starts a virtual one).
//
//   orvbench [--long] [--office-scale X] [--rounds N] [--profile-fill N] [--statistics] [--postgres]
//
// --long makes 10,000 tick/untick cycles (1,000 without it). --office-scale sizes the demo office
// behind each figure as X times the figure's task count (default 1; the generator makes 100 to 10,000
// tasks). --profile-fill N only refills the list of N tasks twenty times (or --rounds), for a profiler, and prints
// their spread (valgrind --tool=callgrind --toggle-collect='counter::PendingTasks::fill*').
// --statistics prints only the statistics tabs' figures.
// --postgres prints start to window and Fill_Tarefas at 1,000 tasks on the embedded engine and then on a private
// PostgreSQL server (scripts/pg-server.sh, in ORV_BENCH_PG_DIR or a folder of /tmp), which it stops at the end.
// --postgres-drivers prints, on such a server, a login and the pending list of 1,000 tasks through psqlODBC and
// through the engine's own connection (Qt's PostgreSQL driver over libpq), with the statements the server logged.
#include "bench/benchoffice.h"
#include "bench/driverfigures.h"
#include "bench/figures.h"
#include "bench/floorwindow.h"
#include "bench/privateserver.h"
#include "bench/startfigures.h"
#include "bench/statisticsfigures.h"
#include "bench/windowfigures.h"
#include "bench/xwatcher.h"
#include "core/errorreporting.h"
#include "core/errorvalue.h"
#include "core/program.h"
#include "tools/demooffice.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include <algorithm>
#include <cstring>

namespace {

// Any error the counter reports during a figure makes that figure worthless: it is shown, and counted.
int errorReports = 0;

class PrintedReports : public core::ErrorReporting
{
public:
    void Report(const QString&, const QString&, const QString& owner, const QString& procedure,
                const QString& text) override
    {
        ++errorReports;
        QTextStream(stderr) << "error report: " << owner << '.' << procedure << ": " << text << Qt::endl;
    }
};

void runFigures(bool longRun, double officeScale, int rounds)
{
    constexpr int CpuSeconds = 30;
    constexpr int BigOffice = tools::DemoOffice::MaxSize;
    const QList<int> sizes{42, 1000, 10000};
    bench::printLoad(QStringLiteral("before"));
    bench::BenchOffice office(officeScale);
    bench::XWatcher watcher;
    bench::StartFigures starts(watcher, office, QApplication::applicationFilePath());
    for (const int pending : sizes) {
        starts.interleaved(pending, rounds);
    }

    bench::WindowFigures window(office);
    QList<bench::Sample> fills;
    for (const int pending : sizes) {
        fills << window.fill(pending);
    }
    // Entries per task as in a real office: the list's length apart from the office's size.
    const bench::Sample bigThousand = window.fill(1000, BigOffice);
    const bench::Sample bigTenThousand =
        office.officeSize(10000) == BigOffice ? fills.at(2) : window.fill(10000, BigOffice);
    bench::printFigure(QStringLiteral("Fill_Tarefas growth per row, CPU"),
                       QStringLiteral("10,000 / 1,000, office %L1").arg(BigOffice),
                       (bigTenThousand.cpuMs / 10000) / (bigThousand.cpuMs / 1000), QStringLiteral("x"),
                       QStringLiteral("<= 1 (linear)"));
    window.timerTick(10000, 1);
    window.tickAndUntick(1000);
    window.login();
    window.cycles(50, longRun ? 10000 : 1000);

    const double floorCpu = starts.floorCpu(10000, CpuSeconds);
    starts.cpu(10000, CpuSeconds, floorCpu);
    bench::StatisticsFigures(office).run();
    bench::printLoad(QStringLiteral("after"));
}

// Where the private PostgreSQL server of a run lives: ORV_BENCH_PG_DIR, or a folder of this run's own.
QString privateServerFolder()
{
    const QString folder = qEnvironmentVariable("ORV_BENCH_PG_DIR");
    return folder.isEmpty() ? QDir::tempPath() + QStringLiteral("/orv-bench-pg-%1").arg(QApplication::applicationPid())
                            : folder;
}

// The same figures on both engines, the embedded one first.
void runPostgresFigures(double officeScale, int rounds)
{
    constexpr int Pending = 1000;
    const QString folder = privateServerFolder();
    bench::printLoad(QStringLiteral("before"));
    bench::PrivateServer server(folder);
    bench::BenchOffice office(officeScale);
    bench::XWatcher watcher;
    bench::StartFigures starts(watcher, office, QApplication::applicationFilePath());
    bench::WindowFigures window(office);
    QList<bench::Sample> startMedians;
    QList<bench::Sample> fillMedians;
    for (const bool onServer : {false, true}) {
        if (onServer) {
            office.useServer(server.target());
        }
        startMedians << starts.interleaved(Pending, rounds);
        fillMedians << window.fill(Pending);
    }
    bench::printFigure(
        QStringLiteral("PostgreSQL start / embedded start, CPU"), QStringLiteral("1,000 tasks"),
        startMedians.at(1).cpuMs / startMedians.at(0).cpuMs, QStringLiteral("x"),
        QStringLiteral("<= 1.3 (wall %1 x)").arg(startMedians.at(1).wallMs / startMedians.at(0).wallMs, 0, 'f', 2));
    bench::printFigure(
        QStringLiteral("PostgreSQL fill / embedded fill, wall"), QStringLiteral("1,000 tasks"),
        fillMedians.at(1).wallMs / fillMedians.at(0).wallMs, QStringLiteral("x"),
        QStringLiteral("<= 1.5 (CPU %1 x)").arg(fillMedians.at(1).cpuMs / fillMedians.at(0).cpuMs, 0, 'f', 2));
    bench::printLoad(QStringLiteral("after"));
}

// The two clients the PostgreSQL engine could use, on one office of a private server.
void runDriverFigures(double officeScale, int rounds)
{
    const QString folder = privateServerFolder();
    bench::printLoad(QStringLiteral("before"));
    bench::PrivateServer server(folder);
    bench::BenchOffice office(officeScale);
    bench::DriverFigures(server, office, folder).run(1000, rounds);
    bench::printLoad(QStringLiteral("after"));
}

void profileFill(int pending, double officeScale, int runs)
{
    bench::BenchOffice office(officeScale);
    bench::WindowFigures window(office);
    window.profileFill(pending, runs);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--floor-window") == 0) {
        return bench::runFloorWindow(argc, argv);
    }
    core::readTimeZoneOnce();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvbench"));
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption longOption(QStringLiteral("long"), QStringLiteral("Makes 10,000 tick/untick cycles."));
    const QCommandLineOption scaleOption(QStringLiteral("office-scale"),
                                         QStringLiteral("Demo office tasks per task of the figure (default 1)."),
                                         QStringLiteral("X"), QStringLiteral("1"));
    const QCommandLineOption statisticsOption(QStringLiteral("statistics"),
                                              QStringLiteral("Prints only the statistics tabs' figures."));
    const QCommandLineOption profileOption(QStringLiteral("profile-fill"),
                                           QStringLiteral("Only refills a list of N tasks, for a profiler."),
                                           QStringLiteral("N"));
    const QCommandLineOption postgresOption(
        QStringLiteral("postgres"),
        QStringLiteral(
            "Start to window and Fill_Tarefas at 1,000 tasks, embedded and on a private PostgreSQL server."));
    const QCommandLineOption roundsOption(QStringLiteral("rounds"),
                                          QStringLiteral("Rounds of each start and fill (default 5, at least 5)."),
                                          QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption driversOption(
        QStringLiteral("postgres-drivers"),
        QStringLiteral(
            "A login and the pending list of 1,000 through psqlODBC and through the engine's libpq (QPSQL)."));
    parser.addOptions(
        {longOption, scaleOption, statisticsOption, profileOption, postgresOption, roundsOption, driversOption});
    parser.process(app);

    const int rounds = std::max(5, parser.value(roundsOption).toInt());
    core::setErrorReportingFactory([] { return std::make_unique<PrintedReports>(); });
    core::setEndProgramHandler([] {});
    try {
        if (parser.isSet(statisticsOption)) {
            bench::BenchOffice office(parser.value(scaleOption).toDouble());
            bench::StatisticsFigures(office).run();
        } else if (parser.isSet(driversOption)) {
            runDriverFigures(parser.value(scaleOption).toDouble(), rounds);
        } else if (parser.isSet(postgresOption)) {
            runPostgresFigures(parser.value(scaleOption).toDouble(), rounds);
        } else if (parser.isSet(profileOption)) {
            profileFill(parser.value(profileOption).toInt(), parser.value(scaleOption).toDouble(),
                        parser.isSet(roundsOption) ? rounds : 20);
        } else {
            runFigures(parser.isSet(longOption), parser.value(scaleOption).toDouble(), rounds);
        }
    } catch (const core::Error& error) {
        QTextStream(stderr) << "orvbench: " << error.description() << Qt::endl;
        return 1;
    }
    if (errorReports > 0) {
        QTextStream(stderr) << "orvbench: " << errorReports << " error reports: the figures are not valid" << Qt::endl;
        return 1;
    }
    return 0;
}
