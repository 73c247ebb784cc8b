#pragma once

#include <QObject>

namespace counter {

struct CounterControls;

// The tabs "As minhas Estatisticas" and "Totais por Dossier" with their lists ListView2 and ListView3,
// the dates and total of Frame3, and the lawyer selector FXAdvogado_ID that chooses whose records they
// show. Their work has not arrived yet: the two tabs and the selector stay visible, disabled.
class StatisticsPanel : public QObject
{
    Q_OBJECT

public:
    StatisticsPanel(QObject& window, CounterControls& controls);

    // Whether the tabs and the selector do anything yet.
    static constexpr bool Ready = false;

    // Whether the user may choose another lawyer (security policy "#3101"). The selector is enabled
    // when this holds and the panel is ready.
    void allowLawyerChoice(bool allowed);
    bool lawyerChoiceAllowed() const { return m_lawyerChoiceAllowed; }

    // The selected tab changed; the selector chose another lawyer; the editors saved time entry L.
    void tabChanged(int /*tab*/) {}
    void lawyerChanged() {}
    void fillEntries(int& /*L*/) {}
    // Empties both lists and the total until they are asked for again.
    void clearLists();

private:
    CounterControls& m_controls;
    bool m_lawyerChoiceAllowed = false;
};

} // namespace counter
