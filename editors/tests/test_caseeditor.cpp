#include "editors/documentarchive.h"
#include "editors/recordeditors.h"
#include "testsupport/editorfixture.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>

using testsupport::OfficeFixture;

namespace {

const QString Table = QStringLiteral("tbProcessos");

} // namespace

class TestCaseEditor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_documents;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_documents.isValid());
        qputenv("ORV_DOCUMENTS_DIR", m_documents.path().toUtf8());
    }

    void showsTheCaseAndItsWork()
    {
        EditorFixture f;
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::OtherLawyer, QStringLiteral("Recurso"),
                         QDate(2010, 2, 1));
        f.office.database().exec(QStringLiteral("UPDATE tbProcessos SET judicial = 1"));
        // A lawyer's name longer than a column's default width.
        f.office.database().exec(QStringLiteral("UPDATE tbContactos SET nome_union = 'Bruno Sá de Albuquerque e "
                                                "Vasconcelos' WHERE contacto_id = %1")
                                     .arg(OfficeFixture::OtherLawyer));
        QStringList work;
        f.scripts << [&](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, QStringLiteral("FXProcesso_No")).text(), QStringLiteral("2009/015"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXCliente")).text(), QStringLiteral("Cliente Alfa"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXJudicial")).text(), QStringLiteral("Sim"));
            auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("ListTrabalhos"));
            // Every column but the work item's own text is whole, its title and its values.
            for (int c = 1; c < list->columnCount(); ++c) {
                int widest = list->header()->sectionSizeHint(c);
                for (int i = 0; i < list->topLevelItemCount(); ++i) {
                    widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->topLevelItem(i)->text(c)));
                }
                QVERIFY2(list->columnWidth(c) >= widest, qPrintable(list->headerItem()->text(c)));
            }
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                QStringList row;
                for (int c = 0; c < list->columnCount(); ++c) {
                    row << list->topLevelItem(i)->text(c);
                }
                work << row.join(QLatin1Char('|'));
            }
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenRecord, Table, QStringLiteral("processo_id"),
                     OfficeFixture::Case, &f.owner);
        QCOMPARE(work, (QStringList{QStringLiteral("Contestação|Ana Lopes| | |1"),
                                    QStringLiteral("Recurso|Bruno Sá de Albuquerque e Vasconcelos| |01-02-2010|0")}));
        QVERIFY(EditorFixture::writes().isEmpty());
    }

    // The case number comes from the database: whatever it holds, the folder is one plain name inside the
    // documents folder, and two numbers made alike still get folders of their own.
    void folderNames_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("folder");
        QTest::newRow("slashes") << QStringLiteral("2009/015") << QStringLiteral("2009-015 (15)");
        QTest::newRow("climbing out") << QStringLiteral("../../etc") << QStringLiteral("-..-etc (15)");
        QTest::newRow("Windows' reserved characters")
            << QStringLiteral("a:b*c?d\"e<f>g|h\\i") << QStringLiteral("a-b-c-d-e-f-g-h-i (15)");
        QTest::newRow("blanks, dots and a control character")
            << QStringLiteral("  .Proc\n2010. ") << QStringLiteral("Proc-2010 (15)");
        QTest::newRow("apostrophes, semicolons and percent")
            << QStringLiteral("O'Neil; 50%") << QStringLiteral("O'Neil; 50% (15)");
        QTest::newRow("blank") << QStringLiteral("   ") << QStringLiteral("Dossier (15)");
        QTest::newRow("only dots") << QStringLiteral("..") << QStringLiteral("Dossier (15)");
        QTest::newRow("80 characters, the most kept")
            << QString(80, QLatin1Char('9')) << QString(80, QLatin1Char('9')) + QStringLiteral(" (15)");
        QTest::newRow("one past") << QString(80, QLatin1Char('9')) + QLatin1Char('x')
                                  << QString(80, QLatin1Char('9')) + QStringLiteral(" (15)");
        QTest::newRow("outside Windows-1252") << QStringLiteral("案件 7") << QStringLiteral("案件 7 (15)");
    }
    void folderNames()
    {
        QFETCH(QString, number);
        QFETCH(QString, folder);
        QCOMPARE(editors::documentArchive::folderName(number, OfficeFixture::Case), folder);
    }

    void theArchiveIsTheCasesOwnFolder()
    {
        EditorFixture f;
        f.office.database().exec(QStringLiteral("UPDATE tbProcessos SET processo_no_completo = '../2009/015'"));
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenDocumentArchive, Table,
                     QStringLiteral("processo_id"), OfficeFixture::Case, &f.owner);
        const QString expected = m_documents.filePath(QStringLiteral("-2009-015 (15)"));
        QCOMPARE(f.foldersOpened, QList<QUrl>{QUrl::fromLocalFile(expected)});
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(QDir(m_documents.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("-2009-015 (15)")});
        QVERIFY(f.boxes.shown().isEmpty());

        // Again: the folder is there already and opens as it is; the case dialog's button opens it too.
        f.scripts << [](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("cmdArquivo"))->click();
            hands::press(dialog, Qt::Key_Escape);
        };
        f.openRecord(editor, &editors::DialogCaseEditor::OpenRecord, Table, QStringLiteral("processo_id"),
                     OfficeFixture::Case, &f.owner);
        QCOMPARE(f.foldersOpened.size(), 2);
        QCOMPARE(f.foldersOpened.last(), QUrl::fromLocalFile(expected));
    }

    void aFolderTheDesktopCannotOpenIsSaid()
    {
        EditorFixture f;
        f.folderOpens = false;
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenDocumentArchive, Table,
                     QStringLiteral("processo_id"), OfficeFixture::Case, &f.owner);
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY(f.boxes.shown().first().text.startsWith(QStringLiteral("O ambiente de trabalho não abriu")));
    }

    void aFolderThatCannotBeMadeIsSaid()
    {
        EditorFixture f;
        QTemporaryDir parent;
        QFile blocker(parent.filePath(QStringLiteral("ficheiro")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("ORV_DOCUMENTS_DIR", blocker.fileName().toUtf8());
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenDocumentArchive, Table,
                     QStringLiteral("processo_id"), OfficeFixture::Case, &f.owner);
        qputenv("ORV_DOCUMENTS_DIR", m_documents.path().toUtf8());
        QVERIFY(f.foldersOpened.isEmpty());
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY(f.boxes.shown().first().text.startsWith(QStringLiteral("Não foi possível criar a pasta")));
    }
};

QTEST_MAIN(TestCaseEditor)
#include "test_caseeditor.moc"
