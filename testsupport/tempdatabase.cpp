#include "testsupport/tempdatabase.h"

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/engines/embedded.h"
#include "data/engines/embeddedfile.h"
#include "data/engines/odbcconnection.h"
#include "data/office/postgresadmin.h"
#include "data/office/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

namespace {

// In memory where the system offers a memory file system: the tests then never wait for the disk.
QString folderTemplate(TempDatabase::Place place)
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    if (place == TempDatabase::Place::Memory && memory.isDir() && memory.isWritable()) {
        return QStringLiteral("/dev/shm/orvtest-XXXXXX");
    }
    return QDir::tempPath() + QStringLiteral("/orvtest-XXXXXX");
}

QString readServerFile(const QString& folder, const QString& name)
{
    QFile file(folder + QLatin1Char('/') + name);
    if (folder.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("ORV_TEST_ENGINE=postgres, but no private server is running (ORV_TEST_PG_DIR "
                                         "'%1' has no %2): see scripts/pg-server.sh")
                              .arg(folder, name));
    }
    return QString::fromUtf8(file.readAll()).trimmed();
}

const data::OdbcConnection::TransportSecurity PlainLink{false, false};

// The embedded file's one write lock, taken by a transaction of another connection; closing the file ends it.
struct FileWriteLock : TempDatabase::WriteLock {
    explicit FileWriteLock(const QString& path)
        : file(path, data::embedded::EmbeddedFile::Mode::Existing)
    {
        file.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    data::embedded::EmbeddedFile file;
};

// The server's time-entry table locked against writers by a transaction of the admin's session.
struct TableWriteLock : TempDatabase::WriteLock {
    explicit TableWriteLock(std::unique_ptr<data::PostgresAdmin> session)
        : admin(std::move(session))
    {
        admin->begin();
        admin->exec(QStringLiteral("LOCK TABLE tbprocessos_trabalhos_tarefas_lancamentos IN EXCLUSIVE MODE"));
    }
    ~TableWriteLock() override
    {
        try {
            admin->rollback();
        } catch (const core::Error&) {
        }
    }
    std::unique_ptr<data::PostgresAdmin> admin;
};

} // namespace

// The private server, as the admin reaches it.
struct TempDatabase::Server {
    QString dataSource;
    QString adminPassword;

    data::PostgresAdmin admin(const QString& database) const
    {
        return data::PostgresAdmin(dataSource, QStringLiteral("orvadmin"), adminPassword, database, PlainLink);
    }
};

bool TempDatabase::onPostgres()
{
    return qEnvironmentVariable("ORV_TEST_ENGINE").compare(QLatin1String("postgres"), Qt::CaseInsensitive) == 0;
}

TempDatabase::TempDatabase(Place place)
    : m_dir(folderTemplate(place))
    , m_path(m_dir.filePath(QStringLiteral("orvtest.db")))
    , m_databaseName(catalog())
    , m_dataSource(m_path)
{
    if (!m_dir.isValid()) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("No temporary folder: ") + m_dir.errorString());
    }
    if (onPostgres()) {
        const QString folder = qEnvironmentVariable("ORV_TEST_PG_DIR");
        m_server = std::make_shared<Server>();
        m_server->dataSource = QStringLiteral("127.0.0.1,") + readServerFile(folder, QStringLiteral("port"));
        m_server->adminPassword = readServerFile(folder, QStringLiteral("adminpw"));
        m_dataSource = m_server->dataSource;
        static int made = 0;
        m_databaseName = QStringLiteral("orvtest_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
        data::Connection::setEngine(data::Connection::Engine::PostgreSQL);
        data::OdbcConnection::setTransportSecurity(PlainLink);
        auto admin = m_server->admin(QStringLiteral("postgres"));
        admin.setLogin(user(), password());
        admin.dropOffice(m_databaseName);
        admin.createOffice(m_databaseName, user());
        return;
    }
    data::embedded::createDatabase(m_path, catalog());
    addLogin(user(), password());
    data::schema::create(m_path);
}

TempDatabase::~TempDatabase()
{
    data::Connection& shared = data::Data::SqlServer();
    if (shared.isOpen() && shared.connectionString().contains(m_server ? m_databaseName : m_path)) {
        shared.close();
    }
    data::embedded::setServerClock({});
    if (m_server) {
        try {
            m_server->admin(QStringLiteral("postgres")).dropOffice(m_databaseName);
        } catch (const core::Error&) {
            // The server is gone: its folder goes with it.
        }
        data::Connection::setEngine(data::Connection::Engine::SqlServer);
        data::OdbcConnection::setTransportSecurity({});
    }
}

QString TempDatabase::connectionText(const QString& user, const QString& password) const
{
    return data::ConnectionText::forLogin(QStringLiteral("False"), user, password, m_databaseName, m_dataSource);
}

void TempDatabase::openShared()
{
    data::Connection& shared = data::Data::SqlServer();
    shared.close();
    shared.open(connectionText());
}

void TempDatabase::addLogin(const QString& user, const QString& password)
{
    if (m_server) {
        m_server->admin(QStringLiteral("postgres")).setLogin(user, password);
        if (user != TempDatabase::user()) {
            // Any login of the fixture may serve as the shared account.
            auto office = m_server->admin(m_databaseName);
            const QString role = data::PostgresAdmin::name(user.toLower());
            office.exec(QStringLiteral("GRANT ALL ON ALL TABLES IN SCHEMA public TO ") + role);
            office.exec(QStringLiteral("GRANT ALL ON ALL SEQUENCES IN SCHEMA public TO ") + role);
        }
        return;
    }
    data::embedded::setLoginHashCost(data::embedded::HashCost::Minimal);
    data::embedded::addLogin(m_path, user, password);
    data::embedded::setLoginHashCost(data::embedded::HashCost::Interactive);
}

void TempDatabase::exec(const QString& sql)
{
    if (m_server) {
        auto admin = m_server->admin(m_databaseName);
        admin.exec(sql);
        // Entries inserted with their number: the server's own numbering continues after them.
        admin.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('tbprocessos_trabalhos_tarefas_lancamentos', "
                                  "'lancamento_id'), COALESCE(MAX(lancamento_id), 0) + 1, false) "
                                  "FROM tbprocessos_trabalhos_tarefas_lancamentos"));
        return;
    }
    data::embedded::EmbeddedFile(m_path, data::embedded::EmbeddedFile::Mode::Existing).exec(sql);
}

QList<QVariantList> TempDatabase::select(const QString& sql, QStringList* names)
{
    if (m_server) {
        return m_server->admin(m_databaseName).select(sql, names);
    }
    return data::embedded::EmbeddedFile(m_path, data::embedded::EmbeddedFile::Mode::Existing).select(sql, names);
}

std::unique_ptr<TempDatabase::WriteLock> TempDatabase::lockWrites()
{
    if (m_server) {
        return std::make_unique<TableWriteLock>(std::make_unique<data::PostgresAdmin>(
            m_server->dataSource, QStringLiteral("orvadmin"), m_server->adminPassword, m_databaseName, PlainLink));
    }
    return std::make_unique<FileWriteLock>(m_path);
}

} // namespace testsupport
