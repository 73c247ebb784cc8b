#include "admin/sharedoffice.h"
#include "core/errorvalue.h"

#include <QDir>
#include <QFileInfo>

namespace admin::sharedoffice {

// On Windows who may write an office file is told by the access lists of its folder (a share the office's group
// may change), which the file inherits: the folder is made when absent, and nothing else is changed here.
void prepareFolder(const QString& file, const QString&)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder)) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Não foi possível criar a pasta %1").arg(folder));
    }
}

void shareFile(const QString&, const QString&) {}

} // namespace admin::sharedoffice
