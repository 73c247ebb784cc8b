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
