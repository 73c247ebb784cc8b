#include "admin/logintext.h"

#include "data/connection.h"

namespace admin {

namespace {

QString quoted(const QString& value)
{
    const bool plain = !value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('"')) &&
                       !value.startsWith(QLatin1Char('\'')) && value == value.trimmed();
    if (plain) {
        return value;
    }
    QString inner = value;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

} // namespace

QString loginConnectionText(const data::MachineSettings& settings, const QString& user, const QString& password)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=") + quoted(settings.securityInfo) +
           QStringLiteral(";User ID=") + quoted(user) + QStringLiteral(";Password=") + quoted(password) +
           QStringLiteral(";Initial Catalog=") + quoted(settings.catalog) + QStringLiteral(";Data Source=") +
           quoted(settings.dataSource) + QStringLiteral(";Connect Timeout=15");
}

std::unique_ptr<data::Connection> openOffice(const data::MachineSettings& settings)
{
    auto connection = std::make_unique<data::Connection>();
    connection->open(loginConnectionText(settings, settings.user, settings.password));
    return connection;
}

} // namespace admin
