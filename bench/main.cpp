// orvbench: prints the figures the counter is held to, one per line with its size, each beside the
// floor measured in the same run (a bare Qt window with a checkable tree), so that ratios hold on a
// busy machine. Needs an X display (scripts/bench.sh starts a virtual one).
//
//   orvbench [--long] [--office-scale X]
//
// --long adds the figures that take minutes: CPU time over 30 s shown and hidden, and 10,000
// tick/untick cycles (1,000 without it). --office-scale sizes the demo office behind each figure as
// X times the figure's task count (default 1; the generator makes 100 to 10,000 tasks).
#include "bench/benchoffice.h"
#include "bench/floorwindow.h"
#include "bench/startfigures.h"
#include "bench/windowfigures.h"
#include "bench/xwatcher.h"
#include "core/errorreporting.h"
#include "core/errorvalue.h"
#include "core/program.h"

#include <QApplication>
#include <QCommandLineParser>
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
    bench::BenchOffice office(officeScale);
    bench::XWatcher watcher;
    bench::StartFigures starts(watcher, office, QApplication::applicationFilePath());
    const double floorStart = starts.floor();
    for (const int pending : {50, 1000, 10000}) {
        starts.counter(pending, floorStart, pending <= 1000);
    }

    bench::WindowFigures window(office);
    for (const int pending : {100, 1000, 10000}) {
        window.fill(pending, window.fillFloor(pending));
    }
    window.timerTick(1000, 10);
    window.tickAndUntick(1000);
    window.login();
    window.cycles(50, longRun ? 10000 : 1000);
    if (longRun) {
        starts.cpu(50, 30);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--floor-window") == 0) {
        return bench::runFloorWindow(argc, argv);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvbench"));
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption longOption(QStringLiteral("long"),
                                        QStringLiteral("Adds the 30-second CPU figures and 10,000 cycles."));
    const QCommandLineOption scaleOption(QStringLiteral("office-scale"),
                                         QStringLiteral("Demo office tasks per task of the figure (default 1)."),
                                         QStringLiteral("X"), QStringLiteral("1"));
    parser.addOptions({longOption, scaleOption});
    parser.process(app);

    core::setErrorReportingFactory([] { return std::make_unique<PrintedReports>(); });
    core::setEndProgramHandler([] {});
    try {
        runFigures(parser.isSet(longOption), parser.value(scaleOption).toDouble());
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
