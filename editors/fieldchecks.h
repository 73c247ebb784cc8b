#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// What the editors accept in their fields, and the message that says why a value is refused. Every
// refusal names the field by its label; nothing here writes or shows anything.
namespace editors::fields {

// The most minutes one entry may count: a whole day.
constexpr qint64 MostMinutes = qint64(24) * 60;

struct DateRead {
    std::optional<QDateTime> value; // nothing for a blank field
    QString problem;                // empty when the text was read
};
// A date typed day first ("dd-mm-aaaa", optionally followed by "hh:mm"), between the years 1900 and
// 9999; a blank field is no date, refused when required.
DateRead readDate(const QString& label, const QString& text, bool required);

// As readDate, but text still showing loaded (as dateText shows it) gives loaded itself, to the millisecond.
DateRead readDateKeeping(const QString& label, const QString& text, bool required, const QVariant& loaded,
                         bool withTime);

struct MinutesRead {
    qint64 value = 0;
    QString problem;
};
// Whole minutes from fewest (0 unless given) to MostMinutes, digits only; the problem names that range.
MinutesRead readMinutes(const QString& label, const QString& text, qint64 fewest = 0);

// A date as a date field shows it: "dd-mm-aaaa", with " hh:mm" (and ":ss" when not 0) when withTime;
// blank for null.
QString dateText(const QVariant& value, bool withTime);

} // namespace editors::fields
