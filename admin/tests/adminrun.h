#pragma once

#include "admin/commands.h"
#include "core/loginthrottle.h"
#include "data/connection.h"
#include "data/office/machinesettings.h"
#include "testsupport/login.h"
#include "testsupport/tempdatabase.h"

#include <QStringList>
#include <QTextStream>

// Runs orvadmin command lines in the test process: what they print is kept, passwords come from the
// scripted standard input or scripted typing at the terminal's prompts (never waiting).
struct AdminRun {
    QString out;
    QString err;
    QStringList input;   // lines of standard input, taken in order
    QStringList typed;   // what is typed at the terminal's password prompts, in order
    QStringList prompts; // terminal prompts that were asked for
    admin::CheckProbes probes = admin::machineProbes();
    QList<int> waits; // the seconds a failed login would have waited, in order

    int operator()(const QStringList& arguments)
    {
        core::LoginThrottle::setWait([this](int seconds) { waits.append(seconds); });
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        admin::Console console{outStream, errStream,
                               [this](const QString& prompt) {
                                   prompts.append(prompt);
                                   return typed.isEmpty() ? QString() : typed.takeFirst();
                               },
                               [this] { return input.isEmpty() ? QString() : input.takeFirst(); }};
        // The streams write what is left as they end, before the caller reads out and err.
        return admin::run(QStringList{QStringLiteral("orvadmin")} + arguments, console, probes);
    }

    // The same, with these lines of standard input.
    int operator()(const QStringList& arguments, const QStringList& lines)
    {
        input = lines;
        return (*this)(arguments);
    }
};

// Signs the session out and closes the shared connection: the next login starts afresh.
inline void loginAgain()
{
    testsupport::signOut();
    data::Data::SqlServer().close();
}

// Machine settings that point at a temporary database with its own shared account.
inline data::MachineSettings settingsFor(const testsupport::TempDatabase& database)
{
    using namespace Qt::StringLiterals;
    using T = testsupport::TempDatabase;
    return {u"ORVSQL"_s, u"False"_s, T::user(), T::password(), T::catalog(), database.path(), {}, {}};
}
