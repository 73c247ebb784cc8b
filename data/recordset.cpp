#include "data/recordsetimpl.h"

namespace data {

namespace {

core::Error closedRecordsetError()
{
    return core::Error(recordsetErrors::ObjectClosed,
                       QStringLiteral("Operation is not allowed when the object is closed."));
}

core::Error noCurrentRecordError()
{
    return core::Error(recordsetErrors::NoCurrentRecord,
                       QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                      "Requested operation requires a current record."));
}

} // namespace

core::Error closedConnectionError()
{
    return core::Error(core::errc::ClosedConnection,
                       QStringLiteral("The connection cannot be used to perform this operation. It is either closed "
                                      "or invalid in this context."));
}

Recordset::Recordset(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{}

Recordset::~Recordset() = default;

void Recordset::checkConnection() const
{
    if (!m_impl->connection->open || m_impl->connection->session != m_impl->session) {
        throw closedConnectionError();
    }
}

bool Recordset::eof() const
{
    if (m_impl->closed) {
        throw closedRecordsetError();
    }
    return m_impl->current >= m_impl->rows.size();
}

void Recordset::moveNext()
{
    if (eof()) {
        throw noCurrentRecordError();
    }
    checkConnection();
    ++m_impl->current;
}

QStringList Recordset::fieldNames() const
{
    if (m_impl->closed) {
        throw closedRecordsetError();
    }
    return m_impl->names;
}

bool Recordset::hasField(const QString& name) const
{
    return fieldNames().contains(name, Qt::CaseInsensitive);
}

QVariant Recordset::value(const QString& name) const
{
    const QStringList names = fieldNames();
    qsizetype column = 0;
    while (column < names.size() && names.at(column).compare(name, Qt::CaseInsensitive) != 0) {
        ++column;
    }
    if (column == names.size()) {
        throw core::Error(recordsetErrors::ItemNotFound,
                          QStringLiteral("Item cannot be found in the collection corresponding to the requested name "
                                         "or ordinal."));
    }
    checkConnection();
    if (eof()) {
        throw noCurrentRecordError();
    }
    return m_impl->rows.at(m_impl->current).value(column);
}

void Recordset::close()
{
    m_impl->closed = true;
    m_impl->rows.clear();
}

bool Recordset::isOpen() const
{
    return !m_impl->closed;
}

} // namespace data
