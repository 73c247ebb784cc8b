#pragma once

#include <QFileSystemWatcher>
#include <QLockFile>
#include <QObject>

namespace session {

// One counter per user: the first process holds a lock file (orvcounter.lock) in the given directory;
// a later start writes the request file (show-request) that the first one watches, asking it to show
// its window, and then ends. Built on Qt Core alone, so it also works where the desktop has no
// notification area.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString& directory, QObject* parent = nullptr);

    // True when this process is now the running counter; false, at once, when another one holds the
    // lock and was asked to show itself.
    bool claim();

Q_SIGNALS:
    // A later start asked the running counter to show its window.
    void showRequested();

private:
    QString m_directory;
    QLockFile m_lock;
    QFileSystemWatcher m_watcher;
    QString m_requestPath;
};

} // namespace session
