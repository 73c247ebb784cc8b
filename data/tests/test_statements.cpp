// The counter's statements against the office's tables in the embedded engine, with SQL Server's rows.

#include "data/connection.h"
#include "data/office/schema.h"
#include "testsupport/tempdatabase.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A small office: lawyer 9 has work 77, 78 (client contact missing) and 79, lawyer 10 has 80, 81 is nobody's;
// the server's clock reads 16-11-2009 09:00.
const char* const OfficeScript = R"(
INSERT INTO tbContactos (contacto_id, nome_union) VALUES
 (9, 'bruno Antunes'), (10, 'Maria da Conceição Ferreira'), (11, 'Tiago Reis'), (12, 'Álvaro Mendes'),
 (402, 'João Sequeira'), (403, 'Álvaro Conceição');
INSERT INTO tbAdvogados (contacto_id, preco, activo) VALUES (9, 45.5, 1), (10, NULL, NULL), (11, 80, 0), (12, 60, 1);
INSERT INTO tbUsers (user_id, descrit, contacto_id, code) VALUES (1, 'jsilva', 9, 'JS'), (6, 'O''Neil', NULL, 'ON'),
 (8, 'alvaro', 403, 'AC');
INSERT INTO tbSecurityPolicies (policy_id, code, users_groups) VALUES (1, '#3101', 'ADM'), (2, '#3200', 'ANA');
INSERT INTO tbProcessos (processo_id, processo_no_completo, contacto_id, judicial) VALUES
 (15, '1234/09.3TBLSB', 402, 1), (16, 'INT-0142/09', 404, 0), (17, '0077/08.1TTLSB', 403, NULL);
INSERT INTO tbProcessos_Trabalhos
 (trabalho_id, processo_id, descrit, advogado_id, prazos, data_legal, data_escritorio) VALUES
 (77, 15, 'Contestação', 9, 0, '2009-11-20 00:00:00', '2009-11-17 00:00:00'),
 (78, 16, 'Parecer jurídico', 9, NULL, NULL, NULL),
 (79, 17, 'Recurso de apelação', 9, 1, NULL, '2009-11-17 00:00:00'),
 (80, 15, 'Réplica', 10, 0, NULL, NULL),
 (81, 15, 'Alegações', NULL, 0, NULL, NULL);
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
 (850, 81, 'Preparar alegações', '2009-11-01 10:00:00', 0, 0);
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
    return u"SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id = %1 ORDER BY "
           "escondida, data_escritorio, trabalho_id, data, processo_no_completo"_s.arg(lawyer);
}

// A statement's rows, the named fields joined with '|', nulls as "null", dates as the counter shows them.
QStringList rows(const QString& sql, const QString& fields)
{
    const auto records = data::Data::SqlServer().openRecordset(sql);
    QStringList result;
    for (; !records->eof(); records->moveNext()) {
        QStringList values;
        for (const QString& field : fields.split(QLatin1Char(','))) {
            const QVariant value = records->value(field);
            values << (value.isNull()                           ? u"null"_s
                       : value.typeId() == QMetaType::QDateTime ? value.toDateTime().toString("dd-MM-yyyy HH:mm:ss")
                                                                : value.toString());
        }
        result << values.join(QLatin1Char('|'));
    }
    return result;
}

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

    testsupport::TempDatabase m_db;

private Q_SLOTS:
    // The tests only read: one office serves them all.
    void initTestCase()
    {
        m_db.exec(QString::fromUtf8(OfficeScript));
        m_db.setServerClock(ServerNow);
        m_db.openShared();
    }

    // The embedded and the server scripts declare the same columns for every table and view.
    void bothScriptsCreateTheSameColumns()
    {
        const auto columnsOf = [](const QString& script, const QString& name) {
            const QRegularExpression block(u"CREATE (TABLE|VIEW) (dbo\\.)?%1 (\\(|AS)(.*?)(;|\\nGO)"_s.arg(name),
                                           QRegularExpression::DotMatchesEverythingOption);
            const QString body = block.match(script).captured(4);
            // A table's column starts its line with a name and a type; a view names its columns with AS.
            const QRegularExpression column(name.startsWith(QLatin1String("vw"))
                                                ? u"AS (\\w+)\\s*(,|\\n|$)"_s
                                                : u"^\\s+(?!(?i:primary|constraint) )(\\w+) \\w+"_s,
                                            QRegularExpression::MultilineOption);
            QStringList names;
            for (auto it = column.globalMatch(body); it.hasNext();) {
                names.append(it.next().captured(1).toLower());
            }
            return names;
        };
        const QString embedded = data::schema::script(data::schema::Dialect::Embedded);
        const QString server = data::schema::script(data::schema::Dialect::SqlServer);
        for (const QString& name : data::schema::tableNames() + data::schema::viewNames()) {
            const QStringList columns = columnsOf(embedded, name);
            QVERIFY2(columns.size() >= 2, qPrintable(name));
            QCOMPARE(columnsOf(server, name), columns);
            QCOMPARE(data::Data::SqlServer().openRecordset(u"SELECT * FROM "_s + name)->fieldNames().size(),
                     columns.size());
        }
    }

    void lawyerBox()
    {
        // The list filling compares field names exactly, so the view must name them in this case.
        const QString sql = "SELECT * FROM vwAdvogados WHERE activo <> 0 OR activo is null ORDER BY advogado_descrit";
        const QStringList fields = data::Data::SqlServer().openRecordset(sql)->fieldNames();
        QVERIFY(fields.contains("advogado_descrit") && fields.contains("contacto_id"));
        // The inactive lawyer is left out; names sort as the server's collation does.
        QCOMPARE(rows(sql, "advogado_descrit,contacto_id"),
                 (QStringList{"Álvaro Mendes|12", "bruno Antunes|9", "Maria da Conceição Ferreira|10"}));
    }

    void lookups_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* name, const QString& sql, const char* field, const QStringList& expected) {
            QTest::newRow(name) << sql << QString::fromUtf8(field) << expected;
        };
        const QString user = "SELECT * FROM tbUsers WHERE descrit = ";
        const QString lawyer = "SELECT * FROM tbAdvogados WHERE contacto_id = ";
        const QString giveBack =
            "SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 "
            "AND inprogress <> 0 AND trabalho_id = ";
        const QString pending =
            "SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas WHERE (closed = 0 OR closed is null) "
            "AND trabalho_id = ";
        const QString policy = "SELECT tbSecurityPolicies.* FROM tbSecurityPolicies WHERE code = ";

        row("server date", "SELECT GETDATE() AS DATE", "date", {"16-11-2009 09:00:00"});
        row("user with apostrophe, no contact", user + "'O' + CHAR(39) + 'Neil'", "contacto_id", {"null"});
        row("lawyer's price", lawyer + "9", "preco", {"45.5"});
        row("entry, table name with lower-case l",
            "SELECT * FROM tbProcessos_Trabalhos_Tarefas_lancamentos WHERE lancamento_id = 2", "data",
            {"10-11-2009 14:00:00"});
        row("give back: closed running entry left out", giveBack + "79", "no", {"1"});
        row("pending tasks, null closed counts", pending + "77", "no", {"4"});
        const QString entry = "(users_groups LIKE '%1' OR users_groups LIKE '%1;%' OR users_groups LIKE '%;%1' OR "
                              "users_groups LIKE '%;%1;%')";
        row("policy: whole code, letter case ignored", policy + "'#3101' AND ( " + entry.arg("adm") + " )", "code",
            {"#3101"});
    }

    void lookups()
    {
        QFETCH(QString, sql);
        QFETCH(QString, field);
        QTEST(rows(sql, field), "expected");
    }

    void pendingList()
    {
        // Nulls first, hidden last; 812 is being counted; 813 has a null escondida and null minutes; 821 has no
        // client contact; 830, counted on two workstations, gives one row.
        QCOMPARE(rows(pendingStatement(9),
                      "tarefa_id,total_tempo,escondida,inprogress,lancamento_id,data_inicio,cliente,"
                      "data_legal,trabalho,processo_no_completo"),
                 (QStringList{
                     "821|null|0|null|null|null|null|null|Parecer jurídico|INT-0142/09",
                     "820|80|0|null|null|null|null|null|Parecer jurídico|INT-0142/09",
                     "813|10|0|null|null|null|João Sequeira|20-11-2009 00:00:00|Contestação|1234/09.3TBLSB",
                     "812|105|0|1|3|16-11-2009 08:30:00|João Sequeira|20-11-2009 00:00:00|Contestação|1234/09.3TBLSB",
                     "830|60|0|1|12|16-11-2009 08:45:00|Álvaro Conceição|null|Recurso de apelação|0077/08.1TTLSB",
                     "814|null|1|null|null|null|João Sequeira|20-11-2009 00:00:00|Contestação|1234/09.3TBLSB",
                 }));
        QCOMPARE(rows(pendingStatement(10), "tarefa_id"), QStringList{"840"});
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "test_statements.moc"
