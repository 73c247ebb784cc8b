// The embedded engine itself; the counter's own statements are tried in test_statements.
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/engines/embedded.h"
#include "data/engines/embeddedconnection.h"
#include "data/engines/embeddedfile.h"
#include "data/engines/embeddedlayout.h"
#include "testsupport/filefault.h"
#include "testsupport/tempdatabase.h"
#include "testsupport/thrown.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <functional>
#include <sqlite3.h>
#include <thread>

using namespace Qt::StringLiterals;

using data::Connection;
using testsupport::TempDatabase;

namespace {

const QDateTime ServerClock(QDate(2009, 11, 16), QTime(9, 30, 0));
const QDateTime LastSecond(QDate(2009, 11, 30), QTime(23, 59, 59));

const char* const Office = R"(
CREATE TABLE t_cases (processo_id INTEGER PRIMARY KEY, Contacto_ID INTEGER);
CREATE TABLE t_work (trabalho_id INTEGER PRIMARY KEY, processo_id INTEGER, advogado_id INTEGER,
    data_legal DATETIME, descrit TEXT COLLATE Latin1_General_CI_AS);
CREATE TABLE t_tasks (tarefa_id INTEGER PRIMARY KEY, trabalho_id INTEGER, closed INTEGER);
CREATE TABLE t_entries (lancamento_id INTEGER PRIMARY KEY AUTOINCREMENT, tarefa_id INTEGER, data DATETIME,
    data_fim DATETIME, advogado_id INTEGER, base_id INTEGER, unidades NUMERIC, preco NUMERIC, inprogress INTEGER);
CREATE TABLE t_people (contacto_id INTEGER PRIMARY KEY, descrit TEXT COLLATE Latin1_General_CI_AS, code TEXT);
CREATE VIEW v_entries AS SELECT e.lancamento_id, e.data, e.base_id, e.advogado_id, w.descrit AS trabalho
    FROM t_entries e JOIN t_tasks k ON k.tarefa_id = e.tarefa_id JOIN t_work w ON w.trabalho_id = k.trabalho_id;
INSERT INTO t_cases VALUES (15, 402);
INSERT INTO t_work VALUES (77, 15, 9, '2009-12-01 00:00:00', 'Contestação'), (78, 15, NULL, NULL, '2009-11-16 09:00:00');
INSERT INTO t_tasks VALUES (812, 77, NULL), (813, 77, 0);
INSERT INTO t_people VALUES (9, 'O''Neil', 'AN'), (10, 'jsilva', 'JS');
INSERT INTO t_entries (tarefa_id, data, data_fim, advogado_id, base_id, unidades, preco, inprogress) VALUES
    (812, '2009-11-02 10:00:00', '2009-11-02 10:45:00', 9, 1, 45, 45.5, 0),
    (813, '2009-11-30 23:59:59', NULL, 9, 1, 0, 45.5, 1),
    (812, '2009-12-01 00:00:00', '2009-12-01 01:00:00', 9, 1, 60, 45.5, 0);
)";

const QString Insert = u"INSERT INTO t_entries (tarefa_id, data, data_fim, advogado_id, unidades, "
                       "inprogress) VALUES (812, GETDATE(), null, 9, 0, 1)"_s;
const QString Identity = u"SELECT @@Identity as last"_s;

void expectError(const std::function<void()>& action, int number, const QString& fragment = QString())
{
    const core::ErrorValue error = testsupport::thrown(action);
    QCOMPARE(error.number, number);
    QVERIFY2(error.description.contains(fragment), qPrintable(error.description));
}

const QString Entries = u"tbProcessos_Trabalhos_Tarefas_Lancamentos"_s;

// Tasks 1 (two entries), 2 (one) and 3 (none) of one work item.
const QString Tasks =
    u"INSERT INTO tbProcessos_Trabalhos (trabalho_id, advogado_id) VALUES (70, 9);\n"
    "INSERT INTO tbProcessos_Trabalhos_Tarefas (tarefa_id, trabalho_id, closed) VALUES "
    "(1, 70, 0), (2, 70, 0), (3, 70, 0);\n"
    "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (lancamento_id, tarefa_id, unidades) VALUES "
    "(1, 1, 45), (2, 1, 60), (3, 2, 30);\n"_s;

// Tasks whose view total differs from their entries' sum, or whose kept total differs from it (IS).
QStringList wrongTotals(TempDatabase& db)
{
    QStringList wrong;
    const QString sum = u"(SELECT SUM(s.unidades) FROM %1 s WHERE s.tarefa_id = x.tarefa_id)"_s.arg(Entries);
    const auto rows = db.select(
        u"SELECT x.tarefa_id, v.total_tempo, %1 FROM (SELECT tarefa_id FROM tbProcessos_Trabalhos_Tarefas UNION "
        "SELECT tarefa_id FROM %2 UNION SELECT tarefa_id FROM orv_task_totals) x LEFT JOIN "
        "vwProcessos_Trabalhos_Tarefas v ON v.tarefa_id = x.tarefa_id WHERE (v.tarefa_id IS NOT NULL AND "
        "v.total_tempo IS NOT %1) OR (SELECT k.unidades FROM orv_task_totals k WHERE k.tarefa_id = x.tarefa_id) IS NOT "
        "%1"_s.arg(sum, Entries));
    for (const QVariantList& row : rows) {
        wrong << u"task %1: %2 against %3"_s.arg(row[0].toString(), row[1].toString(), row[2].toString());
    }
    return wrong;
}

// The file as an office made before the kept totals has it (layout 0): the view sums every task's entries at
// each read. Tasks as in Tasks, and an entry of task 3 the kept totals never saw.
void makeLayoutZero(TempDatabase& db)
{
    db.exec(Tasks);
    const QString layout = data::embedded::layoutScript();
    const QString total = u"k.unidades AS total_tempo"_s;
    const QString join = u"LEFT JOIN orv_task_totals k ON k.tarefa_id = t.tarefa_id\n"_s;
    QVERIFY(layout.contains(total) && layout.contains(join));
    const QString view = layout.mid(layout.indexOf(u"CREATE VIEW"_s))
                             .section(u';', 0, 0)
                             .replace(total, u"(SELECT SUM(s.unidades) FROM %1 s WHERE s.tarefa_id = t.tarefa_id) "
                                             "AS total_tempo"_s.arg(Entries))
                             .remove(join);
    db.exec(u"DROP VIEW vwProcessos_Trabalhos_Tarefas; DROP TABLE orv_task_totals; DROP TRIGGER "
            u"orv_task_totals_insert; "
            "DROP TRIGGER orv_task_totals_update; DROP TRIGGER orv_task_totals_delete; %1;"
            "INSERT INTO %2 (tarefa_id, unidades) VALUES (3, 12); PRAGMA user_version = 0;"_s.arg(view, Entries));
}

} // namespace

class TestConnectionEmbedded : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<Connection> m_connection;

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TempDatabase>();
        m_db->exec(QString::fromUtf8(Office));
        m_db->setServerClock(ServerClock);
        m_connection = std::make_unique<Connection>();
        m_connection->open(m_db->connectionText());
        data::StatementLog::clear();
    }

    void cleanup()
    {
        m_connection.reset();
        m_db.reset();
    }

    // Values come back in the server's types; names and text ignore case; LIKE counts accents.
    void valuesAndMatching_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* name, const QString& sql, const char* field, const QVariant& expected) {
            QTest::newRow(name) << sql << QString::fromUtf8(field) << expected;
        };
        const QString like = u"SELECT COUNT(*) as no FROM t_cases WHERE "_s;

        row("names in other case", "SELECT Processo_ID FROM T_WORK WHERE TRABALHO_ID = 77", "processo_id", 15LL);
        row("null column", "SELECT advogado_id FROM t_work WHERE trabalho_id = 78", "advogado_id", QVariant());
        row("text equal ignoring case", "SELECT * FROM t_people WHERE descrit = 'JSilva'", "code", "JS");
        row("date column", "SELECT * FROM t_work WHERE trabalho_id = 77", "DATA_LEGAL",
            QDateTime(QDate(2009, 12, 1), QTime(0, 0)));
        row("date through a view, bounds converted",
            "SELECT * FROM v_entries WHERE base_id = 1 AND advogado_id = 9 AND data >= CONVERT(DATETIME,'2009-11-30 "
            "00:00:00',102) AND data <= CONVERT(DATETIME,'2009-11-30 23:59:59',102)",
            "data", LastSecond);
        row("date expression", "SELECT MAX(data) AS ultima FROM t_entries WHERE data < '2009-12-01'", "ultima",
            LastSecond);
        row("fractional number", "SELECT preco FROM t_entries WHERE lancamento_id = 1", "preco", 45.5);
        row("text that looks like a date stays text", "SELECT descrit FROM t_work WHERE trabalho_id = 78", "descrit",
            "2009-11-16 09:00:00");
        row("like: code in a list", like + "'JS1;ADM1;SEC2' LIKE '%adm%'", "no", 1LL);
        row("like: accented capitals", like + "'JOÃO SILVA' LIKE '%joão%silva%'", "no", 1LL);
        row("like: accents count", like + "'João' LIKE 'joao'", "no", 0LL);
        row("like: one character", like + "'a1b' LIKE 'a_b'", "no", 1LL);
        row("like: set", like + "'ACB' LIKE 'a[bc]b'", "no", 1LL);
        row("like: negated set", like + "'axb' LIKE 'a[^x]b'", "no", 0LL);
        row("like: literal percent through a set", like + "'100%' LIKE '100[%]'", "no", 1LL);
        // A time entry begun is on the disk before the tick returns: a power cut loses no committed start.
        row("commits flushed to disk", "PRAGMA synchronous", "synchronous", 2LL);
        row("a page cache for the pending list's sums", "PRAGMA cache_size", "cache_size",
            -qlonglong(data::embedded::CacheKibibytes));
        row("like: quote in the pattern", like + "'d' + CHAR(39) + 'artagnan' LIKE '%d' + CHAR(39) + 'ar%'", "no", 1LL);
    }

    void valuesAndMatching()
    {
        QFETCH(QString, sql);
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        // A set without a row throws at the read.
        const QVariant value = m_connection->openRecordset(sql)->value(field);
        QCOMPARE(value.typeId(), expected.typeId());
        QCOMPARE(value, expected);
    }

    // Stored times read back the same through a set; other forms still read, and a day that does not exist is its text.
    void storedDates_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("stored form") << u"2009-11-30 23:59:59"_s << LastSecond;
        QTest::newRow("leap day") << u"2008-02-29 00:00:00"_s << QDateTime(QDate(2008, 2, 29), QTime(0, 0));
        QTest::newRow("no such day") << u"2009-02-29 10:00:00"_s << QDateTime();
        QTest::newRow("no such hour") << u"2009-11-30 24:00:00"_s << QDateTime();
        QTest::newRow("with T") << u"2009-11-30T23:59:59"_s << LastSecond;
        QTest::newRow("with milliseconds") << u"2009-11-30 23:59:59.000"_s << LastSecond;
        QTest::newRow("day alone") << u"2009-11-30"_s << QDateTime(QDate(2009, 11, 30), QTime(0, 0));
    }
    void storedDates()
    {
        QFETCH(QString, stored);
        QFETCH(QDateTime, expected);
        m_db->exec(u"UPDATE t_entries SET data = '%1' WHERE lancamento_id = 1"_s.arg(stored));
        for (int reading = 0; reading < 2; ++reading) {
            const QVariant read =
                m_connection->openRecordset(u"SELECT data FROM t_entries WHERE lancamento_id = 1"_s)->value(u"data"_s);
            QCOMPARE(read, expected.isValid() ? QVariant(expected) : QVariant(stored));
            QVERIFY(!expected.isValid() || read.toDateTime().timeSpec() == Qt::LocalTime);
        }
    }

    // @@Identity answers each connection's own last insert; a set still open does not block an update.
    void identityAndOpenSets()
    {
        Connection other;
        other.open(m_db->connectionText());
        m_connection->execute(Insert);
        other.execute(Insert);
        other.execute(Insert);
        QCOMPARE(m_connection->openRecordset(Identity)->value(u"last"_s), QVariant(4LL));
        QCOMPARE(m_connection->openRecordset(u"SELECT * FROM t_entries"_s)->rowCount(), 6);
        QCOMPARE(other.openRecordset(Identity)->value(u"last"_s), QVariant(6LL));

        const QString entry4 = u"SELECT * FROM t_entries WHERE lancamento_id = 4"_s;
        auto entry = m_connection->openRecordset(entry4);
        QCOMPARE(entry->value(u"data"_s), QVariant(ServerClock));
        m_db->setServerClock(ServerClock.addSecs(12 * 60 + 30));
        m_connection->execute(
            u"UPDATE t_entries SET data_fim = GETDATE(), inprogress = 0, unidades = 12.5 WHERE lancamento_id = 4"_s);
        entry->close();
        entry = m_connection->openRecordset(entry4);
        QCOMPARE(entry->value(u"data_fim"_s), QVariant(ServerClock.addSecs(12 * 60 + 30)));
        QCOMPARE(entry->value(u"unidades"_s), QVariant(12.5));
    }

    // A name is found by its text, even when the same string object is changed between two reads.
    void fieldNamesByText()
    {
        const auto work = m_connection->openRecordset(u"SELECT * FROM t_work WHERE trabalho_id = 77"_s);
        QString name = u"processo_id"_s;
        name.detach();
        QCOMPARE(work->value(name), QVariant(15LL));
        const QString other = u"trabalho_id"_s;
        std::copy(other.cbegin(), other.cend(), name.data());
        QCOMPARE(work->value(name), QVariant(77LL));
        name[0] = u'T';
        QCOMPARE(work->value(name), QVariant(77LL));
        QVERIFY(!work->find(u"nada"_s));
        QCOMPARE(*work->find(u"PROCESSO_ID"_s), QVariant(15LL));
    }

    // A field the set lacks, a read past its end, and anything once its connection closed.
    void recordsetAndConnectionErrors()
    {
        const QString erase = u"DELETE FROM t_cases"_s;
        const auto date = m_connection->openRecordset(u"SELECT GETDATE() AS DATE"_s);
        QCOMPARE(date->value(u"date"_s), QVariant(ServerClock));
        expectError([&] { date->value(u"dia"_s); }, 3265, u"Item cannot be found"_s);
        date->moveNext();
        expectError([&] { date->value(u"date"_s); }, 3021, u"EOF"_s);

        const auto tasks = m_connection->openRecordset(u"SELECT * FROM t_tasks"_s);
        expectError([&] { m_connection->open(); }, 3705, u"open"_s);
        m_connection->close();
        expectError([&] { tasks->value(u"tarefa_id"_s); }, core::errc::ClosedConnection);
        expectError([&] { m_connection->execute(erase); }, core::errc::ClosedConnection);
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM t_cases"_s), QVariant(qlonglong(1)));
        // A set read before the connection closed stays unusable after it reopens.
        m_connection->open();
        expectError([&] { tasks->moveNext(); }, core::errc::ClosedConnection);
        Connection never;
        expectError([&] { never.execute(erase); }, core::errc::ClosedConnection);
    }

    // A refused statement fails with the engine's words; what follows it never runs; the link stays usable.
    void refusedStatements_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("second statement")
            << u"SELECT * FROM t_cases; DELETE FROM t_cases"_s << u"multiple statements"_s;
        QTest::newRow("second after a blank literal")
            << u"SELECT ' ; ' AS x ;DELETE FROM t_cases"_s << u"multiple statements"_s;
        QTest::newRow("no such table") << u"SELECT * FROM t_nothing"_s << u"no such table"_s;
        QTest::newRow("syntax") << u"SELECT FROM WHERE"_s << u"syntax error"_s;
        QTest::newRow("failing while rows are read")
            << u"SELECT abs(-9223372036854775807 - 1) AS n"_s << u"integer overflow"_s;
    }
    void refusedStatements()
    {
        QFETCH(QString, sql);
        QFETCH(QString, fragment);
        expectError([&] { m_connection->openRecordset(sql); }, core::errc::ProviderError, fragment);
        expectError([&] { m_connection->execute(sql); }, core::errc::ProviderError);
        QCOMPARE(m_connection->openRecordset(u"SELECT COUNT(*) AS n FROM t_cases"_s)->value(u"N"_s).toInt(), 1);
        // A trailing separator alone is one statement.
        QCOMPARE(m_connection->openRecordset(u"SELECT 7 AS n ;  "_s)->value(u"n"_s), QVariant(qlonglong(7)));
    }

    // Each row changes one piece of the fixture's connection text. A check started ahead (its text with "ahead" in
    // place of "from") answers the open of the same password, wrong or right, in place of its own.
    void login_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("ahead"); // null: no check ahead
        QTest::addColumn<int>("checksHere");
        const auto row = [](const char* name, const QString& from, const QString& to, const QString& failure,
                            const QString& ahead = QString(), int checksHere = 0) {
            QTest::newRow(name) << from << to << failure << ahead << checksHere;
        };
        row("login and catalog in other case", u"User ID=sa_test;Password=secret;Initial Catalog=OrvTest"_s,
            u"User ID=SA_TEST;Password=secret;Initial Catalog=orvtest"_s, QString());
        row("wrong password", u"Password=secret"_s, u"Password=Secret"_s, u"Login failed for user 'sa_test'."_s);
        row("other catalog", u"Catalog=OrvTest"_s, u"Catalog=Vorlent"_s,
            u"Cannot open database \"Vorlent\" requested by the login."_s);
        row("missing file is not created", u";Connect"_s, u".missing.db;Connect"_s, u"does not exist"_s);
        const QString right = u"Password=secret"_s, wrong = u"Password=Secret"_s;
        row("right password checked ahead", right, right, QString(), right, 0);
        row("wrong password checked ahead", right, wrong, u"Login failed"_s, wrong, 0);
        row("other password than ahead", right, right, QString(), wrong, 1);
    }

    void login()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, failure);
        QFETCH(QString, ahead);
        QString text = m_db->connectionText();
        QVERIFY(text.contains(from));
        if (!ahead.isNull()) {
            Connection::checkLoginAhead(QString(text).replace(from, ahead));
        }
        const int checks = data::embedded::passwordChecksOnThisThread();
        text.replace(from, to);
        Connection connection;
        if (failure.isEmpty()) {
            connection.open(text);
        } else {
            expectError([&] { connection.open(text); }, core::errc::ProviderError, failure);
        }
        QCOMPARE(connection.isOpen(), failure.isEmpty());
        QVERIFY(!QFile::exists(m_db->path() + u".missing.db"_s));
        if (!ahead.isNull()) {
            QTEST(data::embedded::passwordChecksOnThisThread() - checks, "checksHere");
        }
    }

    void statementLogHoldsExactTextsOnly()
    {
        const QStringList sent = {Insert, Identity, u"SELECT * FROM t_people WHERE descrit = 'O' + CHAR(39) + 'Neil'"_s,
                                  u"SELECT * FROM no_such_table"_s};
        m_connection->execute(sent.at(0));
        m_connection->openRecordset(sent.at(1));
        m_connection->openRecordset(sent.at(2));
        expectError([&] { m_connection->openRecordset(sent.at(3)); }, core::errc::ProviderError, u"no such table"_s);
        Connection refused;
        expectError([&] { refused.open(m_db->connectionText(TempDatabase::user(), u"pa55word"_s)); },
                    core::errc::ProviderError, u"Login failed"_s);
        QCOMPARE(data::StatementLog::statements(), sent);
        const QString all = data::StatementLog::statements().join(QLatin1Char('\n'));
        QVERIFY(!all.contains(QLatin1String("secret")) && !all.contains(QLatin1String("pa55word")));

        // The log keeps the most recent statements only, so a process that runs for weeks does not grow.
        for (int i = 0; i < data::StatementLog::Capacity + 10; ++i) {
            m_connection->openRecordset(u"SELECT %1 AS n"_s.arg(i));
        }
        QCOMPARE(data::StatementLog::statements().size(), data::StatementLog::Capacity);
        QCOMPARE(data::StatementLog::statements().last(), u"SELECT %1 AS n"_s.arg(data::StatementLog::Capacity + 9));
    }

    // A database file replaced by a copy of itself is a lost link: the statement fails, and the next one works on
    // the new file by itself. (Files moved away, deleted or made read-only: test_outage, under the counting window.)
    void aReplacedFileIsALostLinkUntilTheNextStatement()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows keeps a database file that a connection holds open from being moved, deleted or made read-only: "
              "the fault cannot happen there");
#endif
        TempDatabase onDisk(TempDatabase::Place::Disk);
        onDisk.exec(QString::fromUtf8(Office));
        Connection connection;
        connection.open(onDisk.connectionText());
        const QString copy = onDisk.path() + u".copy"_s;
        QVERIFY(QFile::copy(onDisk.path(), copy) && QFile::remove(onDisk.path()) && QFile::rename(copy, onDisk.path()));
        expectError([&] { connection.execute(Insert); }, core::errc::ClosedConnection);
        QVERIFY(connection.linkLost() && !connection.isOpen());
        QCOMPARE(connection.execute(Insert), 1);
        QVERIFY(!connection.linkLost());
        QCOMPARE(onDisk.scalar(u"SELECT COUNT(*) FROM t_entries"_s).toInt(), 4);
    }

    // A file nothing may write is refused at the open, before the engine is asked to change it, with the words that
    // say so; it is left as it was.
    void aReadOnlyFileIsRefusedAtOpen()
    {
#ifdef Q_OS_WIN
        QSKIP("The read-only fault is made with Linux's immutable flag");
#endif
        TempDatabase onDisk(TempDatabase::Place::Disk);
        onDisk.exec(QString::fromUtf8(Office));
        const testsupport::FileFault readOnly(onDisk.path(), testsupport::FileFault::Kind::ReadOnly);
        Connection connection;
        expectError([&] { connection.open(onDisk.connectionText()); }, core::errc::ProviderError, onDisk.path());
        QVERIFY(!connection.isOpen());
        QVERIFY(!QFile::exists(onDisk.path() + u"-wal"_s));
    }

    // The engine's answers that mean the file is out of reach, by their result code (an extended code by its low
    // byte) or, with none, by their words in any letter case; the rest are a statement's own failure.
    void lostLinkAnswers_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lost");
        QTest::newRow("read-only (8)") << u"8"_s << QString() << true;
        QTest::newRow("read-only, the file moved (1032)") << u"1032"_s << QString() << true;
        QTest::newRow("disk I/O, short read (522)") << u"522"_s << QString() << true;
        QTest::newRow("cannot open (14)") << u"14"_s << QString() << true;
        QTest::newRow("busy (5)") << u"5"_s << u"database is locked"_s << false;
        QTest::newRow("no code, the words") << QString() << u"Attempt to write a READONLY database"_s << true;
        QTest::newRow("no code, other words") << QString() << u"no such table: t"_s << false;
    }
    void lostLinkAnswers()
    {
        QFETCH(QString, code);
        QFETCH(QString, text);
        const QSqlError error(u"Unable to execute statement"_s, text, QSqlError::StatementError, code);
        QTEST(data::EmbeddedConnection().linkLost(error), "lost");
    }

    // A file deleted under a connection and put back by another workstation: the log beside it is that
    // workstation's now, and the connection that finds its own file gone leaves it alone.
    void aFilePutBackKeepsTheOtherWorkstationsLog()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows deletes no database file that a connection holds open");
#endif
        TempDatabase onDisk(TempDatabase::Place::Disk);
        onDisk.exec(QString::fromUtf8(Office));
        Connection connection;
        connection.open(onDisk.connectionText());
        const QString path = onDisk.path(), copy = path + u".copy"_s;
        QVERIFY(QFile::copy(path, copy) && QFile::remove(path));
        QVERIFY(QFile::remove(path + u"-wal"_s) && QFile::remove(path + u"-shm"_s) && QFile::rename(copy, path));
        using data::embedded::EmbeddedFile;
        EmbeddedFile other(path, EmbeddedFile::Mode::Existing);
        other.exec(u"PRAGMA journal_mode=WAL; INSERT INTO t_people VALUES (11, 'put back', 'PB');"_s);
        expectError([&] { connection.execute(Insert); }, core::errc::ClosedConnection);
        EmbeddedFile third(path, EmbeddedFile::Mode::Existing);
        QCOMPARE(third.select(u"SELECT descrit FROM t_people WHERE contacto_id = 11"_s),
                 (QList<QVariantList>{{u"put back"_s}}));
    }

    // The administrator's writes wait for a workstation's write to end, up to the engine's time-out, instead of
    // failing at once.
    void aWriteWaitsForAnotherWorkstations()
    {
        auto otherWorkstation = m_db->lockWrites();
        std::thread release([&otherWorkstation] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            otherWorkstation.reset();
        });
        data::embedded::EmbeddedFile file(m_db->path(), data::embedded::EmbeddedFile::Mode::Existing);
        const core::ErrorValue error =
            testsupport::thrown([&] { file.exec(u"INSERT INTO t_people VALUES (12, 'espera', 'ES')"_s); });
        release.join();
        QCOMPARE(error.description, QString());
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM t_people WHERE contacto_id = 12"_s).toInt(), 1);
    }

    // Two workstations counting at once on one database file.
    void twoConnectionsInsertAtOnce()
    {
        constexpr int RowsEach = 150;
        QString errors[2];
        auto counter = [&](int workstation) {
            Connection connection;
            errors[workstation] = testsupport::thrown([&] {
                                      connection.open(m_db->connectionText());
                                      for (int i = 0; i < RowsEach; ++i) {
                                          connection.execute(Insert);
                                          connection.openRecordset(Identity);
                                      }
                                  }).description;
        };
        std::thread first(counter, 0);
        std::thread second(counter, 1);
        first.join();
        second.join();
        QCOMPARE(errors[0] + errors[1], QString());
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM t_entries"_s).toInt(), 3 + 2 * RowsEach);
    }

    void scriptIsAllOrNothing()
    {
        const QString script = u"CREATE TABLE t_new (a INTEGER);\nINSERT INTO t_new VALUES (1);\n\n"
                               "INSERT INTO t_nothing VALUES (2);\n"_s;
        expectError([&] { data::embedded::runScript(m_db->path(), script); }, core::errc::ProviderError, u"line 4"_s);
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM sqlite_master WHERE name = 't_new'"_s).toInt(), 0);
    }
    // Each task's total follows every write of its entries, whoever writes and however.
    void taskTotalsFollowEveryWrite_data()
    {
        QTest::addColumn<QString>("writes");
        const auto row = [](const char* name, const QString& writes) { QTest::newRow(name) << writes.arg(Entries); };
        row("a new entry", u"INSERT INTO %1 (tarefa_id, unidades) VALUES (1, 15), (3, 5)"_s);
        row("minutes changed", u"UPDATE %1 SET unidades = 50 WHERE lancamento_id = 1"_s);
        row("an entry moved to a task without entries", u"UPDATE %1 SET tarefa_id = 3 WHERE lancamento_id = 3"_s);
        row("moved and changed at once", u"UPDATE %1 SET tarefa_id = 2, unidades = 1 WHERE lancamento_id = 2"_s);
        row("the last entry of a task deleted", u"DELETE FROM %1 WHERE lancamento_id = 3"_s);
        row("every entry deleted", u"DELETE FROM %1"_s);
        row("fractions", u"INSERT INTO %1 (tarefa_id, unidades) VALUES (3, 0.1), (3, 0.2), (3, 1e-9);"
                         "UPDATE %1 SET unidades = 0.7 WHERE unidades = 0.2"_s);
        row("minutes not yet counted", u"INSERT INTO %1 (tarefa_id, unidades) VALUES (3, NULL)"_s);
        row("an entry without a task",
            u"INSERT INTO %1 (tarefa_id, unidades) VALUES (NULL, 7); UPDATE %1 SET tarefa_id = NULL WHERE "
            "lancamento_id = 1"_s);
        row("a writer's own conflict clause",
            u"INSERT OR IGNORE INTO %1 (tarefa_id, unidades) VALUES (1, 1); UPDATE OR REPLACE %1 SET unidades = 2 "
            "WHERE lancamento_id = 3"_s);
        row("a task number written as text", u"INSERT INTO %1 (tarefa_id, unidades) VALUES ('2', 4), ('x', 4)"_s);
        row("other columns only", u"UPDATE %1 SET preco = 10, inprogress = 1"_s);
    }

    void taskTotalsFollowEveryWrite()
    {
        QFETCH(QString, writes);
        m_db->exec(Tasks);
        QCOMPARE(wrongTotals(*m_db), QStringList());
        m_db->exec(writes);
        QCOMPARE(wrongTotals(*m_db), QStringList());
    }

    // An older office file gets its totals once, at its first connection; other files are left as they are.
    void anOlderOfficeFileGetsItsTotalsAtItsFirstConnection()
    {
        m_connection.reset();
        makeLayoutZero(*m_db);
        const auto layoutNow = [&] { return m_db->scalar(u"PRAGMA user_version"_s).toInt(); };
        {
            const auto otherWorkstation = m_db->lockWrites();
            Connection connection;
            connection.open(m_db->connectionText());
            QCOMPARE(layoutNow(), 0);
            const auto rows = m_db->select(u"SELECT total_tempo FROM vwProcessos_Trabalhos_Tarefas ORDER BY 1"_s);
            QCOMPARE(rows, (QList<QVariantList>{{12.0}, {30.0}, {105.0}}));
        }
        for (int open = 0; open < 2; ++open) {
            Connection connection;
            connection.open(m_db->connectionText());
            QCOMPARE(layoutNow(), data::embedded::FileLayout);
            QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM orv_task_totals"_s).toInt(), 3);
            connection.execute(u"INSERT INTO %1 (tarefa_id, unidades) VALUES (2, 1)"_s.arg(Entries));
            QCOMPARE(wrongTotals(*m_db), QStringList());
        }

        const QString bare = QFileInfo(m_db->path()).dir().filePath(u"bare.db"_s);
        data::embedded::createDatabase(bare, TempDatabase::catalog());
        data::embedded::addLogin(bare, TempDatabase::user(), TempDatabase::password());
        Connection connection;
        connection.open(m_db->connectionText().replace(m_db->path(), bare));
        const QString totals = u"SELECT COUNT(*) AS n FROM sqlite_master WHERE name = 'orv_task_totals'"_s;
        QCOMPARE(connection.openRecordset(totals)->value(u"n"_s).toInt(), 0);
    }

    // Two workstations reach an older file at once: the one that waited while the other brought the file up finds
    // nothing left to do, instead of failing its login on tables that now exist.
    void aFileUpgradedWhileWaitingIsLeftAsItIs()
    {
        m_connection.reset();
        makeLayoutZero(*m_db);
        using data::embedded::EmbeddedFile;
        struct Other {
            EmbeddedFile file;
            int waits = 0;
        } other{{m_db->path(), EmbeddedFile::Mode::Existing}};
        EmbeddedFile waiting(m_db->path(), EmbeddedFile::Mode::Existing);
        other.file.exec(u"BEGIN IMMEDIATE"_s);
        // Asked to wait for the write, the other workstation finishes its upgrade and lets the file go.
        const auto otherUpgrades = [](void* context, int) {
            auto& holder = *static_cast<Other*>(context);
            if (holder.waits++ == 0) {
                holder.file.exec(data::embedded::layoutScript() + u"COMMIT;"_s);
            }
            return holder.waits == 1 ? 1 : 0;
        };
        sqlite3_busy_handler(waiting.handle(), otherUpgrades, &other);
        data::embedded::upgradeLayout(waiting.handle());
        QCOMPARE(other.waits, 1);
        QCOMPARE(m_db->scalar(u"PRAGMA user_version"_s).toInt(), data::embedded::FileLayout);
        QCOMPARE(wrongTotals(*m_db), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestConnectionEmbedded)
#include "test_connectionembedded.moc"
