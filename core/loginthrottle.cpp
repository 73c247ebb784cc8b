#include "core/loginthrottle.h"

#include "core/errorreporting.h"

#include <QEventLoop>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>

namespace core {

namespace {

QString countFile()
{
    return stateDirectory() + QStringLiteral("/login-failures");
}

void writeCount(int count)
{
    makeStateDirectory();
    QSaveFile file(countFile());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::number(count));
        file.commit();
    }
}

void waitWithEventLoop(int seconds)
{
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
}

LoginThrottle::Wait& waitSlot()
{
    static LoginThrottle::Wait wait = waitWithEventLoop;
    return wait;
}

} // namespace

int LoginThrottle::failuresInARow()
{
    QFile file(countFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    bool ok = false;
    const int count = file.read(16).trimmed().toInt(&ok);
    return ok && count > 0 ? count : 0;
}

void LoginThrottle::failed()
{
    const int count = std::min(failuresInARow() + 1, 1000);
    writeCount(count);
    waitSlot()(std::min(count, MaxWaitSeconds));
}

void LoginThrottle::succeeded()
{
    if (QFile::exists(countFile())) {
        QFile::remove(countFile());
    }
}

void LoginThrottle::setWait(Wait wait)
{
    waitSlot() = wait ? std::move(wait) : Wait(waitWithEventLoop);
}

} // namespace core
