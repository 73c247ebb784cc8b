#pragma once

#include "counter/imagelist.h"
#include "session/modcode.h"

#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QSystemTrayIcon;
class QTabBar;
class QTimer;

namespace counter {

class CounterMenus;
class ListView;

// The counter window: the pending-task list with its running counters, the statistics tabs, the
// lawyer selector, and the icon in the notification area with its menu. It is loaded once after the
// login and lives in the tray: closing it only hides it, and the program ends through "Sair" while
// it is hidden. Every handler traps its own errors and reports them; nothing reaches the caller.
//
// Controls are found by their object names (Frame2, Label1, Label2, Image1, Image2, TabStrip1,
// ListView1, ListView2, ListView3, Frame1, FXEscondidas, FXMultitarefa, Frame4, Label6,
// FXAdvogado_ID, Frame3, Label4, FXData_Inicio, Label3, FXData_Fim, Label5, FXTotal, Timer1) and the
// menus by theirs (mnMenu, mnList and their commands).
class frmCounter : public QWidget, public session::CounterWindowInterface
{
    Q_OBJECT

public:
    // Shows a pop-up menu at a global position; the default runs it until it closes.
    using PopupMenu = std::function<void(QMenu& menu, const QPoint& globalPosition)>;

    explicit frmCounter(QWidget* parent = nullptr);
    ~frmCounter() override;

    // The window's load: placement, date pickers, task list, tray icon, lawyer selector and its lock,
    // and the window stored in CounterWindow. Errors are reported ("Startup") and end the load.
    void Form_Load();

    // CounterWindowInterface: show the window; unload it (see Form_Unload).
    void showWindow() override;
    void unloadWindow() override;

    // Unload: a visible window only hides. A hidden one asks first when tasks are being counted and,
    // on Yes (or without the question), removes the tray icon and ends the program (core::endProgram).
    void Form_Unload();

    // For the record editors: the tray icon becomes image Image_Index of ImageList1 and its tip
    // strMsg ("Orvel" when empty). An image that does not exist is reported and changes nothing.
    void SetTrayIcon(int& Image_Index, const QString& strMsg = QString());
    // For the record editors, after they saved something: 4003 refills the task list selecting
    // task ID, 4004 refreshes the time-entry list selecting entry ID, anything else refills the
    // task list. Errors are reported.
    void RemoteKey(int ID = 0, int Flag = 0);

    // Rebuilds the pending-task list of AdvogadoID from the database and selects task T (0: the
    // running task, if any). Errors are reported ("Startup") and leave the rows added so far.
    void Fill_Tarefas(int& T);

    // One tick of the live counter: rewrites the "Contador" cell of every row while the window is
    // visible. Errors are reported ("Timer1_Timer") and end the tick.
    void Timer1_Timer();

    // Seam: how menus pop up (tests install one that only records).
    void setPopupMenu(PopupMenu popup);
    // True while the icon is in the notification area (added at load, removed at the exit).
    bool hasTrayIcon() const { return m_trayIconAdded; }
    // The icon and tip the tray icon shows.
    QIcon trayIcon() const;
    QString trayTip() const;

public Q_SLOTS:
    // "Abrir contador": refills the task list and shows the window. Also the way back for a
    // second start of the program.
    void mnContador_Click();
    // "Refazer Login": forgets the remembered login and runs the login again.
    void mnLogin_Click();
    // "Sair": the window's unload.
    void mnSair_Click();

    // Connected to their menu entries; they do nothing until the task commands, new work and the
    // record editors arrive.
    void mnNovaTarefa_Click();
    void mnListAbrir_Click();
    void mnListLancamento_Click();
    void mnEsconder_Click();
    void mnListAbrirProcesso_Click();
    void mnListAbrirTrabalho_Click();
    void mnListAbrirArquivoDocumental_Click();
    void mnListTerminar_Click();
    void mnListTrabalho_Click();
    void mnLancamentoNovo_Click();
    void mnListRemover_Click();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the controls.
    void buildControls();
    QFrame* buildBanner();
    QFrame* buildSelector();
    QFrame* buildDates();
    void buildLists();
    void connectMenus();
    void placeWindow();

    // Events.
    void Form_Activate();
    void FXEscondidas_Click();
    void FXAdvogado_ID_Click();
    void TabStrip1_Click();
    void Fill_Lancamentos(int& L);

    // Tray icon.
    void addTrayIcon();
    void RemoveTrayIcon();

    // Task list events and counting.
    void ListView1_ItemCheck(int row);
    void ListView1_ItemClick(int row);
    void ListView1_MouseUp(Qt::MouseButton button, const QPoint& position);
    void ListView1_DblClick();
    void startCounting(int row);
    void stopCounting(int row);
    void stopOtherTasks(const QString& key);
    bool lookUpForStart(const QString& K, qint64& W, qint64& P, qint64& C, qint64& B, qint64& Q);
    void markRunning(const QString& key, qint64 entry);
    void untick(const QString& key);

    QFrame* m_Frame2 = nullptr;
    QTabBar* m_TabStrip1 = nullptr;
    ListView* m_ListView1 = nullptr;
    ListView* m_ListView2 = nullptr;
    ListView* m_ListView3 = nullptr;
    QFrame* m_Frame1 = nullptr;
    QCheckBox* m_FXEscondidas = nullptr;
    QCheckBox* m_FXMultitarefa = nullptr;
    QFrame* m_Frame4 = nullptr;
    QComboBox* m_FXAdvogado_ID = nullptr;
    QFrame* m_Frame3 = nullptr;
    QDateTimeEdit* m_FXData_Inicio = nullptr;
    QDateTimeEdit* m_FXData_Fim = nullptr;
    QLineEdit* m_FXTotal = nullptr;
    QTimer* m_Timer1 = nullptr;
    ImageList m_ImageList1;
    std::unique_ptr<CounterMenus> m_menus;
    QSystemTrayIcon* m_tray = nullptr;
    bool m_trayIconAdded = false;
    bool m_itemClicked = false;
    PopupMenu m_popupMenu;
};

} // namespace counter
