#include "counter/statisticspanel.h"

#include "counter/countercontrols.h"
#include "counter/listview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>

namespace counter {

StatisticsPanel::StatisticsPanel(QObject& window, CounterControls& controls)
    : QObject(&window)
    , m_controls(controls)
{
    for (int tab = 1; tab < controls.TabStrip1->count(); ++tab) {
        controls.TabStrip1->setTabEnabled(tab, Ready);
    }
    allowLawyerChoice(false);
}

void StatisticsPanel::clearLists()
{
    m_controls.ListView2->clearRows();
    m_controls.ListView3->clearRows();
    m_controls.FXTotal->clear();
}

void StatisticsPanel::allowLawyerChoice(bool allowed)
{
    m_lawyerChoiceAllowed = allowed;
    m_controls.FXAdvogado_ID->setEnabled(allowed && Ready);
}

} // namespace counter
