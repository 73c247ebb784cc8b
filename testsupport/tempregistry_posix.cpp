// The registry is kept in files here: the directories of TempRegistry are all it takes.
#include "testsupport/tempregistry.h"

#include <QFile>

#include <sys/stat.h>

namespace testsupport {

QString redirectRootKeys()
{
    return {};
}

void restoreRootKeys(const QString&) {}

QByteArray TempRegistry::rootStamp(const QString& rootName) const
{
    struct stat info {
    };
    if (::stat(QFile::encodeName(file(rootName)).constData(), &info) != 0) {
        return {};
    }
    return QByteArray::number(qulonglong(info.st_ino)) + ' ' + QByteArray::number(qlonglong(info.st_mtim.tv_sec)) +
           '.' + QByteArray::number(qlonglong(info.st_mtim.tv_nsec));
}

void TempRegistry::clearRoot(const QString& rootName) const
{
    QFile::remove(file(rootName));
}

} // namespace testsupport
