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
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvcounter"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own texts (standard buttons, context menus) in Portuguese, from the system's Qt translations.
    QTranslator qtTexts;
    for (const char* name : {"qtbase_pt_PT", "qtbase_pt", "qtbase_pt_BR"}) {
        if (qtTexts.load(QString::fromLatin1(name), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QApplication::installTranslator(&qtTexts);
            break;
        }
    }

    SingleInstance instance(core::stateDirectory());
    if (!instance.claim()) {
        return 0;
    }

    session::installWidgetMessageBoxes();
    session::modCode::setCounterWindowFactory([]() -> session::CounterWindowInterface* {
        auto* window = new counter::frmCounter;
        window->Form_Load();
        return window;
    });
    QObject::connect(&instance, &SingleInstance::showRequested, [] {
        // A second start opens the running counter, as "Abrir contador" does.
        if (auto* window = dynamic_cast<counter::frmCounter*>(session::modCode::CounterWindow)) {
            window->mnContador_Click();
        }
    });

    session::General().Run();
    if (core::programEnded() || session::modCode::CounterWindow == nullptr) {
        return 0;
    }
    return QApplication::exec();
}
