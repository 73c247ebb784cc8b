// The counter window's life: load, activation, unload and exit, the tray menu's own commands and
// the editors' refresh request.
#include "core/clock.h"
#include "core/errorreport.h"
#include "core/messagebox.h"
#include "core/program.h"
#include "counter/counterreports.h"
#include "counter/frmcounter.h"
#include "counter/frmcounter_parts.h"
#include "counter/listview/listview.h"
#include "counter/widgetcontrol.h"
#include "data/binding/modcontrolfill.h"
#include "data/displayformat.h"
#include "registry/modregistry.h"
#include "security/modcheckpermissions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QTabBar>
#include <QTimer>

namespace counter {
namespace {

const QString LawyersStatement =
    QStringLiteral("SELECT * FROM vwAdvogados WHERE activo <> 0 OR activo is null ORDER BY advogado_descrit");

// Changing the lawyer selector is reserved to the users this policy applies to.
const QString ChooseLawyerPolicy = QStringLiteral("#3101");

} // namespace

void frmCounter::Form_Load()
{
    core::trap(reports::window(objectName(), QStringLiteral("Startup")), [&] {
        m->placement->place();
        reportClockSkew(setDatesToServerDate());
        m->tasks->fill(0);
        m->tray->add();
        ControlFill(m->c.FXAdvogado_ID, LawyersStatement, QStringLiteral("advogado_descrit"),
                    QStringLiteral("contacto_id"));
        selectOwnLawyer();
        session::modCode::CounterWindow = this;
        // A count left running since an earlier day is asked about once the window is up.
        QTimer::singleShot(0, m->absence, &AbsenceCheck::askForgotten);
    });
}

QDateTime frmCounter::setDatesToServerDate()
{
    const QDateTime today = data::modControlFill::ServerDate();
    SetControlValue(m->c.FXData_Inicio, today, data::displayFormat::bindingCode::AsIs);
    SetControlValue(m->c.FXData_Fim, today, data::displayFormat::bindingCode::AsIs);
    return today;
}

void frmCounter::reportClockSkew(const QDateTime& serverNow)
{
    // Entries start by the server's clock and end by the workstation's: a skew makes every count wrong,
    // and one above an entry's length deletes it. The administrator hears of it once per start.
    constexpr qint64 MostSeconds = 60;
    if (serverNow.date() == QDate(1900, 1, 1)) {
        return;
    }
    const qint64 skew = serverNow.secsTo(core::Clock::now());
    if (std::abs(skew) > MostSeconds) {
        core::reportError(
            reports::window(objectName(), QStringLiteral("Startup")),
            {core::errc::ClockSkew, QStringLiteral("The workstation's clock is %1 seconds %2 the database server's; "
                                                   "counted minutes will be wrong until the time service is fixed.")
                                        .arg(std::abs(skew))
                                        .arg(skew > 0 ? QStringLiteral("ahead of") : QStringLiteral("behind"))});
    }
}

void frmCounter::selectOwnLawyer()
{
    if (session::modCode::AdvogadoID != 0) {
        SetControlValue(m->c.FXAdvogado_ID, session::modCode::AdvogadoID, data::displayFormat::bindingCode::AsIs);
    }
    m->statistics->showWhoseTasks();
    m->statistics->allowLawyerChoice(
        security::modCheckPermissions::CheckSecurityPolicy(session::modCode::UserName, ChooseLawyerPolicy));
}

void frmCounter::showWindow()
{
    bringBack();
}

void frmCounter::bringBack()
{
    // A minimised window is shown already: only taking the minimised state away brings it back.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void frmCounter::unloadWindow()
{
    Form_Unload();
}

bool frmCounter::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(event);
}

void frmCounter::Form_Activate()
{
    core::trap(reports::window(objectName(), QStringLiteral("Form_Activate")), [&] {
        if (isVisible()) {
            m->c.FXMultitarefa->setFocus();
        }
    });
}

void frmCounter::closeEvent(QCloseEvent* event)
{
    // The window is never closed: the unload hides it or ends the whole program.
    event->ignore();
    Form_Unload();
}

void frmCounter::Form_Unload()
{
    core::trap(reports::window(objectName(), QStringLiteral("Form_Unload")), [&] {
        if (isVisible()) {
            // Without a notification area a hidden window could not be reached again: the task bar keeps it.
            if (m->tray->inTray()) {
                hide();
            } else {
                showMinimized();
            }
            return;
        }
        exitProgram();
    });
}

void frmCounter::exitProgram()
{
    core::trap(reports::window(objectName(), QStringLiteral("Form_Unload")), [&] {
        if (m->tasks->anyRunning()) {
            const QString question = QStringLiteral("Atenção: Tem tarefas em progresso.") + core::messageBreak() +
                                     QStringLiteral("Tem a certeza que pretende fechar a aplicação?") +
                                     core::messageBreak() +
                                     QStringLiteral("Nota: mesmo com a aplicação terminada o contador continuará "
                                                    "activo para as tarefas selecionadas.");
            if (core::msgBox(question, core::Buttons::YesNo, core::Icon::Question,
                             QStringLiteral("Fechar Aplicação")) != core::Answer::Yes) {
                return;
            }
        }
        RemoveTrayIcon();
        core::endProgram();
    });
}

void frmCounter::mnContador_Click()
{
    core::trap(reports::window(objectName(), QStringLiteral("SetTrayIcon")), [&] {
        m->tasks->fill(0);
        bringBack();
    });
}

void frmCounter::mnLogin_Click()
{
    core::trap(reports::command(objectName(), QStringLiteral("mnLogin_Click")), [&] {
        // Another login would take the list, and the count running on it, off the screen.
        if (m->tasks->anyRunning()) {
            core::msgBox(QStringLiteral("Não pode refazer o login sem primeiro terminar o contador activo."),
                         core::Buttons::Ok, core::Icon::Information, windowTitle());
            return;
        }
        const QString userBefore = session::modCode::UserName;
        const qint32 lawyerBefore = session::modCode::AdvogadoID;
        session::modCode::Connected = false;
        registry::modRegistry::DefinirValorString(session::modCode::UserKey(), QStringLiteral("Remember"),
                                                  QStringLiteral("0"));
        session::modCode::main();
        // Someone else logged in: nothing of the previous user's may stay on screen, or a tick would
        // book time to the wrong lawyer.
        if (session::modCode::Connected &&
            (session::modCode::UserName != userBefore || session::modCode::AdvogadoID != lawyerBefore)) {
            setDatesToServerDate();
            m->tasks->fill(0);
            selectOwnLawyer();
            m->statistics->clearLists();
            // The new user's count left running since an earlier day is asked about, as at start-up.
            m->absence->askForgotten();
        }
    });
}

void frmCounter::mnSair_Click()
{
    if (m->tray->inTray()) {
        Form_Unload();
    } else {
        // From the window's own menu "Sair" ends the program, as it does from a hidden window.
        exitProgram();
    }
}

void frmCounter::RemoteKey(int ID, int Flag)
{
    core::trap(reports::lists(objectName(), QStringLiteral("Timer1_Timer")), [&] {
        if (Flag == external::ownerFlag::TaskSaved) {
            Fill_Tarefas(ID);
            if (isVisible()) {
                m->c.ListView1->setFocus();
            }
        } else if (Flag == external::ownerFlag::EntrySaved) {
            if (m->c.TabStrip1->currentIndex() == 1) {
                Fill_Lancamentos(ID);
                if (isVisible()) {
                    m->c.ListView2->setFocus();
                }
            }
            if (m->c.TabStrip1->currentIndex() == 0) {
                m->tasks->fill(0);
            }
        } else {
            m->tasks->fill(0);
            if (isVisible()) {
                m->c.ListView1->setFocus();
            }
        }
    });
}

} // namespace counter
