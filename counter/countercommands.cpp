#include "counter/countercommands.h"

#include "counter/countermenus.h"
#include "counter/counterreports.h"

#include <QMenu>
#include <QWidget>

namespace counter {
namespace {

// The commands that act on the task the right click was on.
const char* const TaskCommands[] = {"mnListAbrir", "mnListLancamento", "mnEsconder", "mnListRemover", "mnListTerminar"};

} // namespace

QSet<QString> CounterCommands::windowCommands()
{
    return {QStringLiteral("mnContador"), QStringLiteral("mnLogin"), QStringLiteral("mnSair")};
}

QSet<QString> CounterCommands::allCommands(const CounterMenus& menus)
{
    QSet<QString> names;
    for (QMenu* menu : {menus.mnMenu(), menus.mnList()}) {
        for (QAction* action : menu->findChildren<QAction*>()) {
            if (!action->objectName().isEmpty()) {
                names << action->objectName();
            }
        }
    }
    return names;
}

CounterCommands::CounterCommands(QWidget& window, CounterMenus& menus, QSet<QString> ready)
    : QObject(&window)
    , m_window(window)
    , m_menus(menus)
    , m_ready(std::move(ready))
    , m_popupMenu([](QMenu& menu, const QPoint& globalPosition) { menu.exec(globalPosition); })
{
    for (QMenu* menu : {menus.mnMenu(), menus.mnList()}) {
        for (QAction* action : menu->findChildren<QAction*>()) {
            if (!action->objectName().isEmpty()) {
                action->setEnabled(this->ready(action->objectName()));
            }
        }
    }
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
                m_menus.command(QLatin1String(name))->setEnabled(m_itemClicked && ready(QLatin1String(name)));
            }
            bool related = false;
            for (QAction* action : m_menus.mnListAbrirRelated()->actions()) {
                related = related || ready(action->objectName());
            }
            m_menus.mnListAbrirRelated()->menuAction()->setEnabled(m_itemClicked && related);
            m_popupMenu(*m_menus.mnList(), globalPosition);
        }
        m_itemClicked = false;
    });
}

} // namespace counter
