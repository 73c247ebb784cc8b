#include "data/office/filepermissions.h"

#include <QDir>
#include <QFileInfo>

namespace data {

namespace {

QString currentUser()
{
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return user.isEmpty() ? QStringLiteral("deste processo") : QStringLiteral("\"%1\"").arg(user);
}

QString describe(const QFileInfo& info)
{
    // Qt keeps each class's bits in a nibble of its own (owner 0x7000, group 0x0070, others 0x0007).
    const uint bits = info.permissions().toInt();
    const uint mode = ((bits >> 12) & 7U) << 6 | ((bits >> 4) & 7U) << 3 | (bits & 7U);
    return QStringLiteral("%1 é de %2:%3, modo %4")
        .arg(info.absoluteFilePath(), info.owner(), info.group())
        .arg(mode, 4, 8, QLatin1Char('0'));
}

QString missing(const QFileInfo& info, const QString& what)
{
    return QStringLiteral("O utilizador %1 não pode escrever %2 (%3). Dê ao grupo do escritório a escrita no ficheiro "
                          "e na pasta (orvadmin office create faz isso) e junte o utilizador a esse grupo.")
        .arg(currentUser(), what, describe(info));
}

} // namespace

QString writeProblem(const QString& databaseFile)
{
    const QFileInfo file(databaseFile);
    if (!file.exists()) {
        return QString();
    }
    if (!file.isReadable() || !file.isWritable()) {
        return missing(file, QStringLiteral("no ficheiro da base de dados"));
    }
    const QFileInfo folder(file.absolutePath());
    const bool folderUsable = folder.isWritable() && folder.isExecutable();
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const QFileInfo beside(file.absoluteFilePath() + QLatin1String(suffix));
        if (beside.exists() && !beside.isWritable()) {
            return missing(beside, QStringLiteral("no ficheiro que o motor escreve ao lado da base de dados"));
        }
    }
    if (!folderUsable) {
        return missing(folder, QStringLiteral("na pasta da base de dados, onde o motor cria o diário e a memória "
                                              "partilhada"));
    }
    return QString();
}

} // namespace data
