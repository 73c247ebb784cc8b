// The counter's executable: the application object, one instance per user, the message boxes and
// the counter window wired into start-up, then General.Run and the event loop for as long as the
// counter lives in the notification area.
#include "core/errorreporting.h"
#include "core/program.h"
#include "counter/frmcounter.h"
#include "session/modcode.h"
#include "session/widgetmessagebox.h"
#include "singleinstance.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvcounter"));
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(core::stateDirectory());
    if (!instance.claim()) {
        return 0;
    }

    session::installWidgetMessageBoxes();
    session::modCode::setCounterWindowFactory([]() -> session::CounterWindowInterface* {
        return counter::frmCounter::create();
    });
    QObject::connect(&instance, &SingleInstance::showRequested, [] {
        if (auto* window = session::modCode::CounterWindow) {
            window->showWindow();
        }
    });

    session::General().Run();
    if (core::programEnded() || session::modCode::CounterWindow == nullptr) {
        return 0;
    }
    return QApplication::exec();
}
