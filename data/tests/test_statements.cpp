// The statements the counter sends, run against the case database's tables and views in the
// embedded engine, with the rows a SQL Server database of the office returns for them.

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/schema.h"
#include "testsupport/tempdatabase.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// A small office. Lawyer 9 has work items 77 (court case, office deadline 17-11), 78 (no deadline,
// client contact missing from tbContactos) and 79 (same office deadline as 77); lawyer 10 has 80;
// 81 and 82 are nobody's. The server's clock reads 16-11-2009 09:00.
const char* const OfficeScript = R"(
INSERT INTO tbContactos (contacto_id, nome_union) VALUES
 (9, 'Rui Antunes'), (10, 'Maria da Conceição Ferreira'), (11, 'Tiago Reis'), (12, 'Álvaro Mendes'),
 (402, 'João Sequeira'), (403, 'Álvaro Conceição');
INSERT INTO tbAdvogados (contacto_id, preco, activo) VALUES (9, 45.5, 1), (10, NULL, NULL), (11, 80, 0), (12, 60, 1);
INSERT INTO tbUsers (user_id, descrit, contacto_id, code) VALUES
 (1, 'jsilva', 9, 'JS'), (2, 'mferreira', 10, 'MF'), (3, 'secretaria', NULL, 'SC'), (4, 'ana', 403, 'AN'),
 (5, 'anabela', 12, 'ANA'), (6, 'O''Neil', NULL, 'ON'), (7, 'tiago', 11, 'TR'), (8, 'alvaro', 403, 'AC');
INSERT INTO tbGroups (group_id, code) VALUES (1, 'ADM'), (2, 'SEC'), (3, 'ADV');
INSERT INTO tbGroups_Users_Links (group_id, user_id) VALUES (1, 1), (2, 1), (99, 1), (3, 2), (3, 4), (3, 5);
INSERT INTO tbSecurityPolicies (policy_id, code, users_groups) VALUES (1, '#3101', 'ADM'), (2, '#3200', 'ANA');
INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases (base_id, counter) VALUES (1, 1), (2, 0);
INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos (preco_id, counter) VALUES (1, 0), (2, 1);
INSERT INTO tbProcessos (processo_id, processo_no_completo, contacto_id, judicial) VALUES
 (15, '1234/09.3TBLSB', 402, 1), (16, 'INT-0142/09', 404, 0), (17, '0077/08.1TTLSB', 403, NULL);
INSERT INTO tbProcessos_Trabalhos
 (trabalho_id, processo_id, descrit, advogado_id, prazos, data_legal, data_escritorio) VALUES
 (77, 15, 'Contestação', 9, 0, '2009-11-20 00:00:00', '2009-11-17 00:00:00'),
 (78, 16, 'Parecer jurídico', 9, NULL, NULL, NULL),
 (79, 17, 'Recurso de apelação', 9, 1, NULL, '2009-11-17 00:00:00'),
 (80, 15, 'Réplica', 10, 0, NULL, NULL),
 (81, 15, 'Alegações', NULL, 0, NULL, NULL),
 (82, NULL, 'Sem dossier', NULL, NULL, NULL, NULL);
INSERT INTO tbProcessos_Trabalhos_Tarefas (tarefa_id, trabalho_id, descrit, data, closed, escondida) VALUES
 (812, 77, 'Redigir contestação', '2009-11-02 10:00:00', 0, 0),
 (813, 77, 'Juntar documentos', '2009-11-01 10:00:00', 0, NULL),
 (814, 77, 'Notificar testemunhas', '2009-11-03 10:00:00', 0, 1),
 (815, 77, 'Tarefa terminada', '2009-11-03 11:00:00', 1, 0),
 (816, 77, 'Tarefa sem estado', '2009-11-03 12:00:00', NULL, 0),
 (820, 78, 'Parecer', '2009-11-05 10:00:00', 0, 0),
 (821, 78, 'Reunião', NULL, 0, 0),
 (830, 79, 'Alegações de recurso', '2009-10-01 10:00:00', 0, 0),
 (840, 80, 'Rever réplica', '2009-11-01 10:00:00', 0, 0),
 (850, 81, 'Preparar alegações', '2009-11-01 10:00:00', 0, 0),
 (851, 81, 'Rever alegações', '2009-11-01 11:00:00', NULL, 0),
 (860, NULL, 'Tarefa órfã', '2009-11-01 10:00:00', 0, 0);
INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos
 (lancamento_id, tarefa_id, trabalho_id, processo_id, contacto_id, data, data_fim, advogado_id, base_id, unidades,
  preco_id, preco, inprogress, closed) VALUES
 (1, 812, 77, 15, 402, '2009-11-02 09:00:00', '2009-11-02 09:30:00', 9, 1, 30, 2, 45.5, 0, 0),
 (2, 812, 77, 15, 402, '2009-11-10 14:00:00', '2009-11-10 15:15:00', 9, 1, 75, 2, 45.5, 0, 0),
 (3, 812, 77, 15, 402, '2009-11-16 08:30:00', NULL, 9, 1, 0, 2, 45.5, 1, 0),
 (4, 820, 78, 16, 404, '2009-11-01 00:00:00', '2009-11-01 00:45:00', 9, 1, 45, 2, 45.5, 0, 0),
 (5, 820, 78, 16, 404, '2009-11-30 23:59:59', '2009-12-01 00:14:59', 9, 1, 15, 2, 45.5, 0, 0),
 (6, 820, 78, 16, 404, '2009-12-01 00:00:00', '2009-12-01 00:20:00', 9, 1, 20, 2, 45.5, 0, 0),
 (7, 830, 79, 17, 403, '2009-11-05 10:00:00', '2009-11-05 11:00:00', 9, 2, 60, 1, 45.5, 0, 0),
 (8, 840, 80, 15, 402, '2009-11-05 10:00:00', '2009-11-05 10:50:00', 10, 1, 50, 2, 0, 0, 0),
 (9, 813, 77, 15, 402, '2009-10-31 23:59:59', '2009-11-01 00:09:59', 9, 1, 10, 2, 45.5, 0, 0),
 (10, 850, 81, 15, 402, '2009-11-16 08:00:00', NULL, 10, 1, 0, 2, 0, 1, 0),
 (11, 830, 79, 17, 403, '2009-11-16 08:00:00', NULL, 10, 1, 0, 2, 0, 1, 1),
 (12, 830, 79, 17, 403, '2009-11-16 08:45:00', NULL, 9, 1, 0, 2, 45.5, 1, 0),
 (13, 813, 77, 15, 402, '2009-11-12 10:00:00', '2009-11-12 10:20:00', 9, 1, NULL, 2, 45.5, 0, 0);
)";

const QDateTime ServerNow(QDate(2009, 11, 16), QTime(9, 0));

QString pendingStatement(int lawyer)
{
    return QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id = %1 ORDER BY "
                          "escondida, data_escritorio, trabalho_id, data, processo_no_completo")
        .arg(lawyer);
}

QString bounds(const QString& start, const QString& end)
{
    return QStringLiteral(
               " AND data >= CONVERT(DATETIME,'%1 00:00:00',102) AND data <= CONVERT(DATETIME,'%2 23:59:59',102)")
        .arg(start, end);
}

QString entriesStatement(int lawyer, const QString& start, const QString& end)
{
    return QStringLiteral(
               "SELECT * FROM vwProcessos_Trabalhos_Tarefas_Lancamentos WHERE base_id = 1 AND advogado_id = ") +
           QString::number(lawyer) + bounds(start, end);
}

QString totalsStatement(int lawyer, const QString& start, const QString& end)
{
    const QString view = QStringLiteral("vwProcessos_Trabalhos_Tarefas_Lancamentos");
    const QString columns =
        QStringLiteral("tbContactos.nome_union, %1.processo_no_completo, %1.trabalho, %1.tarefa").arg(view);
    return QStringLiteral("SELECT ") + columns + QStringLiteral(", SUM(unidades) as total FROM ") + view +
           QStringLiteral(" LEFT JOIN tbContactos ON %1.contacto_id = tbContactos.contacto_id WHERE base_id = 1 AND "
                          "advogado_id = ")
               .arg(view) +
           QString::number(lawyer) + bounds(start, end) + QStringLiteral("  GROUP BY ") + columns +
           QStringLiteral(" ") + QStringLiteral(" ORDER BY ") + columns + QStringLiteral(" ");
}

QString policyStatement(const QString& code, const QString& condition)
{
    QString sql = QStringLiteral("SELECT tbSecurityPolicies.* FROM tbSecurityPolicies WHERE code = '") + code +
                  QStringLiteral("'");
    if (!condition.isEmpty()) {
        sql += QStringLiteral(" AND ") + condition;
    }
    return sql;
}

// The values of some fields of every row, read as the system reads them.
QList<QVariantList> read(const QString& sql, const QStringList& fields)
{
    std::unique_ptr<data::Recordset> records = data::Data::SqlServer().openRecordset(sql);
    QList<QVariantList> rows;
    for (; !records->eof(); records->moveNext()) {
        QVariantList row;
        for (const QString& field : fields) {
            row.append(records->value(field));
        }
        rows.append(row);
    }
    records->close();
    return rows;
}

QList<qlonglong> numbers(const QString& sql, const QString& field)
{
    QList<qlonglong> values;
    for (const QVariantList& row : read(sql, {field})) {
        values.append(row.at(0).isNull() ? -1 : row.at(0).toLongLong());
    }
    return values;
}

QVariant first(const QString& sql, const QString& field)
{
    const QList<QVariantList> rows = read(sql, {field});
    return rows.isEmpty() ? QVariant() : rows.first().first();
}

QDateTime at(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2009, 11, day), QTime(hour, minute));
}

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private:
    // One office serves every test that only reads; a test that writes marks it spent, and the
    // next test gets a fresh one.
    std::unique_ptr<testsupport::TempDatabase> m_db;
    bool m_spent = false;

    void execute(const QString& sql)
    {
        m_spent = true;
        data::Data::SqlServer().execute(sql);
    }

private Q_SLOTS:
    void init()
    {
        if (m_db && !m_spent) {
            return;
        }
        m_db.reset();
        m_db = std::make_unique<testsupport::TempDatabase>();
        QVERIFY(m_db->hasSchema());
        m_db->exec(QString::fromUtf8(OfficeScript));
        m_db->setServerClock(ServerNow);
        m_db->openShared();
        m_spent = false;
    }

    void cleanupTestCase() { m_db.reset(); }

    void bothScriptsCreateTheSameColumns();
    void serverDateAndLawyerBox();
    void userAndLawyerLookup_data();
    void userAndLawyerLookup();
    void pendingListOrderAndColumns();
    void runningEntryGivesOneRowPerTask();
    void startLookups_data();
    void startLookups();
    void startAndStopAnEntry();
    void counts_data();
    void counts();
    void incompleteStatementsAreRejected_data();
    void incompleteStatementsAreRejected();
    void taskCommandsChangeThePendingList();
    void entriesBetweenTwoDates();
    void totalsPerClientCaseWorkAndTask();
    void groupLinksOfAUser();
    void securityPolicy_data();
    void securityPolicy();
};

// The embedded and the server scripts declare the same columns for every table and view.
void TestStatements::bothScriptsCreateTheSameColumns()
{
    const auto columnsOf = [](const QString& script, const QString& name) {
        const QRegularExpression block(
            QStringLiteral("CREATE (TABLE|VIEW) (dbo\\.)?%1 (\\(|AS)(.*?)(;|\\nGO)").arg(name),
            QRegularExpression::DotMatchesEverythingOption);
        const QString body = block.match(script).captured(4);
        const QRegularExpression column(name.startsWith(QLatin1String("vw")) ? QStringLiteral("AS (\\w+)\\s*(,|\\n|$)")
                                                                             : QStringLiteral("^\\s+(\\w+) \\w+"),
                                        QRegularExpression::MultilineOption);
        QStringList names;
        for (auto it = column.globalMatch(body); it.hasNext();) {
            const QString found = it.next().captured(1).toLower();
            if (found != QLatin1String("primary") && found != QLatin1String("constraint")) {
                names.append(found);
            }
        }
        return names;
    };
    const QString embedded = data::schema::script(data::schema::Dialect::Embedded);
    const QString server = data::schema::script(data::schema::Dialect::SqlServer);
    for (const QString& name : data::schema::tableNames() + data::schema::viewNames()) {
        const QStringList columns = columnsOf(embedded, name);
        QVERIFY2(columns.size() >= 2, qPrintable(name));
        QCOMPARE(columnsOf(server, name), columns);
        // Every declared name answers a query through the connection.
        QVERIFY(data::Data::SqlServer().openRecordset(QStringLiteral("SELECT * FROM ") + name)->fieldNames().size() ==
                columns.size());
    }
}

void TestStatements::serverDateAndLawyerBox()
{
    QCOMPARE(first(QStringLiteral("SELECT GETDATE() AS DATE"), QStringLiteral("date")).toDateTime(), ServerNow);

    // The list filling compares field names exactly, so the view must name them in this case.
    const QString sql =
        QStringLiteral("SELECT * FROM vwAdvogados WHERE activo <> 0 OR activo is null ORDER BY advogado_descrit");
    const QStringList fields = data::Data::SqlServer().openRecordset(sql)->fieldNames();
    QVERIFY(fields.contains(QStringLiteral("advogado_descrit")));
    QVERIFY(fields.contains(QStringLiteral("contacto_id")));
    // The inactive lawyer is left out; names sort as the server's collation sorts them (Á with A).
    const QList<QVariantList> rows = read(sql, {QStringLiteral("advogado_descrit"), QStringLiteral("contacto_id")});
    QCOMPARE(rows, (QList<QVariantList>{{QStringLiteral("Álvaro Mendes"), 12LL},
                                        {QStringLiteral("Maria da Conceição Ferreira"), 10LL},
                                        {QStringLiteral("Rui Antunes"), 9LL}}));
}

void TestStatements::userAndLawyerLookup_data()
{
    QTest::addColumn<QString>("literal");
    QTest::addColumn<qlonglong>("contacto");
    QTest::addColumn<bool>("lawyer");

    QTest::newRow("lawyer") << QStringLiteral("'jsilva'") << 9LL << true;
    QTest::newRow("letter case ignored") << QStringLiteral("'JSilva'") << 9LL << true;
    QTest::newRow("inactive lawyer") << QStringLiteral("'tiago'") << 11LL << true;
    QTest::newRow("contact who is no lawyer") << QStringLiteral("'alvaro'") << 403LL << false;
    QTest::newRow("apostrophe, contact null") << QStringLiteral("'O' + CHAR(39) + 'Neil'") << -1LL << false;
    QTest::newRow("unknown user") << QStringLiteral("'ninguem'") << 0LL << false;
}

void TestStatements::userAndLawyerLookup()
{
    QFETCH(QString, literal);
    QFETCH(qlonglong, contacto);
    QFETCH(bool, lawyer);

    const QList<qlonglong> found =
        numbers(QStringLiteral("SELECT * FROM tbUsers WHERE descrit = ") + literal, QStringLiteral("contacto_id"));
    QCOMPARE(found, contacto == 0 ? QList<qlonglong>() : QList<qlonglong>{contacto});
    if (contacto > 0) {
        const QString sql =
            QStringLiteral("SELECT * FROM tbAdvogados WHERE contacto_id = ") + QString::number(contacto);
        QCOMPARE(!read(sql, {QStringLiteral("contacto_id")}).isEmpty(), lawyer);
    }
}

void TestStatements::pendingListOrderAndColumns()
{
    const QList<QVariantList> rows = read(
        pendingStatement(9), {QStringLiteral("tarefa_id"), QStringLiteral("total_tempo"), QStringLiteral("escondida"),
                              QStringLiteral("inprogress"), QStringLiteral("lancamento_id"),
                              QStringLiteral("data_inicio"), QStringLiteral("cliente"), QStringLiteral("data_legal"),
                              QStringLiteral("trabalho"), QStringLiteral("processo_no_completo")});

    // Nulls first, as the server sorts them: no office deadline, then no task date; hidden last.
    QList<qlonglong> order;
    for (const QVariantList& row : rows) {
        order.append(row.at(0).toLongLong());
    }
    QCOMPARE(order, (QList<qlonglong>{821, 820, 813, 812, 830, 814}));

    const QVariantList& running = rows.at(3);  // task 812
    QCOMPARE(running.at(1).toDouble(), 105.0); // 30 + 75 + the running entry's 0
    QCOMPARE(running.at(2).toString(), QStringLiteral("0"));
    QCOMPARE(running.at(3).toLongLong(), 1LL);
    QCOMPARE(running.at(4).toLongLong(), 3LL);
    QCOMPARE(running.at(5).toDateTime(), at(16, 8, 30));
    QCOMPARE(running.at(6).toString(), QStringLiteral("João Sequeira"));
    QCOMPARE(running.at(7).toDateTime(), at(20, 0));
    QCOMPARE(running.at(8).toString(), QStringLiteral("Contestação"));
    QCOMPARE(running.at(9).toString(), QStringLiteral("1234/09.3TBLSB"));

    const QVariantList& nullHidden = rows.at(2); // task 813: escondida null, an entry with null minutes
    QCOMPARE(nullHidden.at(2).toString(), QStringLiteral("0"));
    QCOMPARE(nullHidden.at(1).toDouble(), 10.0);
    QVERIFY(nullHidden.at(3).isNull());
    QVERIFY(nullHidden.at(4).isNull());
    QVERIFY(nullHidden.at(5).isNull());

    QVERIFY(rows.at(0).at(1).isNull()); // task 821: nothing recorded
    QVERIFY(rows.at(0).at(6).isNull()); // its case's client is missing
    QCOMPARE(rows.at(5).at(2).toString(), QStringLiteral("1"));

    QCOMPARE(numbers(pendingStatement(10), QStringLiteral("tarefa_id")), QList<qlonglong>{840});
    QVERIFY(read(pendingStatement(12), {QStringLiteral("tarefa_id")}).isEmpty());
}

// Task 830 is counted on two workstations (entries 11 and 12): one row, for the later entry.
void TestStatements::runningEntryGivesOneRowPerTask()
{
    const QString sql = QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE tarefa_id = 830");
    const QList<QVariantList> rows =
        read(sql, {QStringLiteral("lancamento_id"), QStringLiteral("data_inicio"), QStringLiteral("total_tempo")});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0).at(0).toLongLong(), 12LL);
    QCOMPARE(rows.at(0).at(1).toDateTime(), at(16, 8, 45));
    QCOMPARE(rows.at(0).at(2).toDouble(), 60.0);
}

void TestStatements::startLookups_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    const QVariant null;
    QTest::newRow("work item") << QStringLiteral(
                                      "SELECT trabalho_id FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = 820")
                               << QStringLiteral("trabalho_id") << QVariant(78LL);
    QTest::newRow("task without work item")
        << QStringLiteral("SELECT trabalho_id FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = 860")
        << QStringLiteral("trabalho_id") << null;
    QTest::newRow("case") << QStringLiteral("SELECT Processo_ID FROM tbProcessos_Trabalhos WHERE trabalho_id = 78")
                          << QStringLiteral("Processo_ID") << QVariant(16LL);
    QTest::newRow("work item without case")
        << QStringLiteral("SELECT Processo_ID FROM tbProcessos_Trabalhos WHERE trabalho_id = 82")
        << QStringLiteral("Processo_ID") << null;
    QTest::newRow("client") << QStringLiteral("SELECT Contacto_ID FROM tbProcessos WHERE Processo_ID = 16")
                            << QStringLiteral("Contacto_ID") << QVariant(404LL);
    QTest::newRow("counting basis")
        << QStringLiteral("SELECT Base_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases WHERE counter <> 0")
        << QStringLiteral("Base_ID") << QVariant(1LL);
    QTest::newRow("price rule")
        << QStringLiteral("SELECT Preco_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos WHERE counter <> 0")
        << QStringLiteral("Preco_ID") << QVariant(2LL);
    QTest::newRow("lawyer's price") << QStringLiteral("SELECT * FROM tbAdvogados WHERE contacto_id = 9")
                                    << QStringLiteral("preco") << QVariant(45.5);
    QTest::newRow("lawyer without price")
        << QStringLiteral("SELECT * FROM tbAdvogados WHERE contacto_id = 10") << QStringLiteral("preco") << null;
    QTest::newRow("entry, table name with lower-case l")
        << QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_lancamentos WHERE lancamento_id = 2")
        << QStringLiteral("data") << QVariant(at(10, 14));
}

void TestStatements::startLookups()
{
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);

    const QList<QVariantList> rows = read(sql, {field});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0).at(0), expected);
}

void TestStatements::startAndStopAnEntry()
{
    const QString insert = QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, "
                                          "trabalho_id, processo_id, contacto_id, data, "
                                          "data_fim, advogado_id, base_id, unidades, preco_id, preco, inprogress, "
                                          "closed, inprogress_time) VALUES (820, 78, "
                                          "16, 404, GETDATE(), null, 9, 1, 0, 2, 45.5, 1, 0, GETDATE())");
    execute(insert);
    const qlonglong entry = first(QStringLiteral("SELECT @@Identity as last"), QStringLiteral("last")).toLongLong();
    QCOMPARE(entry, 14LL);

    const QStringList fields{QStringLiteral("data"),           QStringLiteral("data_fim"), QStringLiteral("unidades"),
                             QStringLiteral("inprogress"),     QStringLiteral("closed"),   QStringLiteral("preco"),
                             QStringLiteral("inprogress_time")};
    const QString byId =
        QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = 14");
    QCOMPARE(read(byId, fields), (QList<QVariantList>{{ServerNow, QVariant(), 0.0, 1LL, 0LL, 45.5, ServerNow}}));

    const QString task820 = QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE tarefa_id = 820");
    QCOMPARE(read(task820, {QStringLiteral("lancamento_id"), QStringLiteral("data_inicio")}),
             (QList<QVariantList>{{14LL, ServerNow}}));

    m_db->setServerClock(ServerNow.addSecs(5 * 60));
    execute(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data_fim = GETDATE(), inprogress = 0, "
                           "unidades = 5 WHERE lancamento_id = 14"));
    QCOMPARE(read(byId, {QStringLiteral("data_fim"), QStringLiteral("unidades"), QStringLiteral("inprogress")}),
             (QList<QVariantList>{{ServerNow.addSecs(5 * 60), 5.0, 0LL}}));
    QCOMPARE(read(task820, {QStringLiteral("lancamento_id"), QStringLiteral("total_tempo")}),
             (QList<QVariantList>{{QVariant(), 85.0}}));

    // A count too short to keep: the next entry is deleted again.
    execute(insert);
    QCOMPARE(first(QStringLiteral("SELECT @@Identity as last"), QStringLiteral("last")).toLongLong(), 15LL);
    execute(QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = 15"));
    QList<qlonglong> left =
        numbers(QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE tarefa_id = 820"),
                QStringLiteral("lancamento_id"));
    std::sort(left.begin(), left.end());
    QCOMPARE(left, (QList<qlonglong>{4, 5, 6, 14}));
}

void TestStatements::counts_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<qlonglong>("expected");

    const QString giveBack =
        QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE "
                       "closed = 0 AND inprogress <> 0 AND trabalho_id = %1");
    const QString running = QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE "
                                           "inprogress <> 0 AND trabalho_id = %1");
    const QString pending = QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas WHERE (closed = 0 "
                                           "OR closed is null) AND trabalho_id = %1");

    QTest::newRow("give back: running entry") << giveBack.arg(77) << 1LL;
    QTest::newRow("give back: closed running entry left out") << giveBack.arg(79) << 1LL;
    QTest::newRow("give back: another lawyer's entry") << giveBack.arg(81) << 1LL;
    QTest::newRow("give back: none running") << giveBack.arg(78) << 0LL;
    QTest::newRow("take: closed entries count too") << running.arg(79) << 2LL;
    QTest::newRow("take: none running") << running.arg(80) << 0LL;
    QTest::newRow("pending tasks, null closed counts") << pending.arg(77) << 4LL;
    QTest::newRow("pending tasks of a free work item") << pending.arg(81) << 2LL;
    QTest::newRow("no tasks") << pending.arg(82) << 0LL;
}

void TestStatements::counts()
{
    QFETCH(QString, sql);
    QFETCH(qlonglong, expected);

    QCOMPARE(numbers(sql, QStringLiteral("no")), QList<qlonglong>{expected});
}

// A null identifier spliced as nothing leaves the statement incomplete; the database refuses it.
void TestStatements::incompleteStatementsAreRejected_data()
{
    QTest::addColumn<QString>("sql");

    QTest::newRow("count of a task without work item")
        << QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 AND "
                          "inprogress <> 0 AND trabalho_id = ");
    QTest::newRow("case of a work item without case")
        << QStringLiteral("SELECT * FROM tbProcessos WHERE processo_id = ");
}

void TestStatements::incompleteStatementsAreRejected()
{
    QFETCH(QString, sql);

    QVERIFY_THROWS_EXCEPTION(core::Error, data::Data::SqlServer().openRecordset(sql));
}

void TestStatements::taskCommandsChangeThePendingList()
{
    struct Step {
        const char* sql;
        QList<qlonglong> pending;
    };
    const Step steps[] = {
        {"UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 1 WHERE tarefa_id = 813",
         {821, 820, 812, 830, 813, 814}},
        {"UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 0 WHERE tarefa_id = 814",
         {821, 820, 812, 814, 830, 813}},
        {"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 830", {821, 820, 812, 814, 813}},
        {"UPDATE tbProcessos_Trabalhos SET advogado_id = null WHERE trabalho_id = 78", {812, 814, 813}},
        {"UPDATE tbProcessos_Trabalhos SET advogado_id = 9 WHERE trabalho_id = 81", {850, 812, 814, 813}},
    };
    for (const Step& step : steps) {
        execute(QString::fromUtf8(step.sql));
        QCOMPARE(numbers(pendingStatement(9), QStringLiteral("tarefa_id")), step.pending);
    }
}

void TestStatements::entriesBetweenTwoDates()
{
    const QString november = entriesStatement(9, QStringLiteral("2009-11-01"), QStringLiteral("2009-11-30"));
    // No order is asked for: rows come in the server's order, so they are compared by entry.
    QMap<qlonglong, QVariantList> rows;
    for (const QVariantList& row :
         read(november,
              {QStringLiteral("lancamento_id"), QStringLiteral("data_fim"), QStringLiteral("unidades"),
               QStringLiteral("tarefa"), QStringLiteral("trabalho"), QStringLiteral("processo_no_completo")})) {
        rows.insert(row.at(0).toLongLong(), row.mid(1));
    }
    // Base 1 and lawyer 9 only, both bounds included to the second.
    QCOMPARE(rows.keys(), (QList<qlonglong>{1, 2, 3, 4, 5, 12, 13}));
    // The running entry: no end yet, no minutes yet.
    QCOMPARE(rows.value(3), (QVariantList{QVariant(), 0.0, QStringLiteral("Redigir contestação"),
                                          QStringLiteral("Contestação"), QStringLiteral("1234/09.3TBLSB")}));
    QVERIFY(rows.value(13).at(1).isNull());

    const QString backwards = entriesStatement(9, QStringLiteral("2009-11-30"), QStringLiteral("2009-11-01"));
    QVERIFY(read(backwards, {QStringLiteral("lancamento_id")}).isEmpty());
}

void TestStatements::totalsPerClientCaseWorkAndTask()
{
    const QString sql = totalsStatement(9, QStringLiteral("2009-11-01"), QStringLiteral("2009-11-30"));
    QVERIFY(sql.endsWith(QLatin1String("tarefa ")));
    QVERIFY(sql.contains(QLatin1String("23:59:59',102)  GROUP BY")));

    const QList<QVariantList> rows =
        read(sql, {QStringLiteral("nome_union"), QStringLiteral("processo_no_completo"), QStringLiteral("trabalho"),
                   QStringLiteral("tarefa"), QStringLiteral("total")});
    // The client missing from tbContactos groups under a null name, sorted first; Á sorts with A.
    const QList<QVariantList> expected{
        {QVariant(), QStringLiteral("INT-0142/09"), QStringLiteral("Parecer jurídico"), QStringLiteral("Parecer"),
         60.0},
        {QStringLiteral("Álvaro Conceição"), QStringLiteral("0077/08.1TTLSB"), QStringLiteral("Recurso de apelação"),
         QStringLiteral("Alegações de recurso"), 0.0},
        {QStringLiteral("João Sequeira"), QStringLiteral("1234/09.3TBLSB"), QStringLiteral("Contestação"),
         QStringLiteral("Juntar documentos"), QVariant()},
        {QStringLiteral("João Sequeira"), QStringLiteral("1234/09.3TBLSB"), QStringLiteral("Contestação"),
         QStringLiteral("Redigir contestação"), 105.0},
    };
    QCOMPARE(rows, expected);
}

void TestStatements::groupLinksOfAUser()
{
    const QString sql = QStringLiteral(
        "SELECT tbGroups_Users_Links.*, tbGroups.code, tbUsers.code as user_code FROM tbGroups_Users_Links LEFT OUTER "
        "JOIN tbGroups ON tbGroups_Users_Links.group_id = tbGroups.group_id LEFT JOIN tbUsers ON "
        "tbGroups_Users_Links.user_id = tbUsers.user_id WHERE tbUsers.descrit = '%1'");
    QSet<QString> groups;
    for (const QVariantList& row :
         read(sql.arg(QStringLiteral("jsilva")), {QStringLiteral("code"), QStringLiteral("user_code")})) {
        QCOMPARE(row.at(1).toString(), QStringLiteral("JS"));
        groups.insert(row.at(0).isNull() ? QStringLiteral("<null>") : row.at(0).toString());
    }
    QCOMPARE(groups, (QSet<QString>{QStringLiteral("ADM"), QStringLiteral("SEC"), QStringLiteral("<null>")}));
    QVERIFY(read(sql.arg(QStringLiteral("secretaria")), {QStringLiteral("code")}).isEmpty());
}

void TestStatements::securityPolicy_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("applies");

    QTest::newRow("user in the policy's group")
        << policyStatement(QStringLiteral("#3101"), QStringLiteral("( (users_groups Like '%JS%'  OR users_groups LIKE "
                                                                   "'%ADM%'  OR users_groups LIKE '%SEC%' ) )"))
        << true;
    QTest::newRow("user in other groups")
        << policyStatement(QStringLiteral("#3101"),
                           QStringLiteral("( (users_groups Like '%MF%'  OR users_groups LIKE '%ADV%' ) )"))
        << false;
    QTest::newRow("user without group links") << policyStatement(QStringLiteral("#3101"), QString()) << true;
    QTest::newRow("no such policy") << policyStatement(QStringLiteral("#9999"), QString()) << false;
    QTest::newRow("shorter code inside a longer one")
        << policyStatement(QStringLiteral("#3200"),
                           QStringLiteral("( (users_groups Like '%AN%'  OR users_groups LIKE '%ADV%' ) )"))
        << true;
    QTest::newRow("letter case of the pattern ignored")
        << policyStatement(QStringLiteral("#3101"), QStringLiteral("( (users_groups Like '%adm%' ) )")) << true;
}

void TestStatements::securityPolicy()
{
    QFETCH(QString, sql);
    QFETCH(bool, applies);

    QCOMPARE(!read(sql, {QStringLiteral("code")}).isEmpty(), applies);
}

QTEST_GUILESS_MAIN(TestStatements)
#include "test_statements.moc"
