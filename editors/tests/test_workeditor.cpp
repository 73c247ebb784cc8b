#include "editors/recordeditors.h"
#include "testsupport/editorfixture.h"

#include <QCheckBox>

using testsupport::OfficeFixture;

Q_DECLARE_METATYPE(std::optional<bool>)

namespace {

const QString Table = QStringLiteral("tbProcessos_Trabalhos");

} // namespace

class TestWorkEditor : public QObject
{
    Q_OBJECT

    // Opens work item 77 (the deadlines when deadlines is set) with a script that types legal and office,
    // ticks FXPrazos when exempt differs from it, and presses Enter. Returns EditDeadlines' answer.
    bool edit(EditorFixture& f, bool deadlines, const QString& legal, const QString& office,
              std::optional<bool> exempt = std::nullopt)
    {
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXData_Legal"), legal);
            hands::type(dialog, QStringLiteral("FXData_Escritorio"), office);
            if (exempt) {
                dialog.findChild<QCheckBox*>(QStringLiteral("FXPrazos"))->setChecked(*exempt);
            }
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogWorkEditor editor;
        f.signedOn(editor);
        auto record =
            data::Data::SqlServer().openRecordset(QStringLiteral("SELECT * FROM %1 WHERE trabalho_id = 77").arg(Table));
        QVariant id = record->value(QStringLiteral("trabalho_id"));
        data::StatementLog::clear();
        QString t1, t2;
        int n1 = 0, n2 = 0, n3 = 0;
        const bool settled = deadlines ? editor.EditDeadlines(*record, id, t1, t2, nullptr, n1, n2, n3)
                                       : (editor.OpenRecord(*record, id, t1, t2, &f.owner, n1, n2, n3), false);
        record->close();
        return settled;
    }

private Q_SLOTS:
    // One write, and the work item holds the dates typed; prazos is written only when the lawyer changes it,
    // so a null flag stays null.
    void savesTheDeadlines_data()
    {
        QTest::addColumn<bool>("deadlines");
        QTest::addColumn<QString>("legal");
        QTest::addColumn<QString>("office");
        QTest::addColumn<QString>("prazos");
        QTest::addColumn<std::optional<bool>>("ticked");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* name, bool deadlines, const QString& legal, const QString& office,
                            const QString& prazos, const std::optional<bool>& ticked, const QString& stored) {
            QTest::newRow(name) << deadlines << legal << office << prazos << ticked << stored;
        };
        row("both dates, asked for them", true, "15-03-2010", "10-03-2010", "NULL", std::optional<bool>(),
            "2010-03-15 00:00:00|2010-03-10 00:00:00|");
        row("the same day, slashes and blanks", true, " 15/03/2010 ", "15-03-2010", "NULL", std::optional<bool>(),
            "2010-03-15 00:00:00|2010-03-15 00:00:00|");
        row("both cleared, null exemption left alone", false, "", "", "NULL", std::optional<bool>(false), "||");
        row("exemption 0 ticked", false, "", "", "0", std::optional<bool>(true), "||1");
        row("exemption 1 unticked", false, "", "", "1", std::optional<bool>(false), "||0");
    }
    void savesTheDeadlines()
    {
        QFETCH(bool, deadlines);
        QFETCH(QString, legal);
        QFETCH(QString, office);
        QFETCH(QString, prazos);
        QFETCH(std::optional<bool>, ticked);
        QFETCH(QString, stored);
        EditorFixture f;
        f.office.database().exec(QStringLiteral("UPDATE %1 SET prazos = %2 WHERE trabalho_id = 77").arg(Table, prazos));
        QCOMPARE(edit(f, deadlines, legal, office, ticked), deadlines);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(QStringLiteral("SELECT data_legal, data_escritorio, prazos FROM %1").arg(Table)), stored);
        QVERIFY(f.boxes.shown().isEmpty());
        // Asked for the deadlines there is no owner; opened from the list, the owner refills it.
        const QList<QPair<int, int>> expected = deadlines ? QList<QPair<int, int>>{} : QList<QPair<int, int>>{{77, 0}};
        QCOMPARE(f.owner.remoteKeys, expected);
    }

    void refusesDatesThatCannotBe_data()
    {
        QTest::addColumn<bool>("deadlines");
        QTest::addColumn<QString>("legal");
        QTest::addColumn<QString>("office");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such day") << false << QStringLiteral("31-02-2010") << QString()
                                     << QStringLiteral("«Data Legal» não tem uma data válida");
        QTest::newRow("words") << false << QString() << QStringLiteral("amanhã")
                               << QStringLiteral("«Prazo de Escritório» não tem uma data válida");
        QTest::newRow("an apostrophe") << false << QStringLiteral("01-03-2010'") << QString()
                                       << QStringLiteral("«Data Legal» não tem uma data válida");
        QTest::newRow("the no-date day") << false << QStringLiteral("01-01-1900") << QString()
                                         << QStringLiteral("«Data Legal» não tem uma data válida");
        QTest::newRow("office after legal") << false << QStringLiteral("10-03-2010") << QStringLiteral("11-03-2010")
                                            << QStringLiteral("não pode ser depois da Data Legal");
        QTest::newRow("asked for both, one missing") << true << QStringLiteral("10-03-2010") << QString()
                                                     << QStringLiteral("Indique a data no campo «Prazo de Escritório»");
    }
    void refusesDatesThatCannotBe()
    {
        QFETCH(bool, deadlines);
        QFETCH(QString, legal);
        QFETCH(QString, office);
        QFETCH(QString, message);
        EditorFixture f;
        QCOMPARE(edit(f, deadlines, legal, office), false);
        QVERIFY(EditorFixture::writes().isEmpty());
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY2(f.boxes.shown().first().text.contains(message), qPrintable(f.boxes.shown().first().text));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    void aConcurrentChangeIsNeverOverwritten()
    {
        EditorFixture f;
        f.boxes.setNextAnswers({core::Answer::Yes});
        QString legalShown;
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXData_Legal"), QStringLiteral("20-05-2010"));
            f.office.database().exec(
                QStringLiteral("UPDATE %1 SET data_legal = '2010-04-30 00:00:00' WHERE trabalho_id = 77").arg(Table));
            hands::press(dialog, Qt::Key_Return);
            legalShown = hands::field(dialog, QStringLiteral("FXData_Legal")).text();
        };
        editors::DialogWorkEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogWorkEditor::OpenRecord, Table, QStringLiteral("trabalho_id"),
                     OfficeFixture::Work, &f.owner);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(QStringLiteral("SELECT data_legal FROM %1").arg(Table)),
                 QStringLiteral("2010-04-30 00:00:00"));
        QCOMPARE(legalShown, QStringLiteral("30-04-2010"));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    void cancellingLeavesTheDatesUnsettled()
    {
        EditorFixture f;
        f.office.database().exec(
            QStringLiteral("UPDATE %1 SET data_legal = '2010-04-30 00:00:00', data_escritorio = '2010-04-20 00:00:00'")
                .arg(Table));
        f.scripts << [](QDialog& dialog) { hands::press(dialog, Qt::Key_Escape); };
        editors::DialogWorkEditor editor;
        f.signedOn(editor);
        auto record = data::Data::SqlServer().openRecordset(QStringLiteral("SELECT * FROM %1").arg(Table));
        QVariant id = OfficeFixture::Work;
        QString t1, t2;
        int n1 = 0, n2 = 0, n3 = 0;
        QCOMPARE(editor.EditDeadlines(*record, id, t1, t2, nullptr, n1, n2, n3), false);
        QVERIFY(EditorFixture::writes().isEmpty());
    }
};

QTEST_MAIN(TestWorkEditor)
#include "test_workeditor.moc"
