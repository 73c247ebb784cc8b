// The display formats of lists and bound controls, and what SetControlValue puts in each kind of control.
#include "data/binding/modcontrols.h"
#include "data/connection.h"
#include "data/displayformat.h"
#include "data/moddata.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempdatabase.h"

#include <QTest>

#include <memory>

using Kind = data::BoundControl::Kind;
using data::modControls::SetControlValue;

namespace {

// A control as a bag of the named properties, read back by the test; what a test did not expect to
// change keeps "before"/"old". Its list entries carry ItemData 10, 20, 20, 30, the first chosen.
class FakeControl : public data::BoundControl
{
public:
    explicit FakeControl(Kind kind)
        : m_kind(kind)
    {}
    Kind kind() const override { return m_kind; }
    void setText(const QString& text) override { m_text = text; }
    QString Tag() const override { return m_tag; }
    void setTag(const QString& tag) override { m_tag = tag; }
    int Style() const override { return m_style; }
    void setListIndex(int index) override { m_index = index; }
    int ListCount() const override { return int(m_items.size()); }
    qint32 ItemData(int index) const override { return m_items.at(index); }
    void setValue(const QVariant& value) override { m_value = value; }

    Kind m_kind;
    QString m_text = QStringLiteral("before"), m_tag = QStringLiteral("old");
    QVariant m_value;
    QList<qint32> m_items{10, 20, 20, 30};
    int m_index = 0;
    int m_style = 2;
};

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

const QVariant LastSecond = QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59));

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT

    // One record to read fields from, and a table without records.
    std::unique_ptr<testsupport::TempDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<testsupport::TempDatabase>();
        m_db->exec(s("CREATE TABLE tbFormatos (valor REAL, data_inicio DATETIME, data_fim DATETIME);"
                     "INSERT INTO tbFormatos VALUES (-1234.5, '2009-12-31 23:59:59', NULL);"
                     "CREATE TABLE tbVazia (valor REAL);"));
        m_db->openShared();
    }

    void cleanupTestCase() { m_db.reset(); }

    void listCodes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QVariant& value, int code, const char* expected) {
            QTest::newRow(name) << value << code << s(expected);
        };

        row("1: date drops the time", LastSecond, 1, "31-12-2009");
        row("1: not a date shows itself", s("- - -"), 1, "- - -");
        row("2: negative, grouped", -1234.5, 2, "- 1 234,50");
        row("2: rounds to zero, no sign", -0.001, 2, "0,00");
        row("2: half away from zero", 0.125, 2, "0,13");
        row("2: text with comma", s("7,5"), 2, "7,50");
        row("3: own text", 12.5, 3, "12,5");
        row("4: negative money", -1234.5, 4, "€ -1 234,50");
        row("5: percentage", 0.125, 5, "12,50 %");
        row("6: half down to even", 2.5, 6, "2");
        row("6: half up to even, grouped", 1234567.5, 6, "1 234 568");
        row("6: negative half", -2.5, 6, "-2");
        row("7: date and time", LastSecond, 7, "31-12-2009 23:59:59");
        row("7: midnight", QDateTime(QDate(2009, 3, 5), QTime(0, 0)), 7, "05-03-2009 00:00:00");
        row("1: a year of three digits", QDateTime(QDate(900, 2, 1), QTime(0, 0)), 1, "01-02-0900");
        row("9: null is one blank", QVariant(), 9, " ");
        row("8: no such code", 12.5, 8, "");
    }

    void listCodes()
    {
        QFETCH(QVariant, value);
        QFETCH(int, code);
        QFETCH(QString, expected);
        QCOMPARE(data::displayFormat::ListText(value, code), expected);
    }

    // One record read through the shared connection, as the list-filling procedures read it.
    void listField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");

        QTest::newRow("amount") << s("valor") << 2 << s("- 1 234,50");
        QTest::newRow("other letter case") << s("VALOR") << 2 << s("- 1 234,50");
        QTest::newRow("date and time") << s("Data_Inicio") << 7 << s("31-12-2009 23:59:59");
        QTest::newRow("code 9") << s("valor") << 9 << QString();
        for (const int code : {1, 2, 9}) {
            QTest::addRow("null, code %d", code) << s("data_fim") << code << s(" ");
            QTest::addRow("missing field, code %d", code) << s("data_fimx") << code << s(" ");
        }
    }

    void listField()
    {
        QFETCH(QString, field);
        QFETCH(int, code);
        QFETCH(QString, expected);
        testsupport::RecordedReports reports;
        const auto records = data::Data::SqlServer().openRecordset(s("SELECT * FROM tbFormatos"));
        QCOMPARE(data::modData::ListField(*records, field, code), expected);
        QCOMPARE(reports.reports().size(), 0);
    }

    void listFieldPastTheEndReportsAndGivesEmptyText()
    {
        testsupport::RecordedReports reports;
        const auto records = data::Data::SqlServer().openRecordset(s("SELECT * FROM tbVazia"));
        QCOMPARE(data::modData::ListField(*records, s("valor"), 2), QString());
        QCOMPARE(reports.procedures(), QStringList{s("ListField")});
        QVERIFY2(reports.reports().first().text.startsWith(s("Error Number = ")),
                 qPrintable(reports.reports().first().text));
    }

    // Text boxes: what is shown, and what is kept in "Tag" (which starts as "old").
    void textBoxes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("tag");
        const auto row = [](const char* name, Kind kind, const QVariant& value, int code, const QString& shown,
                            const QString& tag) { QTest::newRow(name) << int(kind) << value << code << shown << tag; };
        const Kind box = Kind::TextBox;

        row("box: null clears both", box, QVariant(), 2, QString(), QString());
        row("box: 0 number kept", box, 42, 0, s("42"), s("42"));
        row("box: 0 text leaves tag", box, s("abc"), 0, s("abc"), s("old"));
        row("box: 1 date", box, LastSecond, 1, s("31-12-2009"), QString());
        row("box: 2 hour total", box, 7.5, 2, s("7,50"), s("7,5"));
        row("box: 2 empty tag keeps text", box, QString(), 2, s("before"), QString());
        row("box: 6 whole, ungrouped", box, 1234567.5, 6, s("1234568"), s("1234567,5"));
        row("box: 7 money, 3 decimals", box, 1234.5678, 7, s("€ 1 234,568"), s("1234,5678"));
        row("box: 8 number, 3 decimals", box, -1234.5, 8, s("- 1 234,500"), s("-1234,5"));
        row("box: 9 untouched", box, 7.5, 9, s("before"), s("old"));
    }

    void textBoxes()
    {
        QFETCH(int, kind);
        QFETCH(QVariant, value);
        QFETCH(int, code);
        QFETCH(QString, shown);
        QFETCH(QString, tag);
        FakeControl control{Kind(kind)};
        SetControlValue(control, value, code);
        QCOMPARE(control.m_text, shown);
        QCOMPARE(control.m_tag, tag);
    }

    // What a choose-only combo box chooses and what a date picker shows.
    void choicesAndPickers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* name, Kind kind, const QVariant& value, const QVariant& expected) {
            QTest::newRow(name) << int(kind) << value << expected;
        };

        row("combo: first of two matches", Kind::ComboBox, 20, 1);
        row("combo: numeric text", Kind::ComboBox, s("30"), 3);
        row("combo: no match keeps", Kind::ComboBox, 20.5, 0);
        row("combo: not a number clears", Kind::ComboBox, s("abc"), -1);
        row("picker: not a date", Kind::DatePicker, 5, QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
        row("picker: keeps the time", Kind::DatePicker, LastSecond, LastSecond);
        row("picker: display text", Kind::DatePicker, s("05-03-2009 14:07:09"),
            QDateTime(QDate(2009, 3, 5), QTime(14, 7, 9)));
    }

    void choicesAndPickers()
    {
        QFETCH(int, kind);
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        FakeControl control{Kind(kind)};
        SetControlValue(control, value, 0);
        QCOMPARE(Kind(kind) == Kind::ComboBox ? QVariant(control.m_index) : control.m_value, expected);
    }

    // A combo box whose text can be typed in takes the value's text and leaves its choice alone.
    void typedComboTakesText()
    {
        FakeControl combo{Kind::ComboBox};
        combo.m_style = 0;
        SetControlValue(combo, 7.5, 0);
        QCOMPARE(combo.m_text, s("7,5"));
        QCOMPARE(combo.m_index, 0);
        SetControlValue(combo, QVariant(), 0);
        QCOMPARE(combo.m_text, QString());
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
