#include "data/connectionbackend.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

namespace data {

std::optional<QSqlError> ConnectionBackend::begin(QSqlDatabase& db) const
{
    if (!db.transaction()) {
        return db.lastError();
    }
    return std::nullopt;
}

QList<ColumnKind> ConnectionBackend::columnKinds(const QSqlQuery& query) const
{
    return QList<ColumnKind>(query.record().count(), ColumnKind::Plain);
}

std::optional<QSqlError> ConnectionBackend::select(const QSqlDatabase& db, const QString& sql, ResultRows& into) const
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        return query.lastError();
    }
    const QSqlRecord record = query.record();
    const int columns = record.count();
    for (int i = 0; i < columns; ++i) {
        into.names.append(record.fieldName(i));
    }
    const QList<ColumnKind> kinds = columnKinds(query);
    while (query.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i) {
            row.append(query.isNull(i) ? QVariant() : recordsetValue(query.value(i), kinds.value(i)));
        }
        into.rows.append(std::move(row));
    }
    if (query.lastError().isValid()) {
        return query.lastError();
    }
    return std::nullopt;
}

} // namespace data
