#pragma once

#include <QMap>
#include <QString>

namespace data {

// The parts of an OLE DB style connection text
// ("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=u;Password=p;Initial Catalog=c;Data Source=s;Connect
// Timeout=15").
//
// Quoting follows OLE DB's rules, so that nothing a person types can add or change a key: a value holding ';',
// '\'', '"', '=' or blanks at either end is written in double quotes with every double quote inside doubled; the
// reader undoes exactly that. Keys are matched ignoring letter case and surrounding blanks; unquoted values lose
// their surrounding blanks. The usual synonyms are read too: UID/User, PWD, Database, Server/Address,
// Connection Timeout/Timeout; a synonym counts as its key.
struct ConnectionText {
    QString provider;
    QString persistSecurityInfo;
    QString userId;
    QString password;
    QString initialCatalog;
    QString dataSource;
    // Seconds; 15 when missing, not a number, or not above 0.
    int connectTimeout = 15;
    // Keys not listed above (lower case) with their values.
    QMap<QString, QString> others;

    // Reads a connection text. Throws core::Error (provider error) when a quote is not closed, something other
    // than blanks follows a closing quote, a piece has no '=', or a key (or one of its synonyms) comes twice.
    // The message never quotes the text: it may hold a password.
    static ConnectionText parse(const QString& text);

    // The text both login connections are opened with, keys in this order: Provider=SQLOLEDB.1, Persist Security
    // Info, User ID, Password, Initial Catalog, Data Source, Connect Timeout=15. Plain values are written as they
    // are, so the text is byte for byte the usual one; other values are quoted as above.
    static QString forLogin(const QString& securityInfo, const QString& user, const QString& password,
                            const QString& catalog, const QString& dataSource);

    // A value as it must stand after "key=".
    static QString quoted(const QString& value);

    // True when the Data Source names a database file rather than a server: it holds '/', starts
    // with a drive ("C:\") or two backslashes, or ends in .db, .sqlite or .sqlite3. "host\instance"
    // and "host,port" name servers.
    bool namesDatabaseFile() const;
};

} // namespace data
