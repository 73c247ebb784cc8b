#include "data/connection.h"

#include <QMutex>
#include <QMutexLocker>

namespace data {

namespace {

struct InjectedFailure {
    core::ErrorValue error;
    QString fragment;
    bool every = false;
};

QStringList& log()
{
    static QStringList statements;
    return statements;
}

QList<InjectedFailure>& failures()
{
    static QList<InjectedFailure> list;
    return list;
}

// Connections may live in other threads (two counters on one file in a test).
QMutex& guard()
{
    static QMutex mutex;
    return mutex;
}

bool matches(const InjectedFailure& failure, const QString& sql)
{
    return failure.fragment.isEmpty() || sql.contains(failure.fragment, Qt::CaseInsensitive);
}

} // namespace

QStringList StatementLog::statements()
{
    const QMutexLocker lock(&guard());
    return log();
}

void StatementLog::clear()
{
    const QMutexLocker lock(&guard());
    log().clear();
}

void StatementLog::append(const QString& sql)
{
    const QMutexLocker lock(&guard());
    QStringList& statements = log();
    if (statements.size() >= Capacity) {
        statements.removeFirst();
    }
    statements.append(sql);
}

void StatementFailures::failNext(const core::ErrorValue& error, const QString& fragment)
{
    const QMutexLocker lock(&guard());
    failures().append({error, fragment, false});
}

void StatementFailures::failAll(const core::ErrorValue& error, const QString& fragment)
{
    const QMutexLocker lock(&guard());
    failures().append({error, fragment, true});
}

void StatementFailures::clear()
{
    const QMutexLocker lock(&guard());
    failures().clear();
}

void StatementFailures::check(const QString& sql)
{
    const QMutexLocker lock(&guard());
    QList<InjectedFailure>& list = failures();
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!list.at(i).every && matches(list.at(i), sql)) {
            const core::ErrorValue error = list.takeAt(i).error;
            throw core::Error(error);
        }
    }
    for (const InjectedFailure& failure : std::as_const(list)) {
        if (failure.every && matches(failure, sql)) {
            throw core::Error(failure.error);
        }
    }
}

} // namespace data
