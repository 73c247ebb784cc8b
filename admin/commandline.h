#pragma once

#include "admin/console.h"
#include "data/office/postgresoffice.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

#include <optional>

// What the administration commands share in reading their command line: options, required values, new
// passwords, and where a command works (a PostgreSQL server or an embedded office file).
namespace admin {

// A wrong command line: its text goes to err with the exit code Usage.
struct UsageError {
    QString text;
};

QCommandLineOption option(const QString& name, const QString& description, const QString& value = QString(),
                          const QString& fallback = QString());
QCommandLineOption passwordStdin();
// The option's value; UsageError when it is missing or blank.
QString required(const QCommandLineParser& parser, const QString& name);
// The option's value as a positive whole number; UsageError otherwise.
qint64 number(const QCommandLineParser& parser, const QString& name);
// A password to store: from standard input with --password-stdin, otherwise typed twice without echo.
QString newPassword(const QCommandLineParser& parser, Console& console, const QString& whose);
// How the administration command reaches a PostgreSQL server: --postgres names it, a role that may create roles
// and databases signs in with the password in a file (never on the command line).
QList<QCommandLineOption> serverOptions(const QString& what);
// The admin's sign-in on target's server, from the options.
data::PostgresTarget withAdmin(data::PostgresTarget target, const QCommandLineParser& parser);
// The server --postgres names, with the admin's sign-in, for the catalog.
data::PostgresTarget serverTarget(const QCommandLineParser& parser, const QString& catalog);
// The PostgreSQL server a login command works on: --postgres, or the server the machine settings name when their
// engine is PostgreSQL; nothing for an embedded file (--database, or settings that name a file).
std::optional<data::PostgresTarget> loginServer(const QCommandLineParser& parser);
// The embedded office file a login command works on: --database, or the file the machine settings name.
QString officeFile(const QCommandLineParser& parser);

} // namespace admin
