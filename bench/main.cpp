// orvbench: prints the figures the counter is held to, one per line with its size, each beside the
// floor measured in the same run (a bare Qt window with a checkable tree), so that ratios hold on a
// busy machine. Needs an X display (scripts/bench.sh starts a virtual one).
//
//   orvbench [--long] [--office-scale X] [--profile-fill N] [--statistics] [--postgres]
//
// --long makes 10,000 tick/untick cycles (1,000 without it). --office-scale sizes the demo office
// behind each figure as X times the figure's task count (default 1; the generator makes 100 to 10,000
// tasks). --profile-fill N only refills the list of N tasks five times, timing nothing, for a profiler
// (valgrind --tool=callgrind --toggle-collect='counter::frmCounter::Fill_Tarefas*').
// --statistics prints only the statistics tabs' figures.
// --postgres prints start to window and Fill_Tarefas at 1,000 tasks on the embedded engine and then on a private
// PostgreSQL server (scripts/pg-server.sh, in ORV_BENCH_PG_DIR or a folder of /tmp), which it stops at the end.
#include "bench/benchoffice.h"
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

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

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

void runFigures(bool longRun, double officeScale)
{
    constexpr int CpuSeconds = 30;
    const QList<int> sizes{42, 1000, 10000};
    bench::BenchOffice office(officeScale);
    bench::XWatcher watcher;
    bench::StartFigures starts(watcher, office, QApplication::applicationFilePath());
    const double floorStart = starts.floor();
    for (const int pending : sizes) {
        starts.counter(pending, floorStart);
    }

    bench::WindowFigures window(office);
    QList<double> fills;
    for (const int pending : sizes) {
        fills << window.fill(pending, window.fillFloor(pending));
    }
    bench::printFigure(QStringLiteral("Fill_Tarefas growth per row"), QStringLiteral("10,000 / 1,000 tasks"),
                       (fills.at(2) / 10000) / (fills.at(1) / 1000), QStringLiteral("x"),
                       QStringLiteral("<= 1 (linear)"));
    window.timerTick(10000, 1);
    window.tickAndUntick(1000);
    window.login();
    window.cycles(50, longRun ? 10000 : 1000);

    const double floorCpu = starts.floorCpu(10000, CpuSeconds);
    starts.cpu(10000, CpuSeconds, floorCpu);
    bench::StatisticsFigures(office).run();
}

// The same two figures on both engines, the embedded one first; the floors are measured once.
void runPostgresFigures(double officeScale)
{
    constexpr int Pending = 1000;
    QString folder = qEnvironmentVariable("ORV_BENCH_PG_DIR");
    if (folder.isEmpty()) {
        folder = QDir::tempPath() + QStringLiteral("/orv-bench-pg-%1").arg(QApplication::applicationPid());
    }
    bench::PrivateServer server(folder);
    bench::BenchOffice office(officeScale);
    bench::XWatcher watcher;
    bench::StartFigures starts(watcher, office, QApplication::applicationFilePath());
    bench::WindowFigures window(office);
    const double floorStart = starts.floor();
    const double floorFill = window.fillFloor(Pending);
    for (const bool onServer : {false, true}) {
        if (onServer) {
            office.useServer(server.target());
        }
        starts.counter(Pending, floorStart);
        window.fill(Pending, floorFill);
    }
}

void profileFill(int pending, double officeScale)
{
    bench::BenchOffice office(officeScale);
    bench::WindowFigures window(office);
    window.profileFill(pending, 5);
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
    parser.addOptions({longOption, scaleOption, statisticsOption, profileOption, postgresOption});
    parser.process(app);

    core::setErrorReportingFactory([] { return std::make_unique<PrintedReports>(); });
    core::setEndProgramHandler([] {});
    try {
        if (parser.isSet(statisticsOption)) {
            bench::BenchOffice office(parser.value(scaleOption).toDouble());
            bench::StatisticsFigures(office).run();
        } else if (parser.isSet(postgresOption)) {
            runPostgresFigures(parser.value(scaleOption).toDouble());
        } else if (parser.isSet(profileOption)) {
            profileFill(parser.value(profileOption).toInt(), parser.value(scaleOption).toDouble());
        } else {
            runFigures(parser.isSet(longOption), parser.value(scaleOption).toDouble());
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
