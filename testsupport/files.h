#pragma once

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <sys/stat.h>

namespace testsupport {

// Writes bytes to path in place of what it held; false when the file could not be written whole.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What path holds; empty when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The permission bits of path, set-group-ID included; -1 when they cannot be read.
inline int modeOf(const QString& path)
{
    struct stat info {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// The entries of errors.log in a state directory, one JSON object a line; none when there is no log.
inline QList<QJsonObject> errorLog(const QString& stateDirectory)
{
    QList<QJsonObject> entries;
    for (const QByteArray& line : readFile(stateDirectory + QStringLiteral("/errors.log")).split('\n')) {
        if (!line.isEmpty()) {
            entries.append(QJsonDocument::fromJson(line).object());
        }
    }
    return entries;
}

} // namespace testsupport
