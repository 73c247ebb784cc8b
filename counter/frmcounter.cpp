// The counter window's construction and wiring, and the names the system knows it by, each handing
// its work to a part.
#include "counter/frmcounter.h"

#include "counter/frmcounter_parts.h"
#include "counter/listview/listview.h"
#include "counter/taskrow.h"
#include "counter/watch/preferencesdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace counter {

frmCounter::Parts::Parts(frmCounter& window)
    : c(&window)
    , menus(&window)
    , tray(new TrayIcon(window, menus.mnMenu()))
    , tasks(new PendingTasks(window, *c.ListView1, *c.FXEscondidas))
    , live(new LiveCounter(window, *c.ListView1))
    , counting(new TaskCounting(window, *c.ListView1, *c.FXMultitarefa, *live, *tasks))
    , recovery(new LinkRecovery(window, *c.LinkStatus, *tray,
                                [this] {
                                    counting->makeDeferredStops();
                                    tasks->rebuild(0);
                                    placement->wantedWidthChanged();
                                }))
    , commands(new CounterCommands(window, menus))
    , taskCommands(new TaskCommands(window, *c.ListView1, *tasks))
    , newWork(new NewWork(window, editors, *tasks))
    , opening(new RecordOpening(window, window, *c.ListView1, *c.ListView2, editors))
    , statistics(new StatisticsPanel(window, c, *commands, tray->images().image(1), *tasks))
    , absence(new AbsenceCheck(window, *c.ListView1, *counting, *tasks))
    , trayCount(new TrayCount(window, *c.ListView1, *tray, *c.CountWarning,
                              *menus.command(QStringLiteral("mnLembrete")), *absence->timer()))
    , placement(new WindowPlacement(window, [this] { return wantedWidth(); }))
{
    // Whoever refilled the list, the window's width and the tab's caption follow it.
    QObject::connect(tasks, &PendingTasks::filled, placement, &WindowPlacement::wantedWidthChanged);
    QObject::connect(tasks, &PendingTasks::filled, statistics, &StatisticsPanel::showWhoseTasks);
}

int frmCounter::Parts::wantedWidth() const
{
    // Every column of the task list whole, beside the list's frame, scroll bar and the window's margins.
    constexpr int Margins = 60;
    constexpr int Narrowest = 860;
    return std::max(Narrowest, c.ListView1->columnsWidth() + Margins);
}

frmCounter::frmCounter(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCounter"));
    setWindowTitle(QStringLiteral("Contador de Tarefas"));
    // The window lives in the tray: neither hiding it nor closing a message box ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    m = std::make_unique<Parts>(*this);
    setWindowIcon(m->tray->images().image(1));

    const QList<std::pair<const char*, void (frmCounter::*)()>> commands{
        {"mnContador", &frmCounter::mnContador_Click},
        {"mnNovaTarefa", &frmCounter::mnNovaTarefa_Click},
        {"mnLogin", &frmCounter::mnLogin_Click},
        {"mnSair", &frmCounter::mnSair_Click},
        {"mnPreferencias", &frmCounter::mnPreferencias_Click},
        {"mnListAbrir", &frmCounter::mnListAbrir_Click},
        {"mnListLancamento", &frmCounter::mnListLancamento_Click},
        {"mnEsconder", &frmCounter::mnEsconder_Click},
        {"mnListAbrirProcesso", &frmCounter::mnListAbrirProcesso_Click},
        {"mnListAbrirTrabalho", &frmCounter::mnListAbrirTrabalho_Click},
        {"mnListAbrirArquivoDocumental", &frmCounter::mnListAbrirArquivoDocumental_Click},
        {"mnListTerminar", &frmCounter::mnListTerminar_Click},
        {"mnListTrabalho", &frmCounter::mnListTrabalho_Click},
        {"mnLancamentoNovo", &frmCounter::mnLancamentoNovo_Click},
        {"mnListRemover", &frmCounter::mnListRemover_Click},
    };
    for (const auto& [name, slot] : commands) {
        connect(m->menus.command(QLatin1String(name)), &QAction::triggered, this, slot);
    }
    ListView* list = m->c.ListView1;
    connect(list, &ListView::ItemCheck, this, &frmCounter::ListView1_ItemCheck);
    connect(list, &ListView::ItemClick, this, &frmCounter::ListView1_ItemClick);
    connect(list, &ListView::MouseUp, this, &frmCounter::ListView1_MouseUp);
    connect(list, &ListView::DblClick, this, &frmCounter::ListView1_DblClick);
    connect(list, &ListView::MenuKey, this, &frmCounter::ListView1_MenuKey);
    connect(m->c.ListView2, &ListView::DblClick, this, &frmCounter::ListView2_DblClick);
    connect(m->c.FXEscondidas, &QCheckBox::toggled, this, &frmCounter::FXEscondidas_Click);
    connect(m->c.FXAdvogado_ID, &QComboBox::currentIndexChanged, this, &frmCounter::FXAdvogado_ID_Click);
    connect(m->c.TabStrip1, &QTabBar::currentChanged, this, &frmCounter::TabStrip1_Click);
    connect(m->live->timer(), &QTimer::timeout, this, &frmCounter::Timer1_Timer);
    m->c.MenuButton->setMenu(m->menus.mnMenu());
    connect(m->tray, &TrayIcon::inTrayChanged, m->c.MenuButton, &QWidget::setHidden);

    constexpr int Height = 460;
    resize(m->wantedWidth(), Height);
    // The window's name for assistive tools, also while it is minimised and its title is not read out.
    setAccessibleName(windowTitle());
}

frmCounter::~frmCounter()
{
    if (session::modCode::CounterWindow == this) {
        session::modCode::CounterWindow = nullptr;
    }
}

void frmCounter::Fill_Tarefas(int& T)
{
    m->tasks->fill(T);
}

void frmCounter::FXEscondidas_Click()
{
    m->tasks->fill(0);
}

void frmCounter::Timer1_Timer()
{
    m->live->tick();
}

void frmCounter::SetTrayIcon(int& Image_Index, const QString& strMsg)
{
    m->tray->set(Image_Index, strMsg);
}

void frmCounter::RemoveTrayIcon()
{
    m->tray->remove();
}

void frmCounter::ListView1_ItemCheck(int row)
{
    m->counting->tickChanged(row);
}

void frmCounter::ListView1_ItemClick(int row)
{
    m->commands->itemClicked(m->c.ListView1->cellText(row, taskRow::Hidden));
}

void frmCounter::ListView1_MouseUp(Qt::MouseButton button, const QPoint& position)
{
    m->commands->mouseUp(button, m->c.ListView1->viewport()->mapToGlobal(position));
}

void frmCounter::ListView1_MenuKey(int row, const QPoint& position)
{
    if (row >= 0) {
        ListView1_ItemClick(row);
    }
    ListView1_MouseUp(Qt::RightButton, position);
}

void frmCounter::ListView1_DblClick()
{
    if (m->c.ListView1->rowCount() > 0) {
        mnListAbrir_Click();
    }
}

void frmCounter::FXAdvogado_ID_Click()
{
    m->statistics->lawyerChanged();
}

void frmCounter::TabStrip1_Click()
{
    m->statistics->tabChanged(m->c.TabStrip1->currentIndex());
}

void frmCounter::Fill_Lancamentos(int& L)
{
    m->statistics->fillEntries(L);
}

void frmCounter::Fill_Lancamentos_Totais()
{
    m->statistics->fillTotals();
}

void frmCounter::ListView2_DblClick()
{
    m->opening->openEntry();
}

void frmCounter::mnPreferencias_Click()
{
    if (const auto chosen = frmPreferencias::edit(this)) {
        m->absence->setThreshold(qint64(chosen->absenceMinutes) * 60 * 1000);
        m->trayCount->setPreferences(*chosen);
        m->trayCount->update();
    }
}

void frmCounter::mnNovaTarefa_Click()
{
    m->newWork->assign();
}

void frmCounter::mnListTrabalho_Click()
{
    mnNovaTarefa_Click();
}

void frmCounter::mnEsconder_Click()
{
    m->taskCommands->hideOrShow();
}

void frmCounter::mnListTerminar_Click()
{
    m->taskCommands->finish();
}

void frmCounter::mnListRemover_Click()
{
    m->taskCommands->giveBack();
}

void frmCounter::mnListAbrir_Click()
{
    m->opening->openTask();
}

void frmCounter::mnListLancamento_Click()
{
    m->opening->newEntry();
}

void frmCounter::mnListAbrirProcesso_Click()
{
    m->opening->openCase();
}

void frmCounter::mnListAbrirTrabalho_Click()
{
    m->opening->openWork();
}

void frmCounter::mnListAbrirArquivoDocumental_Click()
{
    m->opening->openDocumentArchive();
}

void frmCounter::mnLancamentoNovo_Click()
{
    m->opening->newEntryWizard();
}

} // namespace counter
