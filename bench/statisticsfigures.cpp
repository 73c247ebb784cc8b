#include "bench/statisticsfigures.h"

#include "bench/benchoffice.h"
#include "bench/figures.h"
#include "core/errorvalue.h"
#include "counter/frmcounter.h"
#include "counter/listview/listview.h"
#include "counter/statistics/statisticsfill.h"
#include "counter/statistics/statisticspanel.h"
#include "data/connection.h"
#include "session/modcode.h"
#include "tools/demooffice.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QTabBar>

#include <ctime>
#include <functional>
#include <memory>

namespace bench {
namespace {

constexpr int Runs = 9;

// The median CPU time of this process over runs of body, in milliseconds: on a machine shared with other
// work the wall-clock figure grows with the load, this one does not.
double medianCpuMs(int runs, const std::function<void()>& body)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        timespec before{};
        timespec after{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &before);
        body();
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &after);
        times << double(after.tv_sec - before.tv_sec) * 1e3 + double(after.tv_nsec - before.tv_nsec) / 1e6;
    }
    return median(times);
}

int rowsRead(const QString& sql)
{
    auto records = data::Data::SqlServer().openRecordset(sql);
    int rows = 0;
    for (; !records->eof(); records->moveNext()) {
        ++rows;
    }
    records->close();
    return rows;
}

} // namespace

StatisticsFigures::StatisticsFigures(BenchOffice& office)
    : m_office(office)
{}

void StatisticsFigures::run()
{
    constexpr int Size = tools::DemoOffice::MaxSize;
    data::Connection& shared = data::Data::SqlServer();
    if (shared.isOpen()) {
        shared.close();
    }
    shared.open(m_office.connectionText(m_office.make(Size, 0)));
    session::modCode::Connected = true;
    session::modCode::UserName = BenchOffice::lawyerLogin();
    session::modCode::AdvogadoID = BenchOffice::lawyerId();
    const QString office = QStringLiteral("%L1 entries")
                               .arg(data::Data::SqlServer()
                                        .openRecordset(QStringLiteral(
                                            "SELECT COUNT(*) AS n FROM tbProcessos_Trabalhos_Tarefas_Lancamentos"))
                                        ->value(QStringLiteral("n"))
                                        .toLongLong());

    auto window = std::make_unique<counter::frmCounter>();
    window->Form_Load();
    window->show();
    const QDate first = QDate(QDate::currentDate().year(), QDate::currentDate().month(), 1).addMonths(-1);
    const QDate last = first.addMonths(1).addDays(-1);
    window->findChild<QDateTimeEdit*>(QStringLiteral("FXData_Inicio"))->setDate(first);
    window->findChild<QDateTimeEdit*>(QStringLiteral("FXData_Fim"))->setDate(last);
    auto& panel = *window->findChild<counter::StatisticsPanel*>();
    auto* tabs = window->findChild<QTabBar*>(QStringLiteral("TabStrip1"));
    const counter::statisticsFill::Bounds bounds =
        counter::statisticsFill::bounds(first.startOfDay(), last.startOfDay());

    struct Fill {
        QString name;
        int tab;
        const char* list;
        QString statement;
        std::function<void()> fill;
    };
    const Fill fills[] = {
        {QStringLiteral("Fill_Lancamentos"), 1, "ListView2",
         counter::statisticsFill::entriesStatement(BenchOffice::lawyerId(), bounds), [&] { panel.fillEntries(0); }},
        {QStringLiteral("Fill_Lancamentos_Totais"), 2, "ListView3",
         counter::statisticsFill::totalsStatement(BenchOffice::lawyerId(), bounds), [&] { panel.fillTotals(); }},
    };
    for (const Fill& fill : fills) {
        tabs->setCurrentIndex(fill.tab);
        QApplication::processEvents();
        const int rows = window->findChild<counter::ListView*>(QLatin1String(fill.list))->rowCount();
        if (rows == 0 || rowsRead(fill.statement) != rows) {
            throw core::Error(core::errc::InvalidProcedureCall, fill.name + QStringLiteral(" listed nothing"));
        }
        const QString size = QStringLiteral("%L1 rows of %2").arg(rows).arg(office);
        const auto statement = [&] { rowsRead(fill.statement); };
        const auto withList = [&] {
            fill.fill();
            QApplication::processEvents();
        };
        const auto cpu = [](double ms) { return QStringLiteral(" (cpu %1 ms)").arg(ms, 0, 'f', 1); };
        printFigure(fill.name + QStringLiteral(": statement"), size, medianMs(Runs, statement), QStringLiteral("ms"),
                    QStringLiteral("<= 50 ms") + cpu(medianCpuMs(Runs, statement)));
        printFigure(fill.name + QStringLiteral(": with list"), size, medianMs(Runs, withList), QStringLiteral("ms"),
                    QStringLiteral("<= 100 ms") + cpu(medianCpuMs(Runs, withList)));
    }
    window.reset();
    shared.close();
}

} // namespace bench
