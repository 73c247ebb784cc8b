// The server's statements as the embedded engine receives them.
#include "data/engines/tsqltranslator.h"

#include <QTest>

class TestTsqlTranslator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translate_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");

        // No expected text: the statement is left as it is.
        const auto row = [](const char* name, const char* sql, const char* expected = nullptr) {
            QTest::newRow(name) << QString::fromUtf8(sql) << QString::fromUtf8(expected ? expected : sql);
        };
        row("getdate in any case and spacing", "select getdate ( ) as d", "select '2009-11-16 09:05:07' as d");
        row("start of an entry",
            "INSERT INTO t (a, data, data_fim, inprogress_time) VALUES (812, GETDATE(), null, GETDATE())",
            "INSERT INTO t (a, data, data_fim, inprogress_time) VALUES (812, '2009-11-16 09:05:07', null, "
            "'2009-11-16 09:05:07')");
        row("date bounds",
            "SELECT * FROM v WHERE data >= CONVERT(DATETIME,'2009-11-01 00:00:00',102) AND data <= "
            "CONVERT(DATETIME,'2009-11-30 23:59:59',102)",
            "SELECT * FROM v WHERE data >= '2009-11-01 00:00:00' AND data <= '2009-11-30 23:59:59'");
        row("convert with blanks, dotted date", "SELECT convert ( datetime , '2009.03.05 14:07:09' , 102 )",
            "SELECT '2009-03-05 14:07:09'");
        row("convert of no date left for the engine to refuse", "SELECT CONVERT(DATETIME,'x',102)");
        row("identity", "SELECT @@Identity as last", "SELECT last_insert_rowid() as \"last\"");
        row("reserved alias", "SELECT COUNT(*) as no FROM t WHERE (closed = 0 OR closed is null) AND trabalho_id = 3",
            "SELECT COUNT(*) as \"no\" FROM t WHERE (closed = 0 OR closed is null) AND trabalho_id = 3");
        row("plain alias untouched", "SELECT SUM(unidades) as total, tbUsers.code as user_code FROM t");
        row("quote in a name", "SELECT * FROM tbUsers WHERE descrit = 'O' + CHAR(39) + 'Neil'",
            "SELECT * FROM tbUsers WHERE descrit = 'O' || CHAR(39) || 'Neil'");
        row("two quotes in a row", "SELECT 'a' + CHAR(39) + '' + CHAR(39) + 'b'",
            "SELECT 'a' || CHAR(39) || '' || CHAR(39) || 'b'");
        row("number addition untouched", "SELECT a + 1, b+c FROM t");
        row("column plus text", "SELECT nome + ' (' + code + ')' FROM t", "SELECT nome || ' (' || code || ')' FROM t");
        row("keywords and + inside a string",
            "UPDATE t SET descrit = 'GETDATE() + CONVERT(DATETIME,''x'',102) @@Identity as no' WHERE id = 1");
        row("quoted names and comments untouched", "SELECT [GETDATE()], \"a + b\" FROM t -- GETDATE() + 'x'\n");
        row("unterminated string left alone", "SELECT 'abc + GETDATE()");
    }

    void translate()
    {
        QFETCH(QString, sql);
        const QDateTime now(QDate(2009, 11, 16), QTime(9, 5, 7));
        QTEST(data::TsqlTranslator::toEmbedded(sql, now), "expected");
    }

    // The same forms for PostgreSQL: nothing inside a literal is touched, nulls sort where SQL Server puts them.
    void toPostgres_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("expected");
        const QDateTime held(QDate(2009, 11, 16), QTime(9, 5, 7));
        // No expected text: the statement is left as it is.
        const auto row = [](const char* name, const char* sql, const char* expected, const QDateTime& now = {}) {
            QTest::newRow(name) << QString::fromUtf8(sql) << now << QString::fromUtf8(expected ? expected : sql);
        };
        row("server clock", "SELECT GETDATE() AS date", "SELECT LOCALTIMESTAMP(0) AS date");
        row("held clock", "SET data_fim = GETDATE()", "SET data_fim = TIMESTAMP '2009-11-16 09:05:07'", held);
        row("convert 102", "data >= CONVERT(DATETIME,'2009.11.01 00:00:00',102)",
            "data >= TIMESTAMP '2009-11-01 00:00:00'");
        row("identity", "SELECT @@Identity as last", "SELECT lastval() as last");
        row("char 39", "'a' + CHAR(39) + descrit", "'a' || chr(39) || descrit");
        row("literal untouched", "SELECT 'GETDATE() + CHAR(39) ORDER BY x'", nullptr);
        row("binary comparison of a citext column",
            "WHERE descrit COLLATE Latin1_General_BIN2 = 'O' + CHAR(39) + 'K' AND x = 'COLLATE Latin1_General_BIN2'",
            "WHERE descrit ::text COLLATE \"C\" = 'O' || chr(39) || 'K' AND x = 'COLLATE Latin1_General_BIN2'");
        row("names folded", "SELECT [Descrit], \"Code\" FROM t", "SELECT \"descrit\", \"code\" FROM t");
        row("order by", "SELECT a FROM t ORDER BY data_legal, b DESC",
            "SELECT a FROM t ORDER BY data_legal NULLS FIRST, b DESC NULLS LAST");
        row("order by in a subquery", "SELECT (SELECT x FROM q ORDER BY d DESC LIMIT 1) FROM t ORDER BY f(a, b)",
            "SELECT (SELECT x FROM q ORDER BY d DESC NULLS LAST LIMIT 1) FROM t ORDER BY f(a, b) NULLS FIRST");
        row("escape", "code LIKE '%!%%' ESCAPE '!'", nullptr);
    }

    void toPostgres()
    {
        QFETCH(QString, sql);
        QFETCH(QDateTime, now);
        QTEST(data::TsqlTranslator::toPostgres(sql, now), "expected");
    }
};

QTEST_GUILESS_MAIN(TestTsqlTranslator)
#include "test_tsqltranslator.moc"
