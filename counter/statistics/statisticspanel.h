#pragma once

#include <QDate>
#include <QIcon>
#include <QObject>

class QMenu;
class QTimer;
class QWidget;
#include <utility>

namespace counter {

class CounterCommands;
struct CounterControls;
class ListView;
class PendingTasks;

// The tabs "As minhas Estatisticas" and "Totais por Dossier" with their lists ListView2 and ListView3,
// the dates and total of Frame3, and the lawyer selector FXAdvogado_ID that chooses whose records every
// tab shows. The date pickers (DatePicker) refill the statistics tab shown once their dates have stood
// still for a moment after a change (the timer DatesSettle), so that arrow steps and digits typed into a
// part of a date cost one fill, not one each.
// A header click sorts a list by that column's shown text; each list's context menu exports it as CSV.
class StatisticsPanel : public QObject
{
    Q_OBJECT

public:
    // tasks is the pending-task list this panel refills; pop-up menus show through commands.
    StatisticsPanel(QWidget& window, CounterControls& controls, CounterCommands& commands, const QIcon& rowIcon,
                    PendingTasks& tasks);

    // Whether the user may choose another lawyer (security policy "#3101"); the selector is enabled only then.
    void allowLawyerChoice(bool allowed);
    bool lawyerChoiceAllowed() const { return m_lawyerChoiceAllowed; }

    // TabStrip1_Click: shows the controls of tab (0 = "Tarefas Pendentes") and refills a statistics tab.
    // Errors are reported ("TabStrip1_Click").
    void tabChanged(int tab);
    // FXAdvogado_ID_Click: the chosen entry's lawyer becomes AdvogadoID, the pending list is refilled for it
    // (whatever tab is shown) and so is a statistics tab shown. For an entry without a lawyer (also one just
    // added while the selector is filled), while the choice is locked, or while a task of the list is
    // counting (then with a message), the selector goes back to AdvogadoID and nothing changes. Errors are
    // reported ("ListView1_DblClick").
    void lawyerChanged();
    // Names on the "Tarefas Pendentes" tab the lawyer whose pending list is shown (AdvogadoID), as the
    // selector names it; the bare caption while the selector has no entry for that lawyer.
    void showWhoseTasks();
    // Fill_Lancamentos and Fill_Lancamentos_Totais (statisticsfill.h).
    void fillEntries(int L);
    void fillTotals();
    // After a login as someone else: empties both lists and the total, then refills the statistics tab
    // shown, if one is.
    void clearLists();
    // The context menus' command: asks for a file and saves the list as CSV. A file that cannot be
    // written is reported and told to the user.
    void exportEntries();
    void exportTotals();

private:
    void datesChanged();
    void datesSettled();
    // The two pickers' dates.
    std::pair<QDate, QDate> pickedDates() const;
    void refillCurrentTab();
    void listMouseUp(Qt::MouseButton button, const QPoint& position, ListView& list, QMenu& menu);
    void exportList(const QString& what, const QStringList& headers, ListView& list, const QString& rawHeader,
                    int rawCell);
    QMenu* exportMenu(const char* menuName, const char* actionName, void (StatisticsPanel::*command)());

    QWidget& m_window;
    CounterControls& m_controls;
    CounterCommands& m_commands;
    QIcon m_rowIcon;
    PendingTasks& m_tasks;
    bool m_lawyerChoiceAllowed = false;
    QTimer* m_datesSettle;
    // The dates of the last fill of either tab: a picker that settles back on them (Enter on an unchanged date,
    // a date typed that does not exist, a change undone) refills nothing.
    std::pair<QDate, QDate> m_filledDates;
};

} // namespace counter
