#pragma once

#include <functional>

namespace core {

// The end of the whole program ("End"): the default leaves the event loop and marks the program ended,
// so that an entry that has not started its loop yet returns at once. Tests install their own handler.
void endProgram();
bool programEnded();
// Seam: an empty function restores the default.
void setEndProgramHandler(std::function<void()> handler);

} // namespace core

namespace core {

// Gives the memory freed so far back to the system where the allocator keeps it: glibc keeps the heap
// pages of a large result that was read and dropped, so a refilled list would keep their size resident.
void returnFreedMemory();

} // namespace core

namespace core {

// Makes the C library read the system's time zone once for the whole run. Without TZ it looks at
// /etc/localtime on disk at every local-time conversion, and a list converts thousands of dates; TZ
// naming that file keeps the same zone and reads it once. A TZ already set is kept. Called first thing
// in main, before any other thread starts.
void readTimeZoneOnce();

} // namespace core
