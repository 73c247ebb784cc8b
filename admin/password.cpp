#include "admin/password.h"

#include "core/errorvalue.h"

#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace admin {

namespace {

QString withoutLineEnd(const std::string& line)
{
    QString text = QString::fromStdString(line);
    if (text.endsWith(QLatin1Char('\r'))) {
        text.chop(1);
    }
    return text;
}

} // namespace

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

QString readStandardInputLine()
{
    std::string line;
    std::getline(std::cin, line);
    return withoutLineEnd(line);
}

} // namespace admin
