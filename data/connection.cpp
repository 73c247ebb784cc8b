#include "data/connection.h"

#include "data/connectiontext.h"
#include "data/engines/embeddedconnection.h"
#include "data/engines/embeddedlogins.h"
#include "data/engines/odbcconnection.h"
#include "data/engines/postgresconnection.h"
#include "data/recordsetimpl.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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
    std::function<void(bool up)> observer;

    void tell(bool up) const
    {
        if (observer) {
            observer(up);
        }
    }

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

    // Logs one statement and makes the session ready for it: reopened after a lost link, refused when
    // closed or when its database moved away. Returns the open database. Throws core::Error.
    QSqlDatabase ready(const QString& sql)
    {
        StatementLog::append(sql);
        StatementFailures::check(sql);
        if (!state->open && lost) {
            try {
                reopen();
            } catch (...) {
                throw closedConnectionError();
            }
            tell(true);
        }
        if (!state->open) {
            throw closedConnectionError();
        }
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (backend->movedAway(db)) {
            loseLink();
        }
        return db;
    }

    // Logs and sends one statement; returns the executed query. Throws core::Error.
    QSqlQuery send(const QString& sql)
    {
        QSqlQuery query(ready(sql));
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
        tell(false);
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

void Connection::checkLoginAhead(const QString& connectionText)
{
    try {
        const ConnectionText text = ConnectionText::parse(connectionText);
        if (text.namesDatabaseFile() || engine() == Engine::Embedded) {
            embedded::checkLoginAhead(text.dataSource.trimmed(), text.userId, text.password);
        }
    } catch (...) {
        // The open tells what is wrong with the text.
    }
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

qint64 Connection::execute(const QString& sql)
{
    return m_impl->send(sql).numRowsAffected();
}

void Connection::begin()
{
    QSqlDatabase db = m_impl->ready(QStringLiteral("BEGIN TRANSACTION"));
    if (const auto error = m_impl->backend->begin(db)) {
        m_impl->fail(*error);
    }
}

void Connection::commit()
{
    QSqlDatabase db = m_impl->ready(QStringLiteral("COMMIT TRANSACTION"));
    if (!db.commit()) {
        m_impl->fail(db.lastError());
    }
}

void Connection::rollback()
{
    QSqlDatabase db = m_impl->ready(QStringLiteral("ROLLBACK TRANSACTION"));
    if (!db.rollback()) {
        m_impl->fail(db.lastError());
    }
}

bool Connection::linkLost() const
{
    return m_impl->lost;
}

void Connection::setLinkObserver(std::function<void(bool up)> observer)
{
    m_impl->observer = std::move(observer);
}

Transaction::Transaction(Connection& connection)
    : m_connection(connection)
{
    m_connection.begin();
}

Transaction::~Transaction()
{
    // A connection closed or lost since took its transaction with it.
    if (!m_done && m_connection.isOpen()) {
        try {
            m_connection.rollback();
        } catch (const core::Error&) {
            // The link went with the transaction.
        }
    }
}

void Transaction::commit()
{
    m_connection.commit();
    m_done = true;
}

std::unique_ptr<Recordset> Connection::openRecordset(const QString& sql)
{
    const QSqlDatabase db = m_impl->ready(sql);
    ResultRows result;
    if (const auto error = m_impl->backend->select(db, m_impl->backend->translate(sql), result)) {
        m_impl->fail(*error);
    }
    auto impl = std::make_unique<Recordset::Impl>();
    impl->names = std::move(result.names);
    impl->rows = std::move(result.rows);
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
