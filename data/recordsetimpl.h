#pragma once

#include "data/connection.h"

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
    QList<QVariantList> rows;
    qsizetype current = 0;
    bool closed = false;
    std::shared_ptr<const ConnectionState> connection;
    quint64 session = 0;
};

// The error for a statement or result set on a closed or broken connection.
core::Error closedConnectionError();

} // namespace data
