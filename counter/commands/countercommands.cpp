#include "counter/commands/countercommands.h"

#include "counter/commands/countermenus.h"
#include "counter/counterreports.h"

#include <QMenu>
#include <QWidget>

namespace counter {
namespace {

// The commands that act on the task the right click was on.
const char* const TaskCommands[] = {"mnListAbrir", "mnListLancamento", "mnEsconder", "mnListRemover", "mnListTerminar"};

} // namespace

CounterCommands::CounterCommands(QWidget& window, CounterMenus& menus)
    : QObject(&window)
    , m_window(window)
    , m_menus(menus)
    , m_popupMenu([](QMenu& menu, const QPoint& globalPosition) { menu.exec(globalPosition); })
{
    menus.mnListAbrirRelated()->menuAction()->setEnabled(false);
}

void CounterCommands::itemClicked(const QString& hiddenCell)
{
    core::trap(reports::window(m_window.objectName(), QStringLiteral("ListView1_ItemClick")), [&] {
        m_itemClicked = true;
        m_menus.command(QStringLiteral("mnEsconder"))
            ->setText(hiddenCell == QStringLiteral("0") ? QStringLiteral("&Esconder")
                                                        : QStringLiteral("Tornar &visível"));
    });
}

void CounterCommands::mouseUp(Qt::MouseButton button, const QPoint& globalPosition)
{
    core::trap(reports::window(m_window.objectName(), QStringLiteral("ListView1_MouseUp")), [&] {
        if (button == Qt::RightButton) {
            for (const char* name : TaskCommands) {
                m_menus.command(QLatin1String(name))->setEnabled(m_itemClicked);
            }
            m_menus.mnListAbrirRelated()->menuAction()->setEnabled(m_itemClicked);
            m_popupMenu(*m_menus.mnList(), globalPosition);
        }
        m_itemClicked = false;
    });
}

} // namespace counter
