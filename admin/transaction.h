#pragma once

#include "core/errorvalue.h"
#include "data/connection.h"

namespace admin {

// Runs the statements of work on the connection as one transaction: all of them stay, or, when work
// throws, none does and the error is passed on.
template <typename Work> void inTransaction(data::Connection& office, Work&& work)
{
    office.execute(QStringLiteral("BEGIN TRANSACTION"));
    try {
        work();
        office.execute(QStringLiteral("COMMIT TRANSACTION"));
    } catch (...) {
        try {
            office.execute(QStringLiteral("ROLLBACK TRANSACTION"));
        } catch (const core::Error&) {
            // The failing statement may already have ended the transaction.
        }
        throw;
    }
}

} // namespace admin
