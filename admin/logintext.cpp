#include "admin/logintext.h"

#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/office/machinesettings.h"

namespace admin {

QString loginConnectionText(const data::MachineSettings& settings, const QString& user, const QString& password)
{
    return data::ConnectionText::forLogin(settings.securityInfo, user, password, settings.catalog, settings.dataSource);
}

std::unique_ptr<data::Connection> openOffice(const data::MachineSettings& settings)
{
    // The server engine and the link's protection the settings name, as the counter's own login reads them.
    settings.apply();
    auto connection = std::make_unique<data::Connection>();
    connection->open(loginConnectionText(settings, settings.user, settings.password));
    return connection;
}

} // namespace admin
