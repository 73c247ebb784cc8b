#include "scramble/cp1252.h"

#include <array>

namespace scramble::cp1252 {
namespace {

// The characters of codes 128 to 159.
constexpr std::array<char16_t, 32> HighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr int First = 0x80;
constexpr int Unknown = u'?';

} // namespace

int code(QChar character)
{
    const char16_t unicode = character.unicode();
    if (unicode < First || (unicode >= First + int(HighControls.size()) && unicode <= 0xFF)) {
        return unicode;
    }
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == unicode) {
            return First + int(i);
        }
    }
    return Unknown;
}

QChar character(int code)
{
    if (code >= First && code < First + int(HighControls.size())) {
        return QChar(HighControls[std::size_t(code - First)]);
    }
    return QChar(char16_t(code));
}

} // namespace scramble::cp1252
