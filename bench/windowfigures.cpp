#include "bench/windowfigures.h"

#include "bench/benchoffice.h"
#include "bench/figures.h"
#include "bench/floorwindow.h"
#include "bench/xwatcher.h"
#include "core/errorvalue.h"
#include "counter/frmcounter.h"
#include "counter/listview/listview.h"
#include "data/connection.h"
#include "data/engines/embedded.h"
#include "session/modcode.h"

#include <QApplication>

namespace bench {
namespace {

void repaint()
{
    QApplication::processEvents();
}

// Moves the running entries' start back, as if ten minutes had passed: an entry shorter than the
// shortest one kept is dropped on untick instead of being closed.
void ageRunningEntries()
{
    data::Data::SqlServer().execute(
        QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data = '%1' WHERE inprogress <> 0")
            .arg(data::embedded::toStorage(QDateTime::currentDateTime().addSecs(-600))));
}

// The number of time entries, all of them or those being counted.
int entries(bool runningOnly)
{
    auto records = data::Data::SqlServer().openRecordset(
        QStringLiteral("SELECT COUNT(*) AS n FROM tbProcessos_Trabalhos_Tarefas_Lancamentos") +
        (runningOnly ? QStringLiteral(" WHERE inprogress <> 0") : QString()));
    return records->value(QStringLiteral("n")).toInt();
}

} // namespace

WindowFigures::WindowFigures(BenchOffice& office)
    : m_office(office)
{}

WindowFigures::~WindowFigures()
{
    m_window.reset();
    data::Data::SqlServer().close();
}

counter::frmCounter& WindowFigures::open(int pending, int running, int officeTasks)
{
    m_window.reset();
    data::Connection& shared = data::Data::SqlServer();
    if (shared.isOpen()) {
        shared.close();
    }
    shared.open(m_office.connectionText(m_office.make(pending, running, officeTasks)));
    session::modCode::Connected = true;
    session::modCode::UserName = BenchOffice::lawyerLogin();
    session::modCode::AdvogadoID = BenchOffice::lawyerId();
    m_window = std::make_unique<counter::frmCounter>();
    m_window->Form_Load();
    m_window->show();
    repaint();
    if (list().rowCount() != pending) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("The list has %1 rows, not %2").arg(list().rowCount()).arg(pending));
    }
    return *m_window;
}

counter::ListView& WindowFigures::list()
{
    return *m_window->findChild<counter::ListView*>(QStringLiteral("ListView1"));
}

Sample WindowFigures::fill(int pending, int officeTasks)
{
    counter::frmCounter& window = open(pending, 1, officeTasks);
    FloorWindow floor(pending);
    floor.show();
    repaint();
    QList<Sample> floors;
    QList<Sample> fills;
    for (int round = 0; round < (pending >= 10000 ? 5 : 9); ++round) {
        floors << measure([&] {
            floor.fill(pending);
            repaint();
        });
        fills << measure([&] {
            int task = 0;
            window.Fill_Tarefas(task);
            repaint();
        });
    }
    const QString size = m_office.sizeLabel(pending, officeTasks);
    printSamples(QStringLiteral("floor: refill checkable tree"), QStringLiteral("%L1 rows").arg(pending), floors);
    const Sample fill = medianSample(fills);
    const double ratio = fill.cpuMs / medianSample(floors).cpuMs;
    const QString target = pending == 1000    ? QStringLiteral("wall <= 15 ms (CPU %1 x floor)").arg(ratio, 0, 'f', 1)
                           : pending == 10000 ? QStringLiteral("wall <= 150 ms (CPU %1 x floor)").arg(ratio, 0, 'f', 1)
                                              : QStringLiteral("(CPU %1 x floor)").arg(ratio, 0, 'f', 1);
    printSamples(QStringLiteral("Fill_Tarefas"), size, fills, target);
    return fill;
}

void WindowFigures::profileFill(int pending, int runs)
{
    counter::frmCounter& window = open(pending, 1);
    QList<Sample> fills;
    for (int i = 0; i < runs; ++i) {
        fills << measure([&] {
            int task = 0;
            window.Fill_Tarefas(task);
            repaint();
        });
    }
    printSamples(QStringLiteral("Fill_Tarefas"), m_office.sizeLabel(pending, 0), fills);
}

void WindowFigures::timerTick(int pending, int running)
{
    counter::frmCounter& window = open(pending, running);
    const double ms = medianMs(50, [&] {
        window.Timer1_Timer();
        repaint();
    });
    printFigure(QStringLiteral("Timer1 tick"), QStringLiteral("%L1 rows, %2 counting").arg(pending).arg(running), ms,
                QStringLiteral("ms"), QStringLiteral("<= 1 ms"));
}

void WindowFigures::tickAndUntick(int pending)
{
    open(pending, 0);
    const QString key = list().key(pending / 2);
    const int kept = entries(false);
    int made = 0;
    // Medians of nine ticks and unticks, each with its repaint.
    const auto measureTicks = [&] {
        QList<double> ticks;
        QList<double> unticks;
        for (int i = 0; i < 9; ++i) {
            ticks << medianMs(1, [&] {
                list().userToggle(list().findKey(key));
                repaint();
            });
            if (entries(true) != 1) {
                throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("The tick opened no time entry"));
            }
            ageRunningEntries();
            unticks << medianMs(1, [&] {
                list().userToggle(list().findKey(key));
                repaint();
            });
            if (entries(true) != 0 || entries(false) != kept + ++made) {
                throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("The untick closed no entry"));
            }
        }
        return std::pair{median(ticks), median(unticks)};
    };
    const auto [tick, untick] = measureTicks();
    // The same ticks with commits that wait for no disk (never so in the counter), for the flush's share.
    data::Data::SqlServer().execute(QStringLiteral("PRAGMA synchronous = NORMAL"));
    const double unflushed = measureTicks().first;
    data::Data::SqlServer().execute(QStringLiteral("PRAGMA synchronous = FULL"));
    const QString size = QStringLiteral("%L1 tasks").arg(pending);
    printFigure(QStringLiteral("tick to time entry"), size, tick, QStringLiteral("ms"),
                QStringLiteral("<= 16 ms (one frame)"));
    printFigure(QStringLiteral("  of which the commit's flush to disk"), size, tick - unflushed, QStringLiteral("ms"),
                QStringLiteral("kept: the entry's start survives a power cut"));
    printFigure(QStringLiteral("untick with refill"), size, untick, QStringLiteral("ms"), QStringLiteral("<= 35 ms"));
}

void WindowFigures::cycles(int pending, int cycles)
{
    open(pending, 0);
    const QString key = list().key(0);
    const qint64 self = QApplication::applicationPid();
    const double before = residentMiB(self);
    for (int i = 0; i < cycles; ++i) {
        list().userToggle(list().findKey(key));
        repaint();
        ageRunningEntries();
        list().userToggle(list().findKey(key));
        repaint();
    }
    const QString size = QStringLiteral("%L1 tasks").arg(pending);
    printFigure(QStringLiteral("resident memory of this process, loaded"), size, before, QStringLiteral("MiB"));
    printFigure(QStringLiteral("  after %L1 tick/untick cycles").arg(cycles), size, residentMiB(self),
                QStringLiteral("MiB"), QStringLiteral("flat (+%1 MiB)").arg(residentMiB(self) - before, 0, 'f', 1));
}

void WindowFigures::login()
{
    m_window.reset();
    const QString path = m_office.make(50, 0);
    const QString user = QStringLiteral("bench");
    const QString password = QStringLiteral("uma palavra-passe");
    data::embedded::setLoginHashCost(data::embedded::HashCost::Interactive);
    data::embedded::addLogin(path, user, password);
    const QString text = m_office.connectionText(path, user, password);
    const double ms = medianMs(3, [&] {
        data::Connection connection;
        connection.open(text);
        connection.close();
    });
    printFigure(QStringLiteral("login verification (open, Argon2id)"), QStringLiteral("1 login"), ms,
                QStringLiteral("ms"));
}

} // namespace bench
