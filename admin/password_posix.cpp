// Reading a password from a Unix terminal: echo off through termios.
#include "admin/password.h"
#include "core/errorvalue.h"

#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace admin {

QString readPasswordFromTerminal(const QString& prompt)
{
    termios saved{};
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved) != 0) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Sem terminal para pedir a palavra-passe: use --password-stdin"));
    }
    std::cerr << prompt.toStdString() << std::flush;
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string line;
    std::getline(std::cin, line);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << std::endl;
    return withoutLineEnd(line);
}

} // namespace admin
