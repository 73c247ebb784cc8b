#pragma once

#include <QVariant>

#include <windows.h>

namespace core::com {

// An automation VARIANT of our own, cleared when it goes, made from and read into a QVariant for the types the
// components exchange:
//
//   QVariant                                     VARIANT
//   invalid                                      VT_EMPTY
//   null of any type (a database NULL)           VT_NULL
//   QString                                      VT_BSTR
//   int, and any whole number within 32 bits     VT_I4 (read also from VT_I2, VT_UI1, VT_INT)
//   double, float                                VT_R8 (read also from VT_R4)
//   bool                                         VT_BOOL (VARIANT_TRUE is -1; any other non-zero reads as true)
//   QDateTime, QDate (its midnight)              VT_DATE, days since 1899-12-30 as the wall clock shows them
//
// Anything else throws core::Error TypeMismatch (13); a whole number beyond 32 bits throws Overflow (6).
class Variant
{
public:
    Variant();
    explicit Variant(const QVariant& value);
    Variant(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant& operator=(Variant&&) = delete;
    ~Variant();

    VARIANT* get() { return &m_value; }
    const VARIANT* get() const { return &m_value; }
    QVariant toQVariant() const { return toQVariant(m_value); }

    // The value of any VARIANT in the table above; one held by reference is read through it.
    static QVariant toQVariant(const VARIANT& value);

    // An automation date and the wall-clock time it stands for (to the millisecond; before 1899-12-30 the
    // fraction is the time of day, as automation counts it).
    static double toDate(const QDateTime& moment);
    static QDateTime fromDate(double date);

private:
    VARIANT m_value;
};

} // namespace core::com
