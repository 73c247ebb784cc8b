// Reading a password from the Windows console: echo off through the console mode.
#include "admin/password.h"
#include "core/errorvalue.h"

#include <iostream>
#include <string>
#include <windows.h>

namespace admin {

QString readPasswordFromTerminal(const QString& prompt)
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD saved = 0;
    if (input == INVALID_HANDLE_VALUE || GetFileType(input) != FILE_TYPE_CHAR || !GetConsoleMode(input, &saved)) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Sem terminal para pedir a palavra-passe: use --password-stdin"));
    }
    std::cerr << prompt.toStdString() << std::flush;
    SetConsoleMode(input, saved & ~DWORD(ENABLE_ECHO_INPUT));
    std::string line;
    std::getline(std::cin, line);
    SetConsoleMode(input, saved);
    std::cerr << std::endl;
    return withoutLineEnd(line);
}

} // namespace admin
