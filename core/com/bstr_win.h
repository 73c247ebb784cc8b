#pragma once

#include <QString>

#include <windows.h>

namespace core::com {

// An automation string (BSTR) of our own, freed when it goes. A null or empty QString becomes an allocated
// empty string, never a null BSTR, so a component that reads its length finds 0 either way.
class Bstr
{
public:
    explicit Bstr(const QString& text);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr();

    BSTR get() const { return m_string; }
    // Hands the string to the caller (a VARIANT that frees it).
    BSTR detach();

    // The text of an automation string, embedded NULs included; a null BSTR is the empty text.
    static QString toQString(BSTR string);

private:
    BSTR m_string = nullptr;
};

} // namespace core::com
