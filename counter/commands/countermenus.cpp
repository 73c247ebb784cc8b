#include "counter/commands/countermenus.h"

#include "core/errorvalue.h"

#include <QMenu>
#include <QWidget>

namespace counter {
namespace {

void addCommand(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
}

} // namespace

// Every command has its mnemonic (the letter after "&"), unique within its menu, so that the keyboard
// reaches each one: the menu key opens the list's menu, a letter runs its command.
CounterMenus::CounterMenus(QWidget* owner)
    : m_mnMenu(new QMenu(owner))
    , m_mnList(new QMenu(owner))
    , m_mnListAbrirRelated(new QMenu(QStringLiteral("Abri&r"), m_mnList))
{
    m_mnMenu->setObjectName(QStringLiteral("mnMenu"));
    addCommand(m_mnMenu, "mnContador", QStringLiteral("&Abrir contador"));
    m_mnMenu->addSeparator();
    addCommand(m_mnMenu, "mnNovaTarefa", QStringLiteral("Atribuir novo &Trabalho"));
    m_mnMenu->addSeparator();
    addCommand(m_mnMenu, "mnPreferencias", QStringLiteral("&Preferências"));
    addCommand(m_mnMenu, "mnLembrete", QStringLiteral("&Lembrar quando nada conta"));
    m_mnMenu->findChild<QAction*>(QStringLiteral("mnLembrete"))->setCheckable(true);
    m_mnMenu->addSeparator();
    addCommand(m_mnMenu, "mnLogin", QStringLiteral("&Refazer Login"));
    m_mnMenu->addSeparator();
    addCommand(m_mnMenu, "mnSair", QStringLiteral("&Sair"));

    m_mnList->setObjectName(QStringLiteral("mnList"));
    addCommand(m_mnList, "mnListAbrir", QStringLiteral("&Abrir Tarefa"));
    addCommand(m_mnList, "mnListLancamento", QStringLiteral("Registar &Lançamento/Despesa"));
    addCommand(m_mnList, "mnEsconder", QStringLiteral("&Esconder"));
    m_mnList->addSeparator();
    m_mnListAbrirRelated->setObjectName(QStringLiteral("mnListAbrirRelated"));
    addCommand(m_mnListAbrirRelated, "mnListAbrirProcesso", QStringLiteral("&Dossier"));
    addCommand(m_mnListAbrirRelated, "mnListAbrirTrabalho", QStringLiteral("&Trabalho"));
    addCommand(m_mnListAbrirRelated, "mnListAbrirArquivoDocumental", QStringLiteral("&Arquivo Documental"));
    m_mnList->addMenu(m_mnListAbrirRelated);
    m_mnList->addSeparator();
    addCommand(m_mnList, "mnListTerminar", QStringLiteral("Term&inar Tarefa"));
    m_mnList->addSeparator();
    addCommand(m_mnList, "mnListTrabalho", QStringLiteral("Atribuir novo &Trabalho"));
    addCommand(m_mnList, "mnLancamentoNovo", QStringLiteral("Assistente de &Novo Lançamento"));
    m_mnList->addSeparator();
    addCommand(m_mnList, "mnListRemover", QStringLiteral("Re&mover das minhas tarefas"));
}

QAction* CounterMenus::command(const QString& name) const
{
    for (QMenu* menu : {m_mnMenu, m_mnList}) {
        if (auto* action = menu->findChild<QAction*>(name)) {
            return action;
        }
    }
    throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("No menu command ") + name);
}

} // namespace counter
