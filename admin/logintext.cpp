#include "admin/logintext.h"

#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/postgresoffice.h"

namespace admin {

QString loginConnectionText(const data::MachineSettings& settings, const QString& user, const QString& password)
{
    return data::ConnectionText::forLogin(settings.securityInfo, user, password, settings.catalog, settings.dataSource);
}

std::unique_ptr<data::Connection> openOffice(const data::MachineSettings& settings)
{
    // The server engine the settings name; the counter's own login reads it the same way.
    const auto server = data::postgresoffice::readSettings(settings);
    data::Connection::setEngine(server ? data::Connection::Engine::PostgreSQL : data::Connection::Engine::SqlServer);
    data::OdbcConnection::setTransportSecurity(server ? server->security : data::OdbcConnection::TransportSecurity{});
    auto connection = std::make_unique<data::Connection>();
    connection->open(loginConnectionText(settings, settings.user, settings.password));
    return connection;
}

} // namespace admin
