// "Exportar para CSV…" on the statistics lists: the file a spreadsheet reads back to the rows shown.
#include "counter/statistics/csvexport.h"
#include "testsupport/windowfixture.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTabBar>
#include <QTemporaryDir>

using testsupport::OfficeFixture;

namespace {

// The rows of a CSV file as Python's csv module reads them with ";" as separator.
QList<QStringList> readBack(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n"),
                  path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return {};
    }
    QList<QStringList> rows;
    const QJsonArray read = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    for (const QJsonValue row : read) {
        rows << row.toVariant().toStringList();
    }
    return rows;
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { counter::csvExport::setFileChooser({}); }

    // Whatever a description holds comes back as shown, in the order shown, beside the minutes as numbers;
    // only a text a spreadsheet would run as a formula is kept as text by a leading apostrophe.
    void aListReadsBackAsShown()
    {
        const QStringList descriptions{
            QStringLiteral("Conceição — ação nº 1"),
            QStringLiteral("O'Neil"),
            QStringLiteral("a;b;c"),
            QStringLiteral("diz \"olá\""),
            QStringLiteral("linha 1\r\nlinha 2\nlinha 3"),
            QStringLiteral("  brancos nas pontas  "),
            QString(10000, u'x'),
            QStringLiteral("Ελληνικά 中文 😀"),
            QStringLiteral("=1+2"),
            QStringLiteral("-5"),
        };
        WindowFixture f;
        for (int n = 0; n < descriptions.size(); ++n) {
            f.office.addTask(1000 + n, OfficeFixture::Work, descriptions[n]);
            f.office.database().exec(
                QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (lancamento_id, tarefa_id, "
                               "trabalho_id, processo_id, contacto_id, data, data_fim, advogado_id, base_id, "
                               "unidades) VALUES (%1, %2, 77, 15, 402, '2009-11-%3 10:00:00', NULL, 9, 1, %4)")
                    .arg(n + 1)
                    .arg(1000 + n)
                    .arg(10 + n)
                    .arg(n == 0   ? QStringLiteral("1234")
                         : n == 1 ? QStringLiteral("37.5")
                                  : QStringLiteral("NULL")));
        }
        f.load();
        f.child<QDateTimeEdit>("FXData_Inicio").setDate(QDate(2009, 11, 1));
        f.child<QDateTimeEdit>("FXData_Fim").setDate(QDate(2009, 11, 30));
        f.child<QTabBar>("TabStrip1").setCurrentIndex(1);
        auto& list = f.child<counter::ListView>("ListView2");
        Q_EMIT list.ColumnClick(2); // in the order of the task's description

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("lançamentos.csv"));
        QString proposed;
        counter::csvExport::setFileChooser([&](QWidget*, const QString& proposedPath) {
            proposed = proposedPath;
            return path;
        });
        Q_EMIT list.MouseUp(Qt::RightButton, QPoint(5, 5));
        QCOMPARE(f.popups, QStringList{QStringLiteral("mnLancamentosLista")});
        f.child<QAction>("mnExportarLancamentos").trigger();
        QVERIFY(proposed.endsWith(QStringLiteral("/Lançamentos - Ana Lopes - 01-11-2009 a 30-11-2009.csv")));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(3) == QByteArray("\xEF\xBB\xBF"));
        // A missing value, one blank on the list, is an empty field; the number column holds the minutes as such.
        const auto row = [](int day, const QString& task, const QString& minutes = {}, const QString& number = {}) {
            return QStringList{
                QStringLiteral("%1-11-2009").arg(day), QString(), task, "Contestação", "2009/015", minutes, number};
        };
        QCOMPARE(readBack(path), (QList<QStringList>{{"Data Inicio", "Data Fim", "Tarefa", "Trabalho", "Dossier",
                                                      "Minutos", "Minutos (número)"},
                                                     row(15, descriptions[5]),
                                                     row(19, "'-5"),
                                                     row(18, "'=1+2"),
                                                     row(12, descriptions[2]),
                                                     row(10, descriptions[0], "1 234,00", "1234"),
                                                     row(13, descriptions[3]),
                                                     row(14, descriptions[4]),
                                                     row(11, "O'Neil", "37,50", "37,5"),
                                                     row(16, descriptions[6]),
                                                     row(17, descriptions[7])}));
        QVERIFY(f.reports.reports().isEmpty());
    }

    void theProposedNameIsSafeForAnyLawyer_data()
    {
        QTest::addColumn<QString>("lawyer");
        QTest::addColumn<QString>("name");
        const QString dates = QStringLiteral(" - 01-11-2009 a 30-11-2009.csv");
        QTest::newRow("accents") << QStringLiteral("Conceição Sá") << QStringLiteral("Totais - Conceição Sá") + dates;
        QTest::newRow("no lawyer") << QString() << QStringLiteral("Totais") + dates;
        QTest::newRow("separators and wildcards")
            << QStringLiteral("a/b\\c:d*e?f\"g<h>i|j") << QStringLiteral("Totais - a_b_c_d_e_f_g_h_i_j") + dates;
        QTest::newRow("a way out of the folder")
            << QStringLiteral("../../etc/passwd") << QStringLiteral("Totais - _.._etc_passwd") + dates;
        QTest::newRow("blanks, dots and a line break")
            << QStringLiteral(" . Ana\nLopes. ") << QStringLiteral("Totais - Ana_Lopes") + dates;
        QTest::newRow("10,000 characters")
            << QString(10000, u'y') << QStringLiteral("Totais - ") + QString(80, u'y') + dates;
    }
    void theProposedNameIsSafeForAnyLawyer()
    {
        QFETCH(QString, lawyer);
        QFETCH(QString, name);
        QCOMPARE(counter::csvExport::proposedFileName(QStringLiteral("Totais"), lawyer, QDate(2009, 11, 1),
                                                      QDate(2009, 11, 30)),
                 name);
    }

    // A cancelled dialog writes and says nothing; a file that cannot be written is reported and told.
    void aFileThatCannotBeWrittenIsTold_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("cancelled") << true;
        QTest::newRow("no such folder") << false;
    }
    void aFileThatCannotBeWrittenIsTold()
    {
        QFETCH(bool, cancelled);
        WindowFixture f;
        f.load();
        f.child<QTabBar>("TabStrip1").setCurrentIndex(2);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("missing/totais.csv"));
        counter::csvExport::setFileChooser([&](QWidget*, const QString&) { return cancelled ? QString() : path; });
        f.child<QAction>("mnExportarTotais").trigger();

        QVERIFY(!QFile::exists(path));
        QCOMPARE(f.reports.procedures(), cancelled ? QStringList() : QStringList{QStringLiteral("ExportarCSV")});
        QCOMPARE(f.boxes.shown().size(), cancelled ? 0 : 1);
    }
};

QTEST_MAIN(TestCsvExport)
#include "test_csvexport.moc"
