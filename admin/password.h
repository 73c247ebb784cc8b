#pragma once

#include <QString>

namespace admin {

// Reads one line from the terminal with echo turned off, after writing the prompt to standard error.
// Throws core::Error when standard input is not a terminal (scripts give --password-stdin instead).
QString readPasswordFromTerminal(const QString& prompt);

// Reads one line of standard input, without its line end; empty at the end of input.
QString readStandardInputLine();

} // namespace admin
