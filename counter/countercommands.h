#pragma once

#include <QObject>
#include <QSet>

#include <functional>

class QMenu;
class QPoint;
class QWidget;

namespace counter {

class CounterMenus;

// The commands of the two menus and the task list's context menu. A menu entry whose command has not
// arrived yet (task commands, new work, the record editors) stays visible with its caption but is
// disabled, so a click never silently does nothing; the commands that exist are given at creation.
class CounterCommands : public QObject
{
    Q_OBJECT

public:
    // Shows a pop-up menu at a global position; the default runs it until it closes.
    using PopupMenu = std::function<void(QMenu& menu, const QPoint& globalPosition)>;

    // The commands the window always has: "Abrir contador", "Refazer Login", "Sair".
    static QSet<QString> windowCommands();

    CounterCommands(QWidget& window, CounterMenus& menus, QSet<QString> ready = windowCommands());

    bool ready(const QString& name) const { return m_ready.contains(name); }

    // A press on a row: the hide command reads "Esconder" for a visible task (hidden cell "0") and
    // "Tornar visível" for a hidden one, and the release that follows counts as on a row.
    void itemClicked(const QString& hiddenCell);
    // A release over the list: the right button offers the task commands (those that exist) only
    // when the press was on a row, then pops up mnList at globalPosition.
    void mouseUp(Qt::MouseButton button, const QPoint& globalPosition);
    // Seam: how menus pop up (tests install one that only records).
    void setPopupMenu(PopupMenu popup) { m_popupMenu = std::move(popup); }

private:
    QWidget& m_window;
    CounterMenus& m_menus;
    QSet<QString> m_ready;
    bool m_itemClicked = false;
    PopupMenu m_popupMenu;
};

} // namespace counter
