// The counter's executable: the application object, one instance per user, the message boxes and
// the counter window wired into start-up, then General.Run and the event loop for as long as the
// counter lives in the notification area.
#include "core/errorreport.h"
#include "core/errorreporting.h"
#include "core/program.h"
#include "counter/frmcounter.h"
#include "editors/recordeditors.h"
#ifdef Q_OS_WIN
#include "external/com/officecomponents_win.h"
#include "session/automationserver_win.h"
#endif
#include "session/modcode.h"
#include "session/singleinstance.h"
#include "session/translations.h"
#include "session/widgetmessagebox.h"

#include <QApplication>

#include <memory>
#include <optional>
#include <utility>

int main(int argc, char* argv[])
{
    core::readTimeZoneOnce();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvcounter"));
    QApplication::setQuitOnLastWindowClosed(false);

    session::SingleInstance instance(core::stateDirectory());
    if (!instance.claim()) {
        return 0;
    }

    session::installPortugueseTranslations(app);
    session::installWidgetMessageBoxes();
    editors::installDialogComponents();
#ifdef Q_OS_WIN
    external::com::installOfficeComponents();
#endif
    // The counter window lives until the program ends, and goes before the application object.
    std::unique_ptr<counter::frmCounter> window;
    session::modCode::setCounterWindowFactory([&window]() -> session::CounterWindowInterface* {
        window = std::make_unique<counter::frmCounter>();
        window->Form_Load();
        return window.get();
    });
    QObject::connect(&instance, &session::SingleInstance::showRequested, [&window] {
        // A second start opens the running counter, as "Abrir contador" does.
        if (window) {
            window->mnContador_Click();
        }
    });

    // General.Run: start-up, or the running counter brought forward. A Run while start-up waits at its login
    // dialog finds that dialog: one start-up at a time.
    bool starting = false;
    const auto run = [&window, &starting] {
        if (window) {
            window->mnContador_Click();
            return;
        }
        if (std::exchange(starting, true)) {
            return;
        }
        session::General().Run();
        starting = false;
        if (core::programEnded() || session::modCode::CounterWindow == nullptr) {
            QApplication::quit();
        }
    };
#ifdef Q_OS_WIN
    // The office's application calls Run through COM; COM starts the program for that with "/Automation", and the
    // Run follows.
    std::optional<session::AutomationServer> automation;
    core::trap(
        {QStringLiteral("Orv Counter"), QStringLiteral("orvcounter"), QStringLiteral("General"), QStringLiteral("Run")},
        [&] { automation.emplace(run); });
    if (automation && session::AutomationServer::startedByCom(QApplication::arguments())) {
        return QApplication::exec();
    }
#endif
    run();
    if (core::programEnded() || session::modCode::CounterWindow == nullptr) {
        return 0;
    }
    return QApplication::exec();
}
