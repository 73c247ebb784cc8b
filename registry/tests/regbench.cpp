// Prints how long the file registry takes for deep keys and for repeated reads:
//   registry_regbench
// Not a test: the figures depend on the machine.
#include "core/clock.h"
#include "registry/filestore.h"
#include "registry/modregistry.h"
#include "testsupport/tempregistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

using namespace registry::modRegistry;

namespace {

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void deepKey(int depth)
{
    testsupport::TempRegistry registry;
    QStringList names{QStringLiteral("HKEY_CURRENT_USER")};
    for (int i = 1; i <= depth; ++i) {
        names << QStringLiteral("Level%1").arg(i);
    }
    const QString path = names.join(u'\\');
    QElapsedTimer timer;
    timer.start();
    const bool written =
        CriarChave(path) && DefinirValorString(path, QStringLiteral("DataServer"), QStringLiteral("x"));
    const double writeMs = msSince(timer);
    timer.restart();
    const bool read = ObterValorString(path, QStringLiteral("DataServer")) == QStringLiteral("x");
    std::printf("%4d levels: create and write %8.2f ms, read %8.2f ms%s\n", depth, writeMs, msSince(timer),
                written && read ? "" : "  FAILED");
}

void repeatedReads(bool settled)
{
    testsupport::TempRegistry registry;
    const QString path = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vorlent");
    CriarChave(path);
    for (int i = 0; i < 200; ++i) {
        DefinirValorString(path, QStringLiteral("Value%1").arg(i), QStringLiteral("some text of a setting"));
    }
    // A clock an hour ahead makes the file look long settled, as it is in a running program.
    core::Clock::setSource(
        settled ? std::function<QDateTime()>([] { return QDateTime::currentDateTime().addSecs(3600); }) : nullptr);
    const quint64 reads = registry::filestore::fileReads();
    QElapsedTimer timer;
    timer.start();
    const int count = 1000;
    for (int i = 0; i < count; ++i) {
        ObterValorString(path, QStringLiteral("Value%1").arg(i % 200));
    }
    std::printf("%d reads of a 200-value file, %s: %.3f ms each, %llu file reads\n", count,
                settled ? "unchanged" : "just written", msSince(timer) / count,
                static_cast<unsigned long long>(registry::filestore::fileReads() - reads));
    core::Clock::setSource(nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    for (const int depth : {10, 24, 30, 100, 512}) {
        deepKey(depth);
    }
    repeatedReads(false);
    repeatedReads(true);
    return 0;
}
