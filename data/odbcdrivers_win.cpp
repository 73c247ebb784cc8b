// The ODBC drivers Windows' driver manager knows (odbc32).
#include "data/odbcconnection.h"

#include <iterator>

// The ODBC headers use the Windows types, so windows.h comes first.
// clang-format off
#include <windows.h>
#include <sql.h>
#include <sqlext.h>
// clang-format on

namespace data {

QStringList OdbcConnection::preferredDrivers()
{
    return {msDriver18(), msDriver17(), QStringLiteral("SQL Server Native Client 11.0"), QStringLiteral("SQL Server")};
}

QList<QPair<QString, QString>> OdbcConnection::installedDrivers()
{
    QList<QPair<QString, QString>> drivers;
    SQLHENV environment = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment))) {
        return drivers;
    }
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLWCHAR name[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDriversW(environment, direction, name, SQLSMALLINT(std::size(name)), &nameLength,
                                     attributes, SQLSMALLINT(std::size(attributes)), &attributesLength))) {
        direction = SQL_FETCH_NEXT;
        QString library;
        // The attributes are "key=value" texts, each ended by a zero, the list by a second zero.
        for (const SQLWCHAR* attribute = attributes; *attribute != 0;) {
            const QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(attribute));
            if (text.section(QLatin1Char('='), 0, 0).compare(QLatin1String("Driver"), Qt::CaseInsensitive) == 0) {
                library = text.section(QLatin1Char('='), 1);
            }
            attribute += text.size() + 1;
        }
        drivers.append({QString::fromWCharArray(reinterpret_cast<const wchar_t*>(name)), library});
    }
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    return drivers;
}

} // namespace data
