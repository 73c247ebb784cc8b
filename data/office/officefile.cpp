#include "data/office/officefile.h"

#include "data/engines/embedded.h"
#include "data/office/schema.h"

#include <QFile>
#include <QFileInfo>

namespace data::schema {

void createOffice(const QString& path, const QString& catalog, const std::function<void(const QString&)>& fill)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    embedded::createDatabase(file, catalog);
    try {
        create(file);
        if (fill) {
            fill(file);
        }
    } catch (...) {
        // A half-built office would be taken for a good one by the next run.
        removeOffice(file);
        throw;
    }
}

bool removeOffice(const QString& path)
{
    bool removed = true;
    for (const QString& suffix :
         {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(path + suffix) && !QFile::remove(path + suffix)) {
            removed = false;
        }
    }
    return removed;
}

} // namespace data::schema
