#pragma once

#include <QChar>

// Windows-1252, the single-byte code page scrambled texts are computed in: codes 0-127 and 160-255 are the
// characters of the same number; 128-159 are the code page's own characters, the five it leaves undefined
// (129, 141, 143, 144, 157) standing for the control characters of the same number, as Windows converts them.
namespace scramble::cp1252 {

// The code of a character; a character outside the code page gives 63 ("?"), as Windows' conversion does.
int code(QChar character);

// The character of a code from 0 to 255.
QChar character(int code);

} // namespace scramble::cp1252
