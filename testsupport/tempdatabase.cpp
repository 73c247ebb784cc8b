#include "testsupport/tempdatabase.h"

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/embedded.h"
#include "data/embeddedfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

namespace {

const QString SchemaResource = QStringLiteral(":/data/sql/embedded.sql");

// In memory where the system offers a memory file system: the tests then never wait for the disk.
QString folderTemplate()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    if (memory.isDir() && memory.isWritable()) {
        return QStringLiteral("/dev/shm/orvtest-XXXXXX");
    }
    return QDir::tempPath() + QStringLiteral("/orvtest-XXXXXX");
}

} // namespace

TempDatabase::TempDatabase()
    : m_dir(folderTemplate())
    , m_path(m_dir.filePath(QStringLiteral("orvtest.db")))
{
    if (!m_dir.isValid()) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("No temporary folder: ") + m_dir.errorString());
    }
    data::embedded::createDatabase(m_path, catalog());
    addLogin(user(), password());
    QFile schema(SchemaResource);
    if (schema.open(QIODevice::ReadOnly)) {
        data::embedded::runScript(m_path, QString::fromUtf8(schema.readAll()));
        m_hasSchema = true;
    }
}

TempDatabase::~TempDatabase()
{
    data::Connection& shared = data::Data::SqlServer();
    if (shared.isOpen() && shared.connectionString().contains(m_path)) {
        shared.close();
    }
    data::embedded::setServerClock({});
}

QString TempDatabase::connectionText(const QString& user, const QString& password) const
{
    return data::ConnectionText::forLogin(QStringLiteral("False"), user, password, catalog(), m_path);
}

void TempDatabase::openShared()
{
    data::Connection& shared = data::Data::SqlServer();
    shared.close();
    shared.open(connectionText());
}

void TempDatabase::addLogin(const QString& user, const QString& password)
{
    data::embedded::setLoginHashCost(data::embedded::HashCost::Minimal);
    data::embedded::addLogin(m_path, user, password);
    data::embedded::setLoginHashCost(data::embedded::HashCost::Interactive);
}

void TempDatabase::exec(const QString& sql)
{
    data::embedded::EmbeddedFile(m_path, data::embedded::EmbeddedFile::Mode::Existing).exec(sql);
}

QList<QVariantList> TempDatabase::select(const QString& sql, QStringList* names)
{
    return data::embedded::EmbeddedFile(m_path, data::embedded::EmbeddedFile::Mode::Existing).select(sql, names);
}

QVariant TempDatabase::scalar(const QString& sql)
{
    const QList<QVariantList> rows = select(sql);
    return rows.isEmpty() ? QVariant() : rows.first().value(0);
}

void TempDatabase::setServerClock(const QDateTime& now)
{
    data::embedded::setServerClock([now] { return now; });
}

void TempDatabase::setServerClock(std::function<QDateTime()> clock)
{
    data::embedded::setServerClock(std::move(clock));
}

} // namespace testsupport
