#pragma once

#include "admin/checklogin.h"
#include "admin/console.h"

#include <QStringList>

namespace admin {

// Runs one orvadmin command line (arguments include the program name) and returns its exit code
// (see exitcode). Every subcommand answers --help. Errors are written to the console's err, never a
// password; nothing is thrown. probes are what the check asks of the machine.
int run(const QStringList& arguments, Console& console, const CheckProbes& probes = machineProbes());

} // namespace admin
