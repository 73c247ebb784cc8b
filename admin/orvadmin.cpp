// orvadmin: the administration command of the counter (machine settings, the login check, the
// embedded office database, its logins, people and imports). See `orvadmin --help`.
#include "admin/commands.h"
#include "admin/password.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvadmin"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    admin::Console console{out, err, admin::readPasswordFromTerminal, admin::readStandardInputLine};
    return admin::run(QCoreApplication::arguments(), console);
}
