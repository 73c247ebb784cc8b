#include "data/recordsetimpl.h"

namespace data {

namespace {

// How many names a set remembers by the address of their text.
constexpr qsizetype RecentNames = 32;

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

qsizetype Recordset::rowCount() const
{
    return m_impl->closed ? 0 : m_impl->rows.size();
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

qsizetype Recordset::columnOf(const QString& name) const
{
    if (m_impl->closed) {
        throw closedRecordsetError();
    }
    for (const auto& [seen, column] : m_impl->recent) {
        if (seen.constData() == name.constData() && seen.size() == name.size()) {
            return column;
        }
    }
    const qsizetype column = lookUp(name);
    if (m_impl->recent.size() < RecentNames) {
        m_impl->recent.append({name, column});
    }
    return column;
}

qsizetype Recordset::lookUp(const QString& name) const
{
    const auto known = m_impl->columns.constFind(name);
    if (known != m_impl->columns.cend()) {
        return *known;
    }
    const QStringList& names = m_impl->names;
    for (qsizetype column = 0; column < names.size(); ++column) {
        if (names.at(column).compare(name, Qt::CaseInsensitive) == 0) {
            m_impl->columns.insert(name, column);
            return column;
        }
    }
    return -1;
}

bool Recordset::hasField(const QString& name) const
{
    return columnOf(name) >= 0;
}

QVariant Recordset::value(const QString& name) const
{
    const QVariant* found = find(name);
    if (!found) {
        throw core::Error(recordsetErrors::ItemNotFound,
                          QStringLiteral("Item cannot be found in the collection corresponding to the requested name "
                                         "or ordinal."));
    }
    return *found;
}

const QVariant* Recordset::find(const QString& name) const
{
    const qsizetype column = columnOf(name);
    if (column < 0) {
        return nullptr;
    }
    checkConnection();
    if (eof()) {
        throw noCurrentRecordError();
    }
    return &m_impl->rows.at(m_impl->current).at(column);
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
