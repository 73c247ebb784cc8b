#include "counter/commands/recordlookup.h"

#include "core/messagebox.h"
#include "data/timeentries/timeentries.h"
#include "data/valuetext.h"

namespace counter::recordLookup {

qint32 keyId(const QString& key)
{
    return data::valueText::toLong(QVariant(key.mid(1)));
}

int taskToSelect(const QString& key) noexcept
{
    try {
        return keyId(key);
    } catch (...) {
        return 0;
    }
}

QString identifier(const QVariant& value)
{
    return QString::number(data::valueText::toLong(value));
}

void missingField(const QString& field)
{
    core::msgBox(data::timeEntries::missingFieldText(field), core::Buttons::Ok, core::Icon::Critical);
}

} // namespace counter::recordLookup
