#include "session/singleinstance.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace session {

SingleInstance::SingleInstance(const QString& directory, QObject* parent)
    : QObject(parent)
    , m_directory(directory)
    , m_lock(directory + QStringLiteral("/orvcounter.lock"))
    , m_requestPath(directory + QStringLiteral("/show-request"))
{}

bool SingleInstance::claim()
{
    QDir().mkpath(m_directory);
    QFile request(m_requestPath);
    if (!m_lock.tryLock(0)) {
        if (request.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            request.write(QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8());
        }
        return false;
    }
    if (request.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        request.close();
    }
    m_watcher.addPath(m_requestPath);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
        // An editor that replaces the file drops it from the watch list: watch it again.
        if (!m_watcher.files().contains(path) && QFile::exists(path)) {
            m_watcher.addPath(path);
        }
        Q_EMIT showRequested();
    });
    return true;
}

} // namespace session
