#pragma once

#include <QString>
#include <QTextStream>

#include <functional>

namespace admin {

// Where a command writes and how it reads a password; the executable gives the terminal, tests script them.
struct Console {
    QTextStream& out;
    QTextStream& err;
    // Reads a password from the terminal without echo, after showing the prompt. Throws core::Error when there
    // is no terminal.
    std::function<QString(const QString& prompt)> password;
    // Reads one line of standard input (for scripts), without its line end.
    std::function<QString()> standardInput;
};

// Exit codes that scripts can test. A failed check exits with CheckFailed plus the number of its failing step.
namespace exitcode {
constexpr int Ok = 0;
constexpr int Failed = 1;      // the database, the registry or a file refused
constexpr int Usage = 2;       // unknown command, missing or bad argument
constexpr int RowsRefused = 3; // an import found bad rows and wrote nothing
constexpr int CheckFailed = 10;
} // namespace exitcode

} // namespace admin
