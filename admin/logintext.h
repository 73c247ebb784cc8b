#pragma once

#include "data/office/machinesettings.h"

#include <QString>

#include <memory>

namespace data {
class Connection;
}

namespace admin {

// The connection text the login opens its connections with, for these settings and this user. This is
// the one place the administration command builds it, so that it stays the login's own text. Values
// that hold ';', a quote or blanks at either end are put in double quotes with inner double quotes
// doubled, so they read back as they are.
QString loginConnectionText(const data::MachineSettings& settings, const QString& user, const QString& password);

// A connection to the office database with the settings' shared account, as the counter's shared
// connection is opened, on the engine the settings name (SQL Server or PostgreSQL; a file is always the embedded
// engine). Throws core::Error when it is refused.
std::unique_ptr<data::Connection> openOffice(const data::MachineSettings& settings);

} // namespace admin
