// The ODBC drivers of unixODBC: the sections of its odbcinst.ini files.
#include "data/engines/odbcconnection.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace data {

namespace {

void readDriverFile(const QString& path, QList<QPair<QString, QString>>& drivers)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return;
    }
    QTextStream in(&file);
    QString section;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            if (section.compare(QLatin1String("ODBC"), Qt::CaseInsensitive) != 0) {
                drivers.append({section, QString()});
            }
        } else if (!section.isEmpty() && !drivers.isEmpty() && drivers.last().first == section &&
                   line.section(QLatin1Char('='), 0, 0)
                           .trimmed()
                           .compare(QLatin1String("Driver"), Qt::CaseInsensitive) == 0) {
            drivers.last().second = line.section(QLatin1Char('='), 1).trimmed();
        }
    }
}

} // namespace

QStringList OdbcConnection::preferredDrivers()
{
    return {msDriver18(), msDriver17()};
}

QList<QPair<QString, QString>> OdbcConnection::installedDrivers()
{
    QList<QPair<QString, QString>> drivers;
    const QString systemDir = qEnvironmentVariable("ODBCSYSINI", QStringLiteral("/etc"));
    readDriverFile(
        systemDir + QStringLiteral("/") + qEnvironmentVariable("ODBCINSTINI", QStringLiteral("odbcinst.ini")), drivers);
    readDriverFile(QDir::homePath() + QStringLiteral("/.odbcinst.ini"), drivers);
    return drivers;
}

} // namespace data
