// The embedded engine answering the system's statements as the server would.
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/embedded.h"
#include "testsupport/tempdatabase.h"

#include <QFile>
#include <QTest>

#include <thread>

using data::Connection;
using testsupport::TempDatabase;

namespace {

const QDateTime ServerClock(QDate(2009, 11, 16), QTime(9, 30, 0));

// A small office in the shape the system reads: two work items of case 15, their tasks, entries
// and people. Engine dialect.
const char* const Office = R"(
CREATE TABLE t_cases (processo_id INTEGER PRIMARY KEY, Contacto_ID INTEGER, judicial INTEGER);
CREATE TABLE t_work (trabalho_id INTEGER PRIMARY KEY, processo_id INTEGER, advogado_id INTEGER,
    data_legal DATETIME, descrit TEXT COLLATE Latin1_General_CI_AS);
CREATE TABLE t_tasks (tarefa_id INTEGER PRIMARY KEY, trabalho_id INTEGER, closed INTEGER,
    escondida INTEGER DEFAULT 0, descrit TEXT COLLATE Latin1_General_CI_AS);
CREATE TABLE t_entries (lancamento_id INTEGER PRIMARY KEY AUTOINCREMENT, tarefa_id INTEGER,
    trabalho_id INTEGER, processo_id INTEGER, contacto_id INTEGER, data DATETIME, data_fim DATETIME,
    advogado_id INTEGER, base_id INTEGER, unidades NUMERIC, preco_id INTEGER, preco NUMERIC,
    inprogress INTEGER, closed INTEGER, inprogress_time DATETIME);
CREATE TABLE t_people (contacto_id INTEGER PRIMARY KEY, nome_union TEXT COLLATE Latin1_General_CI_AS,
    descrit TEXT COLLATE Latin1_General_CI_AS, code TEXT);
CREATE VIEW v_entries AS SELECT e.lancamento_id, e.data, e.data_fim, e.unidades, e.contacto_id,
    e.base_id, e.advogado_id, k.descrit AS tarefa, w.descrit AS trabalho
    FROM t_entries e JOIN t_tasks k ON k.tarefa_id = e.tarefa_id JOIN t_work w ON w.trabalho_id = e.trabalho_id;
INSERT INTO t_cases VALUES (15, 402, 1);
INSERT INTO t_work VALUES (77, 15, 9, '2009-12-01 00:00:00', 'Contestação'), (78, 15, NULL, NULL, '2009-11-16 09:00:00');
INSERT INTO t_tasks VALUES (812, 77, NULL, 0, 'Redigir'), (813, 77, 0, 1, 'Rever'), (814, 77, 1, 0, 'Enviar');
INSERT INTO t_people VALUES (402, 'Álvaro Lda', 'cliente', NULL), (9, 'Ana', 'O''Neil', 'AN'),
    (10, 'Zé', 'jsilva', 'JS'), (11, 'beatriz', 'bmota', 'BM'), (12, 'alberto', 'acosta', 'AC');
INSERT INTO t_entries (tarefa_id, trabalho_id, processo_id, contacto_id, data, data_fim, advogado_id,
    base_id, unidades, preco_id, preco, inprogress, closed, inprogress_time) VALUES
    (812, 77, 15, 402, '2009-11-02 10:00:00', '2009-11-02 10:45:00', 9, 1, 45, 2, 45.5, 0, 0, '2009-11-02 10:00:00'),
    (813, 77, 15, 402, '2009-11-30 23:59:59', NULL, 9, 1, 0, 2, 45.5, 1, 0, '2009-11-30 23:59:59'),
    (812, 77, 15, 402, '2009-12-01 00:00:00', '2009-12-01 01:00:00', 9, 1, 60, 2, 45.5, 0, 0, '2009-12-01 00:00:00');
)";

const char* const Insert =
    "INSERT INTO t_entries (tarefa_id, trabalho_id, processo_id, contacto_id, data, data_fim, advogado_id, "
    "base_id, unidades, preco_id, preco, inprogress, closed, inprogress_time) VALUES (812, 77, 15, 402, GETDATE(), "
    "null, 9, 1, 0, 2, 45.5, 1, 0, GETDATE())";

void expectError(const std::function<void()>& action, int number, const QString& fragment)
{
    try {
        action();
    } catch (const core::Error& error) {
        QCOMPARE(error.number(), number);
        QVERIFY2(error.description().contains(fragment), qPrintable(error.description()));
        return;
    }
    QFAIL("no error");
}

} // namespace

class TestConnectionEmbedded : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void statementForms_data();
    void statementForms();
    void likeAndTextOrder_data();
    void likeAndTextOrder();
    void startAndStopOfAnEntry();
    void identityBelongsToItsConnection();
    void serverDateReadIgnoringCase();
    void login_data();
    void login();
    void missingFileIsNotCreated();
    void closedConnection();
    void statementLogHoldsExactTextsOnly();
    void injectedFailures();
    void twoConnectionsInsertAtOnce();
    void scriptsAreAllOrNothing();
    void sharedConnectionOnFixture();
    void systemStatementsRunOnSchema_data();
    void systemStatementsRunOnSchema();

private:
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<Connection> m_connection;
};

void TestConnectionEmbedded::init()
{
    m_db = std::make_unique<TempDatabase>();
    m_db->exec(QString::fromUtf8(Office));
    m_db->setServerClock(ServerClock);
    m_connection = std::make_unique<Connection>();
    m_connection->open(m_db->connectionText());
    data::StatementLog::clear();
    data::StatementFailures::clear();
}

void TestConnectionEmbedded::cleanup()
{
    m_connection.reset();
    m_db.reset();
    data::StatementFailures::clear();
}

void TestConnectionEmbedded::statementForms_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("pending tasks, null closed counts")
        << "SELECT COUNT(*) as no FROM t_tasks WHERE (closed = 0 OR closed is null) AND trabalho_id = 77"
        << "no" << QVariant(qlonglong(2));
    QTest::newRow("running entries")
        << "SELECT COUNT(*) as no FROM t_entries WHERE closed = 0 AND inprogress <> 0 AND trabalho_id = 77"
        << "NO" << QVariant(qlonglong(1));
    QTest::newRow("names in other case") << "SELECT Processo_ID FROM T_WORK WHERE TRABALHO_ID = 77"
                                         << "processo_id" << QVariant(qlonglong(15));
    QTest::newRow("null column") << "SELECT advogado_id FROM t_work WHERE trabalho_id = 78"
                                 << "advogado_id" << QVariant();
    QTest::newRow("name with a quote") << "SELECT * FROM t_people WHERE descrit = 'O' + CHAR(39) + 'Neil'"
                                       << "contacto_id" << QVariant(qlonglong(9));
    QTest::newRow("text equal ignoring case") << "SELECT * FROM t_people WHERE descrit = 'JSilva'"
                                              << "code" << QVariant(QStringLiteral("JS"));
    QTest::newRow("date column") << "SELECT * FROM t_work WHERE trabalho_id = 77"
                                 << "DATA_LEGAL" << QVariant(QDateTime(QDate(2009, 12, 1), QTime(0, 0)));
    QTest::newRow("date through a view")
        << "SELECT * FROM v_entries WHERE base_id = 1 AND advogado_id = 9 AND data >= "
           "CONVERT(DATETIME,'2009-11-30 00:00:00',102) AND data <= CONVERT(DATETIME,'2009-11-30 23:59:59',102)"
        << "data" << QVariant(QDateTime(QDate(2009, 11, 30), QTime(23, 59, 59)));
    QTest::newRow("fractional number") << "SELECT preco FROM t_entries WHERE lancamento_id = 1"
                                       << "preco" << QVariant(45.5);
    QTest::newRow("text column that looks like a date stays text")
        << "SELECT descrit FROM t_work WHERE trabalho_id = 78"
        << "descrit" << QVariant(QStringLiteral("2009-11-16 09:00:00"));
    QTest::newRow("date expression") << "SELECT MAX(data) AS ultima FROM t_entries WHERE data < '2009-12-01'"
                                     << "ultima" << QVariant(QDateTime(QDate(2009, 11, 30), QTime(23, 59, 59)));
    QTest::newRow("totals between two dates, client joined")
        << "SELECT t_people.nome_union, v_entries.trabalho, v_entries.tarefa, SUM(unidades) as total FROM v_entries "
           "LEFT JOIN t_people ON v_entries.contacto_id = t_people.contacto_id WHERE base_id = 1 AND advogado_id = 9 "
           "AND data >= CONVERT(DATETIME,'2009-11-01 00:00:00',102) AND data <= CONVERT(DATETIME,'2009-11-30 "
           "23:59:59',102)"
           "  GROUP BY t_people.nome_union, v_entries.trabalho, v_entries.tarefa  ORDER BY t_people.nome_union, "
           "v_entries.trabalho, v_entries.tarefa "
        << "total" << QVariant(qlonglong(45));
}

void TestConnectionEmbedded::statementForms()
{
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    const auto records = m_connection->openRecordset(sql);
    QVERIFY(!records->eof());
    const QVariant value = records->value(field);
    QCOMPARE(value.typeId(), expected.typeId());
    QCOMPARE(value, expected);
}

void TestConnectionEmbedded::likeAndTextOrder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("hit");

    QTest::newRow("code in a list") << "JS1;ADM1;SEC2"
                                    << "%adm%" << true;
    QTest::newRow("accented capitals") << "JOÃO SILVA"
                                       << "%joão%silva%" << true;
    QTest::newRow("accents count") << "João"
                                   << "joao" << false;
    QTest::newRow("one character") << "a1b"
                                   << "a_b" << true;
    QTest::newRow("set") << "ACB"
                         << "a[bc]b" << true;
    QTest::newRow("range") << "a7b"
                           << "a[0-9]b" << true;
    QTest::newRow("negated set") << "axb"
                                 << "a[^x]b" << false;
    QTest::newRow("literal percent through a set") << "100%"
                                                   << "100[%]" << true;
    QTest::newRow("quote in the pattern") << "d'artagnan"
                                          << "%d' + CHAR(39) + 'ar%" << true;
    QTest::newRow("no match") << "ADM"
                              << "%SEC%" << false;
}

void TestConnectionEmbedded::likeAndTextOrder()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, hit);
    QString literal = text;
    literal.replace(QLatin1Char('\''), QLatin1String("' + CHAR(39) + '"));
    const auto records = m_connection->openRecordset(
        QStringLiteral("SELECT COUNT(*) as no FROM t_cases WHERE '%1' LIKE '%2'").arg(literal, pattern));
    QCOMPARE(records->value(QStringLiteral("no")).toInt(), hit ? 1 : 0);

    // Text columns sort as the server's collation does: case ignored, accented letters with their base.
    const auto people =
        m_connection->openRecordset(QStringLiteral("SELECT nome_union FROM t_people ORDER BY nome_union"));
    QStringList names;
    for (; !people->eof(); people->moveNext()) {
        names << people->value(QStringLiteral("nome_union")).toString();
    }
    QCOMPARE(names, (QStringList{"alberto", "Álvaro Lda", "Ana", "beatriz", "Zé"}));
}

void TestConnectionEmbedded::startAndStopOfAnEntry()
{
    m_connection->execute(QString::fromLatin1(Insert));
    auto last = m_connection->openRecordset(QStringLiteral("SELECT @@Identity as last"));
    const QVariant id = last->value(QStringLiteral("last"));
    QCOMPARE(id.typeId(), QMetaType::LongLong);
    QCOMPARE(id.toLongLong(), m_db->scalar(QStringLiteral("SELECT MAX(lancamento_id) FROM t_entries")).toLongLong());
    last->close();

    auto entry = m_connection->openRecordset(
        QStringLiteral("SELECT * FROM t_entries WHERE lancamento_id = %1").arg(id.toLongLong()));
    QCOMPARE(entry->value(QStringLiteral("data")).toDateTime(), ServerClock);
    QCOMPARE(entry->value(QStringLiteral("inprogress_time")).toDateTime(), ServerClock);
    QVERIFY(entry->value(QStringLiteral("data_fim")).isNull());

    const QDateTime later = ServerClock.addSecs(12 * 60 + 30);
    m_db->setServerClock(later);
    // The entry's set is still open while the stop updates it, as the counter does.
    m_connection->execute(QStringLiteral("UPDATE t_entries SET data_fim = GETDATE(), inprogress = 0, unidades = 12.5 "
                                         "WHERE lancamento_id = %1")
                              .arg(id.toLongLong()));
    entry->close();
    entry = m_connection->openRecordset(
        QStringLiteral("SELECT * FROM t_entries WHERE lancamento_id = %1").arg(id.toLongLong()));
    QCOMPARE(entry->value(QStringLiteral("data_fim")).toDateTime(), later);
    QCOMPARE(entry->value(QStringLiteral("unidades")), QVariant(12.5));
    QCOMPARE(entry->value(QStringLiteral("inprogress")), QVariant(qlonglong(0)));
}

void TestConnectionEmbedded::identityBelongsToItsConnection()
{
    Connection other;
    other.open(m_db->connectionText());
    m_connection->execute(QString::fromLatin1(Insert));
    other.execute(QString::fromLatin1(Insert));
    other.execute(QString::fromLatin1(Insert));
    const qlonglong mine = m_connection->openRecordset(QStringLiteral("SELECT @@Identity as last"))
                               ->value(QStringLiteral("last"))
                               .toLongLong();
    const qlonglong theirs =
        other.openRecordset(QStringLiteral("SELECT @@Identity as last"))->value(QStringLiteral("last")).toLongLong();
    QCOMPARE(mine, 4);
    QCOMPARE(theirs, 6);
}

void TestConnectionEmbedded::serverDateReadIgnoringCase()
{
    const auto records = m_connection->openRecordset(QStringLiteral("SELECT GETDATE() AS DATE"));
    QCOMPARE(records->fieldNames(), QStringList{QStringLiteral("DATE")});
    QVERIFY(records->hasField(QStringLiteral("date")));
    const QVariant date = records->value(QStringLiteral("date"));
    QCOMPARE(date.typeId(), QMetaType::QDateTime);
    QCOMPARE(date.toDateTime(), ServerClock);
    expectError([&] { records->value(QStringLiteral("dia")); }, 3265, QStringLiteral("Item cannot be found"));
    records->moveNext();
    QVERIFY(records->eof());
    expectError([&] { records->value(QStringLiteral("date")); }, 3021, QStringLiteral("EOF"));
}

void TestConnectionEmbedded::login_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("catalog");
    QTest::addColumn<QString>("failure");

    QTest::newRow("fixture login") << "sa_test"
                                   << "secret"
                                   << "OrvTest"
                                   << "";
    QTest::newRow("login name in other case") << "SA_TEST"
                                              << "secret"
                                              << "orvtest"
                                              << "";
    QTest::newRow("no catalog named") << "sa_test"
                                      << "secret"
                                      << ""
                                      << "";
    QTest::newRow("wrong password") << "sa_test"
                                    << "Secret"
                                    << "OrvTest"
                                    << "Login failed for user 'sa_test'.";
    QTest::newRow("unknown user") << "ghost"
                                  << "secret"
                                  << "OrvTest"
                                  << "Login failed for user 'ghost'.";
    QTest::newRow("no user") << ""
                             << ""
                             << "OrvTest"
                             << "Login failed for user ''.";
    QTest::newRow("other catalog") << "sa_test"
                                   << "secret"
                                   << "Vorlent"
                                   << "Cannot open database \"Vorlent\" requested by the login.";
}

void TestConnectionEmbedded::login()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, catalog);
    QFETCH(QString, failure);
    QString text = m_db->connectionText(user, password);
    text.replace(QLatin1String("Initial Catalog=OrvTest"), QLatin1String("Initial Catalog=") + catalog);
    Connection connection;
    if (failure.isEmpty()) {
        connection.open(text);
        QVERIFY(connection.isOpen());
        return;
    }
    expectError([&] { connection.open(text); }, core::errc::ProviderError, failure);
    QVERIFY(!connection.isOpen());
    expectError([&] { connection.execute(QStringLiteral("SELECT 1")); }, core::errc::ClosedConnection, QString());
}

void TestConnectionEmbedded::missingFileIsNotCreated()
{
    const QString missing = m_db->path() + QStringLiteral(".missing.db");
    QString text = m_db->connectionText();
    text.replace(m_db->path(), missing);
    Connection connection;
    expectError([&] { connection.open(text); }, core::errc::ProviderError, QStringLiteral("does not exist"));
    QVERIFY(!QFile::exists(missing));
}

void TestConnectionEmbedded::closedConnection()
{
    Connection never;
    expectError([&] { never.execute(QStringLiteral("DELETE FROM t_cases")); }, core::errc::ClosedConnection, QString());
    expectError([&] { never.openRecordset(QStringLiteral("SELECT * FROM t_cases")); }, core::errc::ClosedConnection,
                QString());

    const auto records = m_connection->openRecordset(QStringLiteral("SELECT * FROM t_tasks"));
    expectError([&] { m_connection->open(); }, 3705, QStringLiteral("open"));
    m_connection->close();
    expectError([&] { records->value(QStringLiteral("tarefa_id")); }, core::errc::ClosedConnection, QString());
    expectError([&] { m_connection->execute(QStringLiteral("DELETE FROM t_cases")); }, core::errc::ClosedConnection,
                QString());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM t_cases")), QVariant(qlonglong(1)));

    m_connection->open();
    QVERIFY(m_connection->isOpen());
    expectError([&] { records->moveNext(); }, core::errc::ClosedConnection, QString());
}

void TestConnectionEmbedded::statementLogHoldsExactTextsOnly()
{
    const QStringList sent = {QString::fromLatin1(Insert), QStringLiteral("SELECT @@Identity as last"),
                              QStringLiteral("SELECT * FROM t_people WHERE descrit = 'O' + CHAR(39) + 'Neil'"),
                              QStringLiteral("SELECT * FROM no_such_table")};
    m_connection->execute(sent.at(0));
    m_connection->openRecordset(sent.at(1));
    m_connection->openRecordset(sent.at(2));
    expectError([&] { m_connection->openRecordset(sent.at(3)); }, core::errc::ProviderError,
                QStringLiteral("no such table"));
    Connection refused;
    expectError([&] { refused.open(m_db->connectionText(TempDatabase::user(), QStringLiteral("pa55word"))); },
                core::errc::ProviderError, QStringLiteral("Login failed"));
    QCOMPARE(data::StatementLog::statements(), sent);
    const QString all = data::StatementLog::statements().join(QLatin1Char('\n'));
    QVERIFY(!all.contains(QLatin1String("secret")) && !all.contains(QLatin1String("pa55word")));
}

void TestConnectionEmbedded::injectedFailures()
{
    const core::ErrorValue lost{core::errc::ClosedConnection, QStringLiteral("link lost")};
    data::StatementFailures::failNext(lost, QStringLiteral("from t_entries"));
    m_connection->openRecordset(QStringLiteral("SELECT * FROM t_tasks"));
    expectError([&] { m_connection->openRecordset(QStringLiteral("SELECT * FROM t_entries")); }, 3709,
                QStringLiteral("link lost"));
    m_connection->openRecordset(QStringLiteral("SELECT * FROM t_entries"));

    data::StatementFailures::failAll({-2147217900, QStringLiteral("deadlock")}, QStringLiteral("UPDATE"));
    for (int i = 0; i < 2; ++i) {
        expectError(
            [&] { m_connection->execute(QStringLiteral("UPDATE t_tasks SET closed = 1 WHERE tarefa_id = 812")); },
            -2147217900, QStringLiteral("deadlock"));
    }
    QVERIFY(m_db->scalar(QStringLiteral("SELECT closed FROM t_tasks WHERE tarefa_id = 812")).isNull());
    data::StatementFailures::clear();
    m_connection->execute(QStringLiteral("UPDATE t_tasks SET closed = 1 WHERE tarefa_id = 812"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT closed FROM t_tasks WHERE tarefa_id = 812")), QVariant(qlonglong(1)));
}

void TestConnectionEmbedded::twoConnectionsInsertAtOnce()
{
    constexpr int RowsEach = 150;
    QStringList errors;
    std::mutex errorsGuard;
    auto counter = [&] {
        try {
            Connection connection;
            connection.open(m_db->connectionText());
            for (int i = 0; i < RowsEach; ++i) {
                connection.execute(QString::fromLatin1(Insert));
                connection.openRecordset(QStringLiteral("SELECT @@Identity as last"));
            }
        } catch (const core::Error& error) {
            const std::lock_guard lock(errorsGuard);
            errors << error.description();
        }
    };
    std::thread first(counter);
    std::thread second(counter);
    first.join();
    second.join();
    QCOMPARE(errors, QStringList());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM t_entries")).toInt(), 3 + 2 * RowsEach);
}

void TestConnectionEmbedded::scriptsAreAllOrNothing()
{
    expectError([&] { data::embedded::createDatabase(m_db->path(), QStringLiteral("Other")); },
                core::errc::ProviderError, QStringLiteral("already exists"));
    expectError(
        [&] {
            data::embedded::runScript(m_db->path(), QStringLiteral("CREATE TABLE t_new (a INTEGER);\n"
                                                                   "INSERT INTO t_new VALUES (1);\n\n"
                                                                   "INSERT INTO t_nothing VALUES (2);\n"));
        },
        core::errc::ProviderError, QStringLiteral("line 4"));
    QVERIFY(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 't_new'")).toInt() == 0);
}

void TestConnectionEmbedded::sharedConnectionOnFixture()
{
    {
        TempDatabase other;
        other.openShared();
        Connection& shared = data::Data::SqlServer();
        QCOMPARE(&shared, &data::Data::SqlServer());
        QVERIFY(shared.isOpen());
        other.exec(QStringLiteral("CREATE TABLE t_x (a INTEGER); INSERT INTO t_x VALUES (5);"));
        QCOMPARE(shared.openRecordset(QStringLiteral("SELECT a FROM t_x"))->value(QStringLiteral("A")),
                 QVariant(qlonglong(5)));
        m_db->openShared();
        expectError([&] { shared.openRecordset(QStringLiteral("SELECT a FROM t_x")); }, core::errc::ProviderError,
                    QStringLiteral("no such table"));
        other.openShared();
    }
    QVERIFY(!data::Data::SqlServer().isOpen());
}

void TestConnectionEmbedded::systemStatementsRunOnSchema_data()
{
    QTest::addColumn<QString>("sql");

    const QString november = QStringLiteral(" AND data >= CONVERT(DATETIME,'2009-11-01 00:00:00',102) AND data <= "
                                            "CONVERT(DATETIME,'2009-11-30 23:59:59',102)");
    const QString view = QStringLiteral("vwProcessos_Trabalhos_Tarefas_Lancamentos");
    const QStringList statements = {
        "SELECT * FROM tbUsers WHERE descrit = 'O' + CHAR(39) + 'Neil'",
        "SELECT * FROM tbAdvogados WHERE contacto_id = 9",
        "SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id = 9 ORDER BY escondida, "
        "data_escritorio, trabalho_id, data, processo_no_completo",
        "SELECT trabalho_id FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = 812",
        "SELECT Processo_ID FROM tbProcessos_Trabalhos WHERE trabalho_id = 77",
        "SELECT Contacto_ID FROM tbProcessos WHERE Processo_ID = 15",
        "SELECT Base_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases WHERE counter <> 0",
        "SELECT Preco_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos WHERE counter <> 0",
        "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, processo_id, contacto_id, "
        "data, "
        "data_fim, advogado_id, base_id, unidades, preco_id, preco, inprogress, closed, inprogress_time) VALUES (812, "
        "77, 15, 402, GETDATE(), null, 9, 1, 0, 2, 45.5, 1, 0, GETDATE())",
        "SELECT @@Identity as last",
        "SELECT * FROM tbProcessos_Trabalhos_Tarefas_lancamentos WHERE lancamento_id = 1",
        "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data_fim = GETDATE(), inprogress = 0, unidades = 12 "
        "WHERE lancamento_id = 1",
        "DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = 1",
        "UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 1 WHERE tarefa_id = 812",
        "UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 812",
        "SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 AND inprogress <> 0 AND "
        "trabalho_id = 77",
        "UPDATE tbProcessos_Trabalhos SET advogado_id = null WHERE trabalho_id = 77",
        "SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas WHERE (closed = 0 OR closed is null) AND trabalho_id "
        "= 77",
        "SELECT * FROM tbProcessos WHERE processo_id = 15",
        "SELECT * FROM vwAdvogados WHERE activo <> 0 OR activo is null ORDER BY advogado_descrit",
        "SELECT * FROM " + view + " WHERE base_id = 1 AND advogado_id = 9" + november,
        "SELECT tbContactos.nome_union, " + view + ".processo_no_completo, " + view + ".trabalho, " + view +
            ".tarefa, SUM(unidades) as total FROM " + view + " LEFT JOIN tbContactos ON " + view +
            ".contacto_id = tbContactos.contacto_id WHERE base_id = 1 AND advogado_id = 9" + november +
            "  GROUP BY tbContactos.nome_union, " + view + ".processo_no_completo, " + view + ".trabalho, " + view +
            ".tarefa  ORDER BY tbContactos.nome_union, " + view + ".processo_no_completo, " + view + ".trabalho, " +
            view + ".tarefa ",
        "SELECT GETDATE() AS DATE",
        "SELECT tbGroups_Users_Links.*, tbGroups.code, tbUsers.code as user_code FROM tbGroups_Users_Links LEFT OUTER "
        "JOIN tbGroups ON tbGroups_Users_Links.group_id = tbGroups.group_id LEFT JOIN tbUsers ON "
        "tbGroups_Users_Links.user_id = tbUsers.user_id WHERE tbUsers.descrit = 'jsilva'",
        "SELECT tbSecurityPolicies.* FROM tbSecurityPolicies WHERE code = '#3101' AND ( (users_groups Like '%JS%'  OR "
        "users_groups LIKE '%ADM%'  OR users_groups LIKE '%SEC%' ) )",
    };
    for (const QString& sql : statements) {
        QTest::newRow(qPrintable(sql.left(60))) << sql;
    }
}

void TestConnectionEmbedded::systemStatementsRunOnSchema()
{
    QFETCH(QString, sql);
    TempDatabase office;
    if (!office.hasSchema()) {
        QSKIP("the office schema script is not part of the data library");
    }
    Connection connection;
    connection.open(office.connectionText());
    try {
        connection.openRecordset(sql);
    } catch (const core::Error& error) {
        QFAIL(qPrintable(error.description()));
    }
}

QTEST_GUILESS_MAIN(TestConnectionEmbedded)
#include "test_connectionembedded.moc"
