// The counter's executable: the application object, one instance per user, the message boxes and
// the counter window wired into start-up, then General.Run and the event loop for as long as the
// counter lives in the notification area.
#include "core/errorreporting.h"
#include "core/program.h"
#include "counter/frmcounter.h"
#include "editors/recordeditors.h"
#include "session/modcode.h"
#include "session/singleinstance.h"
#include "session/translations.h"
#include "session/widgetmessagebox.h"

#include <QApplication>

#include <memory>

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

    session::General().Run();
    if (core::programEnded() || session::modCode::CounterWindow == nullptr) {
        return 0;
    }
    return QApplication::exec();
}
