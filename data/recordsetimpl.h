#pragma once

#include "data/connection.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace data {

// The database library's error numbers, kept in core's table.
namespace recordsetErrors = core::errc;

// What a connection's result sets need to know of it: whether the session they came from is still open.
struct ConnectionState {
    bool open = false;
    quint64 session = 0;
};

struct Recordset::Impl {
    QStringList names;
    // Each spelling of a field name asked for, with its column: a record is read by the same names
    // again and again.
    QHash<QString, qsizetype> columns;
    // The last names asked for, each held (so its text cannot change or be freed while kept here) and
    // found again by the address of its text: a loop asks with the same few literals, row after row.
    QList<std::pair<QString, qsizetype>> recent;
    QList<QVariantList> rows;
    qsizetype current = 0;
    bool closed = false;
    std::shared_ptr<const ConnectionState> connection;
    quint64 session = 0;
};

// The error for a statement or result set on a closed or broken connection.
core::Error closedConnectionError();

} // namespace data
