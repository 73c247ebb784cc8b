// orvgrab: saves a picture of the whole screen of the display it runs on, as PNG.
//
//   orvgrab OUTPUT.png
//
// Used by scripts/screenshot.sh to photograph the running counter on a virtual display.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: orvgrab OUTPUT.png\n";
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        err << "orvgrab: no screen\n";
        return 1;
    }
    const QString& output = arguments.at(1);
    QDir().mkpath(QFileInfo(output).absolutePath());
    if (!screen->grabWindow(0).save(output, "PNG")) {
        err << "orvgrab: cannot write " << output << "\n";
        return 1;
    }
    return 0;
}
