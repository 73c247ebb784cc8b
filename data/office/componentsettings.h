#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace data {

// Where this workstation finds the office's record-editor components: under the shared machine key, one value a
// kind, named after the kind, holding the component's class identifier and the identifier of its custom
// interface, "{class};{interface}". Which identifiers a kind has belongs to the components themselves.
struct ComponentIdentifiers {
    QString classId;     // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case
    QString interfaceId; // the same form

    // The value's text, "{class};{interface}".
    QString text() const;
    // Reads "{class};{interface}": two identifiers, with or without braces, in any letter case, parted by ';',
    // ',' or blanks. Nothing for any other text.
    static std::optional<ComponentIdentifiers> parse(const QString& text);

    // The five kinds, as their values are named: "TimeEntryEditor", "WorkAssistant", "TaskEditor",
    // "CaseEditor" and "WorkEditor".
    static const QStringList& kinds();
    // The identifiers the machine settings give kind. Nothing when the value is missing or empty; throws
    // core::Error naming the value when its text is not two identifiers.
    static std::optional<ComponentIdentifiers> read(const QString& kind);
    // Writes kind's value; with nothing, empties it (the kind then uses the counter's own editor). Throws
    // core::Error for an unknown kind or a value that could not be written.
    static void write(const QString& kind, const std::optional<ComponentIdentifiers>& identifiers);
};

} // namespace data
