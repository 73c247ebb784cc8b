#include "admin/csvfile.h"
#include "adminrun.h"
#include "data/connection.h"
#include "data/office/machinesettings.h"
#include "scramble/modencriptserial.h"
#include "testsupport/files.h"
#include "testsupport/officefixture.h"
#include "testsupport/tempregistry.h"

#include <QTemporaryDir>
#include <QTest>

#include <optional>

using testsupport::TempDatabase;
using Files = QMap<QString, QByteArray>; // option ("clients", "cases", "work", "tasks") -> file content

class TestCsvImport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::optional<testsupport::TempRegistry> m_registry;
    std::optional<testsupport::OfficeFixture> m_office;

    int import(AdminRun& orvadmin, const Files& files)
    {
        QStringList arguments{"import"};
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            const QString file = m_dir.filePath(it.key() + ".csv");
            testsupport::writeFile(file, it.value());
            arguments << "--" + it.key() << file;
        }
        return orvadmin(arguments);
    }

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = "-1234567890"; }

    void init()
    {
        m_office.reset();
        m_registry.emplace();
        m_office.emplace();
        settingsFor(m_office->database()).write();
    }

    void cleanupTestCase() { m_office.reset(); }

    void readsCsv_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("records"); // "line:field|field", then the problems: "line! reason"

        QTest::newRow("plain") << QByteArray("a;b\n1;2\n") << "a|b" << QStringList{"2:1|2"};
        QTest::newRow("byte-order mark and CRLF")
            << QByteArray("\357\273\277a;b\r\n1;2\r\n") << "a|b" << QStringList{"2:1|2"};
        QTest::newRow("byte-order mark before a quoted name")
            << QByteArray("\xEF\xBB\xBF\"a\";b\n1;2\n") << "a|b" << QStringList{"2:1|2"};
        QTest::newRow("byte-order mark alone") << QByteArray("\xEF\xBB\xBF") << "" << QStringList();
        QTest::newRow("a later U+FEFF is data")
            << QByteArray("a\n\xEF\xBB\xBFx\n") << "a" << QStringList{"2:\xEF\xBB\xBFx"};
        QTest::newRow("quoted separator and doubled quotes")
            << QByteArray("a;b\n\"x;y\";\"say \"\"hi\"\"\"\n") << "a|b" << QStringList{"2:x;y|say \"hi\""};
        QTest::newRow("line break inside quotes")
            << QByteArray("a;b\n\"one\ntwo\";3\n4;5\n") << "a|b" << QStringList{"2:one\ntwo|3", "4:4|5"};
        QTest::newRow("blank lines skipped") << QByteArray("a\n\n1\n  \n") << "a" << QStringList{"3:1"};
        QTest::newRow("empty fields") << QByteArray("a;b;c\n;;\n") << "a|b|c" << QStringList{"2:||"};
        QTest::newRow("blanks kept") << QByteArray("a\n  x  \n") << "a" << QStringList{"2:  x  "};
        QTest::newRow("no final line end") << QByteArray("a\n1") << "a" << QStringList{"2:1"};
        QTest::newRow("quote never closed")
            << QByteArray("a;b\n1;2\n\"open;3\n4;5\n") << "" << QStringList{"3! aspas abertas e nunca fechadas"};
        QTest::newRow("not UTF-8") << QByteArray("a\n1\n\xE9t\xE9\n") << ""
                                   << QStringList{"3! o texto não está em UTF-8"};
    }

    void readsCsv()
    {
        QFETCH(QByteArray, bytes);
        const admin::CsvTable table = admin::CsvTable::parse(bytes);
        QTEST(table.header.join(u'|'), "header");
        QStringList records;
        for (const admin::CsvRecord& record : table.records) {
            records << QString::number(record.line) + ':' + record.fields.join(u'|');
        }
        for (const auto& problem : table.problems) {
            records << QString::number(problem.line) + "! " + problem.reason;
        }
        QTEST(records, "records");
    }

    // Every bad row is listed by file and line, and nothing at all is written, good rows included.
    void badRowsWriteNothing_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("problems"); // "option:line: reason"
        const auto row = [](const char* name, const Files& files, const QStringList& problems) {
            QTest::newRow(name) << files << problems;
        };

        const QByteArray tasks = "tarefa_id;trabalho_id;descrit;data\n";
        row("no such case", Files{{"work", "trabalho_id;processo_id;descrit\n80;15;Bom\n81;999;Mau\n"}},
            QStringList{"work:3: processo_id 999 não existe"});
        row("a date that is no date", Files{{"tasks", tasks + "900;77;Bom;01-02-2024\n901;77;Mau;31-02-2024\n"}},
            QStringList{"tasks:3: data \"31-02-2024\" não é uma data"});
        row("duplicate of the database", Files{{"clients", "contacto_id;nome_union\n403;Novo\n402;Já existe\n"}},
            QStringList{"clients:3: contacto_id 402 já existe na base de dados"});
        row("lawyer that is no lawyer", Files{{"work", "trabalho_id;processo_id;descrit;advogado_id\n80;15;X;402\n"}},
            QStringList{"work:2: advogado_id 402 não existe"});
        row("reference to a later kind",
            Files{{"cases", "processo_id;processo_no_completo;contacto_id\n50;X;1001\n"},
                  {"clients", "contacto_id;nome_union\n1002;Outro\n"}},
            QStringList{"cases:2: contacto_id 1001 não existe"});
        row("unknown and missing columns", Files{{"tasks", "tarefa_id;trabalho_id;cor\n900;77;azul\n"}},
            QStringList{"tasks:1: coluna \"cor\" desconhecida", "tasks:1: falta a coluna \"descrit\""});
        row("flag, identifier and blank required text",
            Files{{"cases", "processo_id;processo_no_completo;judicial\n50;X;2\n5x;Y;1\n52; ;0\n"}},
            QStringList{"cases:2: judicial \"2\" não é 0 nem 1",
                        "cases:3: processo_id \"5x\" não é um número inteiro positivo",
                        "cases:4: processo_no_completo em branco"});
        row("wrong number of fields", Files{{"clients", "contacto_id;nome_union\n403;A;extra\n"}},
            QStringList{"clients:2: 3 campos em vez de 2"});
        // Text is checked as the editors check it, and the reason names the column as a field.
        const QByteArray clients = "contacto_id;nome_union;morada\n";
        row("a 256-character name", Files{{"clients", clients + "403;" + QByteArray(256, 'n') + ";\n404;Bom;\n"}},
            QStringList{"clients:2: O campo «nome_union» tem 256 caracteres; o máximo é 255."});
        const QString unstored = "O campo «%1» tem caracteres que a base de dados não guarda (por exemplo «%2»).";
        row("a control character, a NUL and text outside Windows-1252",
            Files{{"clients", clients + "403;a\001b;\n404;Bom;Rua" + QByteArray(1, '\0') + "1\n405;Prazo 期限;\n"}},
            QStringList{"clients:2: " + unstored.arg("nome_union", "\\x01"),
                        "clients:3: " + unstored.arg("morada", "\\x00"),
                        "clients:4: " + unstored.arg("nome_union", "期")});
        row("bad rows in two files",
            Files{{"clients", "contacto_id;nome_union\n403;A\n403;B\n"}, {"tasks", tasks + "900;78;X;\n"}},
            QStringList{"clients:3: contacto_id 403 repetido (linha 2)", "tasks:2: trabalho_id 78 não existe"});
    }

    void badRowsWriteNothing()
    {
        QFETCH(Files, files);
        QFETCH(QStringList, problems);
        data::StatementLog::clear();
        AdminRun orvadmin;
        QCOMPARE(import(orvadmin, files), 3);
        for (const QString& problem : problems) {
            const QString expected =
                m_dir.filePath(problem.section(u':', 0, 0) + ".csv") + ':' + problem.section(u':', 1);
            QVERIFY2(orvadmin.err.contains(expected + '\n'), qPrintable(orvadmin.err + "\nexpected: " + expected));
        }
        QCOMPARE(orvadmin.err.count(u'\n'), problems.size() + 1);
        QVERIFY(orvadmin.err.contains("nada foi importado"));
        QVERIFY(data::StatementLog::statements().filter("INSERT").isEmpty());
    }

    // A database failure half-way leaves nothing of the import behind.
    void failingInsertRollsEverythingBack()
    {
        data::StatementFailures::failNext({3604, "disk full"}, "INSERT INTO tbProcessos ");
        AdminRun orvadmin;
        QCOMPARE(import(orvadmin, Files{{"clients", "contacto_id;nome_union\n403;A\n"},
                                        {"cases", "processo_id;processo_no_completo\n50;X\n"}}),
                 1);
        data::StatementFailures::clear();
        QVERIFY2(orvadmin.err.contains("disk full"), qPrintable(orvadmin.err));
        QVERIFY(m_office->database().select("SELECT 1 FROM tbContactos WHERE contacto_id = 403").isEmpty());
    }

    // Texts arrive trimmed, whatever they hold; dates, flags and references left empty as the counter reads them.
    void importedValuesAreWhatTheCounterReads()
    {
        const QStringList names{"O'Neil d'Arc", "a;b",
                                "say \"hi\"",   "100% _x_ [a]",
                                "  padded  ",   QString(255, u'x'),
                                "Ação € Ñandú", "'); DROP TABLE tbContactos; --"};
        QByteArray csv = "contacto_id;nome_union\n";
        for (int i = 0; i < names.size(); ++i) {
            QString quoted = names.at(i);
            quoted.replace('"', "\"\"");
            csv += QByteArray::number(2000 + i) + ";\"" + quoted.toUtf8() + "\"\n";
        }
        AdminRun orvadmin;
        QCOMPARE(
            import(orvadmin, Files{{"clients", csv},
                                   {"cases", "processo_id;processo_no_completo;contacto_id;judicial\n60;INT-2/24;;0\n"},
                                   {"work", "trabalho_id;processo_id;descrit;advogado_id;data_legal;data_escritorio\n"
                                            "80;15;Recurso;9;2024-03-05 14:30;05-03-2024\n"},
                                   {"tasks", "tarefa_id;trabalho_id;descrit;data;closed\n900;80;Alegações;;\n"
                                             "901;80;Feita;;1\n"}}),
            0);
        QVERIFY2(orvadmin.out.contains("12 linha(s) importada(s)"), qPrintable(orvadmin.out));
        for (int i = 0; i < names.size(); ++i) {
            const QVariant stored = m_office->database().scalar(
                QStringLiteral("SELECT nome_union FROM tbContactos WHERE contacto_id = %1").arg(2000 + i));
            QCOMPARE(stored.toString(), names.at(i).trimmed());
        }
        const QString work = "SELECT data_legal, data_escritorio FROM tbProcessos_Trabalhos WHERE trabalho_id = 80";
        QCOMPARE(m_office->database().select(work),
                 (QList<QVariantList>{{QDateTime(QDate(2024, 3, 5), QTime(14, 30)), QDate(2024, 3, 5).startOfDay()}}));
        QVERIFY(m_office->database().scalar("SELECT contacto_id FROM tbProcessos WHERE processo_id = 60").isNull());
        // A task without closed and escondida is open and shown; one imported closed is not pending.
        QCOMPARE(m_office->database().select("SELECT tarefa_id FROM vwProcessos_Trabalhos_Tarefas WHERE tarefa_id >= "
                                             "900 AND closed = 0 AND escondida = 0 AND advogado_id = 9"),
                 QList<QVariantList>{{900LL}});
    }
};

QTEST_GUILESS_MAIN(TestCsvImport)
#include "test_csvimport.moc"
