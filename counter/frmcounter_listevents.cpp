// The task list's mouse events: the click that prepares the hide or show command, the release that
// opens the context menu, and the double click that opens the task.
#include "counter/countermenus.h"
#include "counter/counterreports.h"
#include "counter/frmcounter.h"
#include "counter/listview.h"
#include "counter/taskrow.h"

#include <QMenu>

namespace counter {

void frmCounter::ListView1_ItemClick(int row)
{
    core::trap(reports::window(objectName(), QStringLiteral("ListView1_ItemClick")), [&] {
        m_itemClicked = true;
        const bool visibleTask = m_ListView1->cellText(row, taskRow::Hidden) == taskRow::visibleMarker();
        m_menus->command(QStringLiteral("mnEsconder"))
            ->setText(visibleTask ? QStringLiteral("Esconder") : QStringLiteral("Tornar visível"));
    });
}

void frmCounter::ListView1_MouseUp(Qt::MouseButton button, const QPoint& position)
{
    core::trap(reports::window(objectName(), QStringLiteral("ListView1_MouseUp")), [&] {
        if (button == Qt::RightButton) {
            // The commands that act on a task are offered only when the click was on one.
            for (const char* name : {"mnListAbrir", "mnListLancamento", "mnListRemover", "mnListTerminar"}) {
                m_menus->command(QLatin1String(name))->setEnabled(m_itemClicked);
            }
            m_menus->mnListAbrirRelated()->menuAction()->setEnabled(m_itemClicked);
            m_popupMenu(*m_menus->mnList(), m_ListView1->viewport()->mapToGlobal(position));
        }
        m_itemClicked = false;
    });
}

void frmCounter::ListView1_DblClick()
{
    core::trap(reports::window(objectName(), QStringLiteral("ListView1_DblClick")), [&] {
        if (m_ListView1->rowCount() > 0) {
            mnListAbrir_Click();
        }
    });
}

} // namespace counter
