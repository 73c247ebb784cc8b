#pragma once

#include <QMap>
#include <QString>

namespace data {

// The parts of an OLE DB style connection text
// ("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=u;Password=p;Initial Catalog=c;Data Source=s;Connect
// Timeout=15"). Keys are matched ignoring letter case and surrounding blanks; a value may be empty, and a value in
// double or single quotes may hold ';' (a doubled quote stands for itself). Unquoted values lose their
// surrounding blanks. The usual synonyms are read too: UID/User, PWD, Database, Server/Address,
// Connection Timeout/Timeout.
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

    // Never fails: pieces without '=' are ignored, a later key replaces an earlier one.
    static ConnectionText parse(const QString& text);

    // True when the Data Source names a database file rather than a server: it holds '/', starts
    // with a drive ("C:\") or two backslashes, or ends in .db, .sqlite or .sqlite3. "host\instance"
    // and "host,port" name servers.
    bool namesDatabaseFile() const;
};

} // namespace data
