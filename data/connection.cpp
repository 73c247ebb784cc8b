#include "data/connection.h"

#include "data/connectiontext.h"
#include "data/embeddedconnection.h"
#include "data/odbcconnection.h"
#include "data/postgresconnection.h"
#include "data/recordsetimpl.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

namespace data {

namespace {

std::atomic<Connection::Engine>& engineSlot()
{
    static std::atomic<Connection::Engine> engine = Connection::Engine::SqlServer;
    return engine;
}

} // namespace

void Connection::setEngine(Engine engine)
{
    engineSlot() = engine;
}

Connection::Engine Connection::engine()
{
    return engineSlot();
}

std::optional<Connection::Engine> Connection::engineNamed(const QString& name)
{
    const QString plain = name.trimmed();
    if (plain.isEmpty() || plain.compare(QLatin1String("SQLServer"), Qt::CaseInsensitive) == 0) {
        return Engine::SqlServer;
    }
    if (plain.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0) {
        return Engine::PostgreSQL;
    }
    if (plain.compare(QLatin1String("Embedded"), Qt::CaseInsensitive) == 0) {
        return Engine::Embedded;
    }
    return std::nullopt;
}

struct Connection::Impl {
    QString name;
    QString text;
    std::unique_ptr<ConnectionBackend> backend;
    std::shared_ptr<ConnectionState> state = std::make_shared<ConnectionState>();
    // Set when the link was lost (not closed by its owner): the next statement tries to open it again.
    bool lost = false;
    std::function<void()> reopen;

    // Forgets the database session; its result sets see the connection as closed from now on.
    void drop()
    {
        if (QSqlDatabase::contains(name)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
        state->open = false;
        ++state->session;
    }

    // Logs and sends one statement; returns the executed query. Throws core::Error.
    QSqlQuery send(const QString& sql)
    {
        StatementLog::append(sql);
        StatementFailures::check(sql);
        if (!state->open && lost) {
            try {
                reopen();
            } catch (...) {
                throw closedConnectionError();
            }
        }
        if (!state->open) {
            throw closedConnectionError();
        }
        if (backend->movedAway(QSqlDatabase::database(name, false))) {
            loseLink();
        }
        QSqlQuery query(QSqlDatabase::database(name, false));
        query.setForwardOnly(true);
        if (!query.exec(backend->translate(sql))) {
            fail(query.lastError());
        }
        return query;
    }

    [[noreturn]] void loseLink()
    {
        drop();
        lost = true;
        throw closedConnectionError();
    }

    [[noreturn]] void fail(const QSqlError& error)
    {
        if (backend->linkLost(error)) {
            loseLink();
        }
        throw core::Error(backend->errorValue(error));
    }
};

Connection::Connection()
    : m_impl(std::make_unique<Impl>())
{
    static std::atomic<int> counter = 0;
    m_impl->name = QStringLiteral("orv_connection_%1").arg(++counter);
    m_impl->reopen = [this] { open(); };
}

Connection::~Connection()
{
    close();
}

QString Connection::connectionString() const
{
    return m_impl->text;
}

void Connection::setConnectionString(const QString& text)
{
    m_impl->text = text;
}

void Connection::open()
{
    if (isOpen()) {
        throw core::Error(recordsetErrors::ObjectOpen,
                          QStringLiteral("Operation is not allowed when the object is open."));
    }
    const ConnectionText text = ConnectionText::parse(m_impl->text);
    if (text.namesDatabaseFile() || engine() == Engine::Embedded) {
        m_impl->backend = std::make_unique<EmbeddedConnection>();
    } else if (engine() == Engine::PostgreSQL) {
        m_impl->backend = std::make_unique<PostgresConnection>();
    } else {
        m_impl->backend = std::make_unique<OdbcConnection>();
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(m_impl->backend->driverName(), m_impl->name);
        try {
            if (!db.isValid()) {
                throw core::Error(core::errc::ProviderError, QStringLiteral("Provider cannot be found. It may not be "
                                                                            "properly installed."));
            }
            m_impl->backend->open(db, text);
        } catch (...) {
            db = QSqlDatabase();
            m_impl->drop();
            throw;
        }
    }
    m_impl->state->open = true;
    m_impl->lost = false;
    ++m_impl->state->session;
}

void Connection::open(const QString& connectionText)
{
    if (isOpen()) {
        throw core::Error(recordsetErrors::ObjectOpen,
                          QStringLiteral("Operation is not allowed when the object is open."));
    }
    setConnectionString(connectionText);
    open();
}

bool Connection::isOpen() const
{
    return m_impl->state->open;
}

void Connection::close()
{
    m_impl->drop();
    m_impl->lost = false;
}

void Connection::execute(const QString& sql)
{
    m_impl->send(sql);
}

std::unique_ptr<Recordset> Connection::openRecordset(const QString& sql)
{
    QSqlQuery query = m_impl->send(sql);
    auto impl = std::make_unique<Recordset::Impl>();
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        impl->names.append(record.fieldName(i));
    }
    const QList<ColumnKind> kinds = m_impl->backend->columnKinds(query);
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < record.count(); ++i) {
            row.append(query.isNull(i) ? QVariant() : recordsetValue(query.value(i), kinds.value(i)));
        }
        impl->rows.append(row);
    }
    if (query.lastError().isValid()) {
        m_impl->fail(query.lastError());
    }
    query.finish();
    impl->connection = m_impl->state;
    impl->session = m_impl->state->session;
    return std::unique_ptr<Recordset>(new Recordset(std::move(impl)));
}

Connection& Data::SqlServer()
{
    // Never destroyed: the shared connection lives as long as the process.
    static Connection* const connection = new Connection();
    return *connection;
}

} // namespace data
