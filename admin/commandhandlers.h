#pragma once

#include "admin/checklogin.h"
#include "admin/console.h"
#include "admin/office.h"

#include <QCommandLineParser>

#include <functional>

// What each orvadmin subcommand does once its command line is parsed (commands.cpp holds the table that names
// them, their options and help). Each returns the exit code (exitcode) and writes to the console; errors are
// thrown as core::Error for run to report.
namespace admin {

// The signature of every subcommand: the parsed options, the one positional argument (empty when none), the
// console and what the check asks of the machine.
using CommandHandler = std::function<int(const QCommandLineParser&, const QString&, Console&, const CheckProbes&)>;

// "settings": writes the machine settings given, or shows them.
int settingsCommand(const QCommandLineParser& parser, const QString&, Console& console, const CheckProbes&);
// "check": the login step by step.
int checkCommand(const QCommandLineParser& parser, const QString&, Console& console, const CheckProbes& probes);
// "office create": an office file, or an office on a PostgreSQL server.
int officeCreateCommand(const QCommandLineParser& parser, const QString& file, Console& console, const CheckProbes&);
// "login add|password|remove".
CommandHandler loginCommand(LoginChange change);
// "lawyer add", "user add", "import".
int lawyerAddCommand(const QCommandLineParser& parser, const QString&, Console& console, const CheckProbes&);
int userAddCommand(const QCommandLineParser& parser, const QString& name, Console& console, const CheckProbes&);
int importCommand(const QCommandLineParser& parser, const QString&, Console& console, const CheckProbes&);

} // namespace admin
