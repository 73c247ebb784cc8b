#pragma once

#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace counter {

// The counter window's two pop-up menus, built in code with every command under its own object name:
//   mnMenu (tray): mnContador, mnNovaTarefa, mnPreferencias, mnLembrete (ticked while the silent-day reminder
//   is on), mnLogin, mnSair;
//   mnList (task list): mnListAbrir, mnListLancamento, mnEsconder, the submenu mnListAbrirRelated with
//   mnListAbrirProcesso, mnListAbrirTrabalho and mnListAbrirArquivoDocumental, mnListTerminar,
//   mnListTrabalho, mnLancamentoNovo, mnListRemover.
// The menus belong to the owner widget and live as long as it does.
class CounterMenus
{
public:
    explicit CounterMenus(QWidget* owner);

    QMenu* mnMenu() const { return m_mnMenu; }
    QMenu* mnList() const { return m_mnList; }
    QMenu* mnListAbrirRelated() const { return m_mnListAbrirRelated; }
    // The command with that object name. Throws core::Error 5 when neither menu has it.
    QAction* command(const QString& name) const;

private:
    QMenu* m_mnMenu;
    QMenu* m_mnList;
    QMenu* m_mnListAbrirRelated;
};

} // namespace counter
