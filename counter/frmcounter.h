#pragma once

#include "external/recordeditors.h"
#include "session/modcode.h"

#include <QDateTime>
#include <QWidget>

#include <memory>

namespace counter {

// The counter window, loaded once after the login and living in the tray: closing it only hides it,
// and the program ends through "Sair" while it is hidden. It keeps the controls (countercontrols.h),
// the menus and the names the system knows, and hands the work to its parts, found as its children:
// PendingTasks, TaskCounting, LiveCounter, TrayIcon, CounterCommands, TaskCommands, NewWork,
// RecordOpening and StatisticsPanel. It is the owner the record editors are given, and keeps the
// editors of the uses that live on between commands.
// Every handler traps its own errors and reports them; nothing reaches the caller.
class frmCounter : public QWidget, public session::CounterWindowInterface, public external::EditorOwner
{
    Q_OBJECT

public:
    explicit frmCounter(QWidget* parent = nullptr);
    ~frmCounter() override;

    // Placement, dates, task list, tray icon, lawyer selector and its lock; then CounterWindow is this
    // window. Errors are reported ("Startup") and end the load.
    void Form_Load();
    void showWindow() override;
    void unloadWindow() override;
    // A visible window only hides. A hidden one asks first while tasks are counted and, on Yes (or
    // without the question), removes the tray icon and ends the program.
    void Form_Unload();

    // For the record editors: tray image Image_Index of ImageList1 with tip strMsg; after a save,
    // 4003 refills the task list selecting task ID, 4004 the time entries selecting entry ID, anything
    // else refills the task list.
    void SetTrayIcon(int& Image_Index, const QString& strMsg = QString()) override;
    void RemoteKey(int ID = 0, int Flag = 0) override;
    void Fill_Tarefas(int& T);
    void Timer1_Timer();

public Q_SLOTS:
    void mnContador_Click();
    void mnLogin_Click();
    void mnSair_Click();
    // The reminder settings of the lawyer ("Preferências"), applied at once.
    void mnPreferencias_Click();
    // The task commands, new work and opening records, each handed to its part.
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
    void Form_Activate();
    // Shows the window, on top and active, whether it was hidden or minimised.
    void bringBack();
    // Asks first while tasks are counted and, on Yes (or without the question), removes the tray icon
    // and ends the program.
    void exitProgram();
    // The date pickers take the server's date; the lawyer selector the user's own lawyer, locked unless
    // policy "#3101" applies to the user.
    QDateTime setDatesToServerDate();
    // Reports once when the workstation's clock is more than a minute away from the server's.
    void reportClockSkew(const QDateTime& serverNow);
    void selectOwnLawyer();
    void RemoveTrayIcon();
    void FXEscondidas_Click();
    void FXAdvogado_ID_Click();
    void TabStrip1_Click();
    void Fill_Lancamentos(int& L);
    void Fill_Lancamentos_Totais();
    void ListView1_ItemCheck(int row);
    void ListView1_ItemClick(int row);
    void ListView1_MouseUp(Qt::MouseButton button, const QPoint& position);
    void ListView1_DblClick();
    // The menu key on the task list: the list's menu as a right click on the selected row offers it.
    void ListView1_MenuKey(int row, const QPoint& position);
    void ListView2_DblClick();

    // The controls, the menus and the parts (frmcounter.cpp).
    struct Parts;
    std::unique_ptr<Parts> m;
};

} // namespace counter
