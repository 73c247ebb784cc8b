#pragma once

#include <QFileSystemWatcher>
#include <QLockFile>
#include <QObject>

// One counter per user: the first process holds a lock file in the state directory; a later start
// touches a request file that the first one watches, asking it to show its window, and then ends.
// Built on Qt Core alone, so it also works where the desktop has no notification area.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString& directory, QObject* parent = nullptr);

    // True when this process is the running counter; false when another one was asked to show itself.
    bool claim();

Q_SIGNALS:
    void showRequested();

private:
    QString m_directory;
    QLockFile m_lock;
    QFileSystemWatcher m_watcher;
    QString m_requestPath;
};
