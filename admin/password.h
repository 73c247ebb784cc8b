#pragma once

#include <QString>

#include <string>

namespace admin {

// Reads one line from the terminal (the console on Windows) with echo turned off, after writing the prompt to
// standard error; one implementation per platform. Throws core::Error when standard input is not a terminal (scripts
// give --password-stdin instead).
QString readPasswordFromTerminal(const QString& prompt);

// The line as text, without the carriage return a Windows line end leaves before the newline.
QString withoutLineEnd(const std::string& line);

// Reads one line of standard input, without its line end; empty at the end of input.
QString readStandardInputLine();

} // namespace admin
