#include "counter/statistics/statisticspanel.h"

#include "core/messagebox.h"
#include "counter/commands/countercommands.h"
#include "counter/countercontrols.h"
#include "counter/counterreports.h"
#include "counter/listview/listview.h"
#include "counter/pendingtasks.h"
#include "counter/statistics/csvexport.h"
#include "counter/statistics/statisticsfill.h"
#include "counter/widgetcontrol.h"
#include "data/displayformat.h"
#include "session/modcode.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>

#include <utility>

namespace counter {
namespace {

constexpr int TasksTab = 0;
constexpr int EntriesTab = 1;
constexpr int TotalsTab = 2;
// How long the dates stand still before the tab shown is refilled.
constexpr int SettleMilliseconds = 400;

} // namespace

StatisticsPanel::StatisticsPanel(QWidget& window, CounterControls& controls, CounterCommands& commands,
                                 const QIcon& rowIcon, PendingTasks& tasks)
    : QObject(&window)
    , m_window(window)
    , m_controls(controls)
    , m_commands(commands)
    , m_rowIcon(rowIcon)
    , m_tasks(tasks)
    , m_datesSettle(new QTimer(this))
{
    setObjectName(QStringLiteral("StatisticsPanel"));
    allowLawyerChoice(false);

    // A date changes at every arrow press or digit typed into a part of it: the tab is refilled once the
    // dates have stood still for a moment, not at every step.
    m_datesSettle->setObjectName(QStringLiteral("DatesSettle"));
    m_datesSettle->setSingleShot(true);
    m_datesSettle->setInterval(SettleMilliseconds);
    connect(m_datesSettle, &QTimer::timeout, this, &StatisticsPanel::datesSettled);
    for (QDateTimeEdit* picker : {controls.FXData_Inicio, controls.FXData_Fim}) {
        connect(picker, &QDateTimeEdit::dateChanged, this, &StatisticsPanel::datesChanged);
    }
    QMenu* entriesMenu = exportMenu("mnLancamentosLista", "mnExportarLancamentos", &StatisticsPanel::exportEntries);
    QMenu* totalsMenu = exportMenu("mnTotaisLista", "mnExportarTotais", &StatisticsPanel::exportTotals);
    const std::pair<ListView*, QMenu*> lists[] = {{controls.ListView2, entriesMenu}, {controls.ListView3, totalsMenu}};
    for (const auto& entry : lists) {
        ListView* list = entry.first;
        QMenu* menu = entry.second;
        connect(list, &ListView::ColumnClick, this, [list](int column) {
            // The first click sorts up; another click on the same header turns the order round.
            const bool again = list->sorted() && list->sortKey() == column;
            list->sortByColumn(column, again && list->sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                                        : Qt::AscendingOrder);
        });
        connect(list, &ListView::MouseUp, this, [this, list, menu](Qt::MouseButton button, const QPoint& position) {
            listMouseUp(button, position, *list, *menu);
        });
        connect(list, &ListView::MenuKey, this, [this, list, menu](int, const QPoint& position) {
            listMouseUp(Qt::RightButton, position, *list, *menu);
        });
    }
}

QMenu* StatisticsPanel::exportMenu(const char* menuName, const char* actionName, void (StatisticsPanel::*command)())
{
    auto* menu = new QMenu(&m_window);
    menu->setObjectName(QLatin1String(menuName));
    QAction* action = menu->addAction(QStringLiteral("&Exportar para CSV…"));
    action->setObjectName(QLatin1String(actionName));
    connect(action, &QAction::triggered, this, command);
    return menu;
}

void StatisticsPanel::allowLawyerChoice(bool allowed)
{
    m_lawyerChoiceAllowed = allowed;
    m_controls.FXAdvogado_ID->setEnabled(allowed);
}

void StatisticsPanel::tabChanged(int tab)
{
    core::trap(reports::lists(m_window.objectName(), QStringLiteral("TabStrip1_Click")), [&] {
        const CounterControls& c = m_controls;
        for (QWidget* tasksControl : {static_cast<QWidget*>(c.Frame1), static_cast<QWidget*>(c.FXMultitarefa),
                                      static_cast<QWidget*>(c.ListView1)}) {
            tasksControl->setVisible(tab == TasksTab);
        }
        c.ListView2->setVisible(tab == EntriesTab);
        c.ListView3->setVisible(tab == TotalsTab);
        c.Frame3->setVisible(tab == EntriesTab || tab == TotalsTab);
        if (tab == EntriesTab || tab == TotalsTab) {
            refillCurrentTab();
        }
    });
}

void StatisticsPanel::lawyerChanged()
{
    core::trap(reports::window(m_window.objectName(), QStringLiteral("ListView1_DblClick")), [&] {
        QComboBox& selector = *m_controls.FXAdvogado_ID;
        const int index = selector.currentIndex();
        // An entry just added has no lawyer yet: the selector is being filled.
        const qint32 lawyer = index < 0 ? 0 : selector.itemData(index, Qt::UserRole).toInt();
        if (lawyer == session::modCode::AdvogadoID) {
            return;
        }
        // A count running on the list shown would leave the screen with its lawyer's list.
        const bool counting = !m_controls.ListView1->checkedRows().isEmpty();
        if (lawyer == 0 || !m_lawyerChoiceAllowed || counting) {
            const QSignalBlocker quiet(selector);
            selector.setCurrentIndex(selector.findData(session::modCode::AdvogadoID, Qt::UserRole));
            if (lawyer != 0 && m_lawyerChoiceAllowed) {
                core::msgBox(QStringLiteral("Não pode mudar de advogado sem primeiro terminar o contador activo."),
                             core::Buttons::Ok, core::Icon::Information, m_window.windowTitle());
            }
            return;
        }
        session::modCode::AdvogadoID = lawyer;
        // The pending list always follows the selector, so that a tick books to the lawyer shown.
        m_tasks.fill(0);
        if (m_controls.TabStrip1->currentIndex() != TasksTab) {
            refillCurrentTab();
        }
    });
}

void StatisticsPanel::showWhoseTasks()
{
    const QComboBox& selector = *m_controls.FXAdvogado_ID;
    const int entry = selector.findData(session::modCode::AdvogadoID, Qt::UserRole);
    const QString caption = QStringLiteral("Tarefas Pendentes");
    m_controls.TabStrip1->setTabText(TasksTab,
                                     entry < 0 ? caption : caption + QStringLiteral(" — ") + selector.itemText(entry));
}

void StatisticsPanel::datesChanged()
{
    const int tab = m_controls.TabStrip1->currentIndex();
    if (pickedDates() == m_filledDates) {
        m_datesSettle->stop();
    } else if (tab == EntriesTab || tab == TotalsTab) {
        m_datesSettle->start();
    }
}

std::pair<QDate, QDate> StatisticsPanel::pickedDates() const
{
    return {m_controls.FXData_Inicio->date(), m_controls.FXData_Fim->date()};
}

void StatisticsPanel::datesSettled()
{
    const int tab = m_controls.TabStrip1->currentIndex();
    if (tab == EntriesTab || tab == TotalsTab) {
        refillCurrentTab();
    }
}

void StatisticsPanel::refillCurrentTab()
{
    m_datesSettle->stop();
    switch (m_controls.TabStrip1->currentIndex()) {
    case TasksTab:
        m_tasks.fill(0);
        break;
    case EntriesTab:
        fillEntries(0);
        break;
    case TotalsTab:
        fillTotals();
        break;
    default:
        break;
    }
}

void StatisticsPanel::fillEntries(int L)
{
    statisticsFill::entries(m_controls, m_rowIcon, m_window.objectName(), L);
    m_filledDates = pickedDates();
}

void StatisticsPanel::fillTotals()
{
    statisticsFill::totals(m_controls, m_rowIcon, m_window.objectName());
    m_filledDates = pickedDates();
}

void StatisticsPanel::clearLists()
{
    m_controls.ListView2->clearRows();
    m_controls.ListView3->clearRows();
    SetControlValue(m_controls.FXTotal, QVariant(), data::displayFormat::bindingCode::Number);
    if (m_controls.TabStrip1->currentIndex() != TasksTab) {
        refillCurrentTab();
    }
}

void StatisticsPanel::listMouseUp(Qt::MouseButton button, const QPoint& position, ListView& list, QMenu& menu)
{
    if (button != Qt::RightButton) {
        return;
    }
    for (QAction* action : menu.actions()) {
        action->setEnabled(list.rowCount() > 0);
    }
    m_commands.popup(menu, list.viewport()->mapToGlobal(position));
}

void StatisticsPanel::exportEntries()
{
    exportList(QStringLiteral("Lançamentos"), m_controls.ListView2Headers, *m_controls.ListView2,
               QStringLiteral("Minutos (número)"), statisticsFill::EntriesRawMinutes);
}

void StatisticsPanel::exportTotals()
{
    exportList(QStringLiteral("Totais por Dossier"), m_controls.ListView3Headers, *m_controls.ListView3,
               QStringLiteral("Total (minutos)"), statisticsFill::TotalsRawMinutes);
}

void StatisticsPanel::exportList(const QString& what, const QStringList& headers, ListView& list,
                                 const QString& rawHeader, int rawCell)
{
    const bool saved = core::trap(reports::lists(m_window.objectName(), QStringLiteral("ExportarCSV")), [&] {
        const QString name =
            csvExport::proposedFileName(what, m_controls.FXAdvogado_ID->currentText(), m_controls.FXData_Inicio->date(),
                                        m_controls.FXData_Fim->date());
        csvExport::save(&m_window, name, csvExport::text(headers, list, rawHeader, rawCell));
    });
    if (!saved) {
        core::msgBox(QStringLiteral("Não foi possível gravar o ficheiro CSV."), core::Buttons::Ok, core::Icon::Warning);
    }
}

} // namespace counter
