#include "editors/fieldchecks.h"

#include "data/valuetext.h"

namespace editors::fields {

DateRead readDate(const QString& label, const QString& text, bool required)
{
    DateRead read;
    if (text.trimmed().isEmpty()) {
        if (required) {
            read.problem = QStringLiteral("Indique a data no campo «%1».").arg(label);
        }
        return read;
    }
    const std::optional<QDateTime> value = data::valueText::parseDate(text.trimmed());
    if (!value || value->date().year() < 1900 || value->date().year() > 9999 || *value == data::valueText::noDate()) {
        read.problem = QStringLiteral("O campo «%1» não tem uma data válida. Escreva-a na forma dd-mm-aaaa (por "
                                      "exemplo 05-03-2009), com a hora a seguir quando a houver (14:30).")
                           .arg(label);
        return read;
    }
    read.value = value;
    return read;
}

DateRead readDateKeeping(const QString& label, const QString& text, bool required, const QVariant& loaded,
                         bool withTime)
{
    const QString shown = dateText(loaded, withTime);
    if (!shown.isEmpty() && text.trimmed() == shown) {
        return {data::valueText::toDateTime(loaded), QString()};
    }
    return readDate(label, text, required);
}

MinutesRead readMinutes(const QString& label, const QString& text, qint64 fewest)
{
    MinutesRead read;
    const QString digits = text.trimmed();
    bool whole = !digits.isEmpty() && digits.size() <= 5;
    for (const QChar c : digits) {
        whole = whole && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    }
    const qint64 value = whole ? digits.toLongLong() : -1;
    if (value < fewest || value > MostMinutes) {
        read.problem = QStringLiteral("O campo «%1» aceita minutos inteiros de %2 a %3 (24 horas).")
                           .arg(label)
                           .arg(fewest)
                           .arg(MostMinutes);
        return read;
    }
    read.value = value;
    return read;
}

QString dateText(const QVariant& value, bool withTime)
{
    if (data::valueText::isNull(value) || !data::valueText::isDate(value)) {
        return QString();
    }
    const QDateTime when = data::valueText::toDateTime(value);
    if (!withTime) {
        return when.toString(QStringLiteral("dd-MM-yyyy"));
    }
    // Seconds only when there are some, so that a date saved unchanged keeps them.
    return when.toString(when.time().second() == 0 ? QStringLiteral("dd-MM-yyyy HH:mm")
                                                   : QStringLiteral("dd-MM-yyyy HH:mm:ss"));
}

} // namespace editors::fields
