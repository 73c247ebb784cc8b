#include "counter/watch/preferences.h"

#include "registry/modregistry.h"
#include "session/modcode.h"

namespace counter {
namespace {

const QString AbsenceName = QStringLiteral("AusenciaMinutos");
const QString LongCountName = QStringLiteral("ContagemLongaHoras");
const QString DayStartName = QStringLiteral("HorarioInicio");
const QString DayEndName = QStringLiteral("HorarioFim");
const QString SilentName = QStringLiteral("SemContagemMinutos");
const QString TimeFormat = QStringLiteral("HH:mm");

// A whole number from 0 to most; the default for anything else.
int readWhole(const QString& name, int fallback, int most)
{
    const auto text = registry::modRegistry::ValorString(Preferences::key(), name);
    bool ok = false;
    const int value = text ? text->trimmed().toInt(&ok) : 0;
    return ok && value >= 0 && value <= most ? value : fallback;
}

QTime readTime(const QString& name, const QTime& fallback)
{
    const auto text = registry::modRegistry::ValorString(Preferences::key(), name);
    const QTime value = text ? QTime::fromString(text->trimmed(), TimeFormat) : QTime();
    return value.isValid() ? value : fallback;
}

} // namespace

QString Preferences::key()
{
    return session::modCode::UserKey() + QStringLiteral("\\Preferencias");
}

Preferences Preferences::load()
{
    const Preferences defaults;
    Preferences stored;
    constexpr int MinutesOfADay = 24 * 60;
    stored.absenceMinutes = readWhole(AbsenceName, defaults.absenceMinutes, MinutesOfADay);
    stored.longCountHours = readWhole(LongCountName, defaults.longCountHours, 24);
    stored.dayStart = readTime(DayStartName, defaults.dayStart);
    stored.dayEnd = readTime(DayEndName, defaults.dayEnd);
    stored.silentMinutes = readWhole(SilentName, defaults.silentMinutes, MinutesOfADay);
    return stored;
}

bool Preferences::save() const
{
    using registry::modRegistry::DefinirValorString;
    return registry::modRegistry::CriarChave(key()) &&
           DefinirValorString(key(), AbsenceName, QString::number(absenceMinutes)) &&
           DefinirValorString(key(), LongCountName, QString::number(longCountHours)) &&
           DefinirValorString(key(), DayStartName, dayStart.toString(TimeFormat)) &&
           DefinirValorString(key(), DayEndName, dayEnd.toString(TimeFormat)) &&
           DefinirValorString(key(), SilentName, QString::number(silentMinutes));
}

} // namespace counter
