#pragma once

#include <QString>

// What differs between the platforms the program runs on, one implementation file per platform
// (platform_posix.cpp, platform_win.cpp), chosen at build time.
namespace core {

// The platform's folder for the program's own files (error log, login failures, the single-instance lock):
// $XDG_STATE_HOME/orvcounter, else ~/.local/state/orvcounter on Unix; the user's local application-data
// folder (%LOCALAPPDATA%\orvcounter) on Windows.
QString platformStateDirectory();

} // namespace core
