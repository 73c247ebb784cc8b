#include "editors/recordsnapshot.h"

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/moddata.h"
#include "data/valuetext.h"

#include <cmath>

namespace editors {

RecordSnapshot::RecordSnapshot(const QString& table, const QString& key, qint64 id, const QStringList& columns)
    : m_table(table)
    , m_key(key)
    , m_id(id)
    , m_columns(columns)
{}

QString RecordSnapshot::selectStatement() const
{
    return QStringLiteral("SELECT * FROM ") + m_table + QStringLiteral(" WHERE ") + m_key + QStringLiteral(" = ") +
           QString::number(m_id);
}

QHash<QString, QVariant> RecordSnapshot::read(const data::Recordset& record) const
{
    QHash<QString, QVariant> values;
    for (const QString& column : m_columns) {
        values.insert(column, record.hasField(column) ? record.value(column) : QVariant());
    }
    return values;
}

void RecordSnapshot::load(const data::Recordset& record)
{
    if (record.isOpen() && !record.eof()) {
        m_values = read(record);
    } else if (!reload()) {
        throw core::standardError(core::errc::NoCurrentRecord);
    }
}

bool RecordSnapshot::reload()
{
    auto record = data::Data::SqlServer().openRecordset(selectStatement());
    const bool found = !record->eof();
    if (found) {
        m_values = read(*record);
    }
    record->close();
    return found;
}

QString RecordSnapshot::asLoaded() const
{
    using data::modData::SqlLiteral;
    namespace literal = data::modData::literal;
    QString condition;
    for (const QString& column : m_columns) {
        const QVariant& value = m_values.value(column);
        condition += QStringLiteral(" AND ") + column;
        if (data::valueText::isNull(value)) {
            condition += QStringLiteral(" IS NULL");
        } else if (value.typeId() == QMetaType::QDateTime) {
            // Within the loaded second: a date read back may carry milliseconds the literal cannot.
            const QDateTime second = QDateTime::fromSecsSinceEpoch(value.toDateTime().toSecsSinceEpoch());
            condition += QStringLiteral(" >= ") + SqlLiteral(second, literal::Date) + QStringLiteral(" AND ") + column +
                         QStringLiteral(" < ") + SqlLiteral(second.addSecs(1), literal::Date);
        } else if (value.typeId() == QMetaType::Bool) {
            condition += value.toBool() ? QStringLiteral(" <> 0") : QStringLiteral(" = 0");
        } else if (value.typeId() == QMetaType::QString) {
            // A binary collation: the column's own ignores letter case, and so would the comparison.
            condition += QStringLiteral(" COLLATE Latin1_General_BIN2 = ") + data::modData::ExactText(value.toString());
        } else {
            condition += QStringLiteral(" = ") + SqlLiteral(value, literal::Number);
        }
    }
    return condition;
}

RecordSnapshot::Outcome RecordSnapshot::save(const QString& assignments, const QString& condition)
{
    data::Connection& db = data::Data::SqlServer();
    const qint64 rows = db.execute(QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") + assignments +
                                   QStringLiteral(" WHERE ") + m_key + QStringLiteral(" = ") + QString::number(m_id) +
                                   asLoaded() + condition);
    if (rows != 0) {
        return Outcome::Saved;
    }
    auto record = db.openRecordset(selectStatement());
    if (record->eof()) {
        return Outcome::Gone;
    }
    const QHash<QString, QVariant> now = read(*record);
    record->close();
    for (const QString& column : m_columns) {
        if (!sameValue(now.value(column), m_values.value(column))) {
            return Outcome::Changed;
        }
    }
    return condition.isEmpty() ? Outcome::Changed : Outcome::Refused;
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    using data::valueText::isNull;
    if (isNull(a) || isNull(b)) {
        return isNull(a) && isNull(b);
    }
    if (a.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDateTime) {
        const QDateTime x = a.toDateTime();
        const QDateTime y = b.toDateTime();
        return x.isValid() && y.isValid() && x.toSecsSinceEpoch() == y.toSecsSinceEpoch();
    }
    if (a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString) {
        return std::abs(a.toDouble() - b.toDouble()) < 1e-9;
    }
    return a.toString() == b.toString();
}

} // namespace editors
