#include "admin/password.h"

#include <iostream>
#include <string>

namespace admin {

QString withoutLineEnd(const std::string& line)
{
    QString text = QString::fromStdString(line);
    if (text.endsWith(QLatin1Char('\r'))) {
        text.chop(1);
    }
    return text;
}

QString readStandardInputLine()
{
    std::string line;
    std::getline(std::cin, line);
    return withoutLineEnd(line);
}

} // namespace admin
