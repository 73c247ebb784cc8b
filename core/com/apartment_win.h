#pragma once

namespace core::com {

// Initialises COM for the calling thread on its first call there, and leaves it when the thread ends: the
// program's main (GUI) thread apartment-threaded, as its windows and the components called from them need,
// any other thread in the multithreaded apartment. A thread already initialised otherwise (by Qt's Windows
// platform, or by another model) is used as it is. Throws core::Error when COM cannot be initialised.
void enterApartment();

} // namespace core::com
