#include "data/connection.h"
#include "data/displayformat.h"
#include "data/modcontrols.h"
#include "data/moddata.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempdatabase.h"

#include <QTest>

using Kind = data::BoundControl::Kind;
using data::modControls::SetControlValue;

namespace {

// A control as a bag of the named properties; what a test did not expect to change keeps "before"/"old".
class FakeControl : public data::BoundControl
{
public:
    explicit FakeControl(Kind kind, int style = 2)
        : m_kind(kind)
        , m_style(style)
    {}
    Kind kind() const override { return m_kind; }
    QString Text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    QString Tag() const override { return m_tag; }
    void setTag(const QString& tag) override { m_tag = tag; }
    int Style() const override { return m_style; }
    int ListIndex() const override { return m_index; }
    void setListIndex(int index) override { m_index = index; }
    int ListCount() const override { return int(m_items.size()); }
    qint32 ItemData(int index) const override { return m_items.at(index); }
    QVariant Value() const override { return m_value; }
    void setValue(const QVariant& value) override { m_value = value; }
    QString Caption() const override { return m_caption; }
    void setCaption(const QString& caption) override { m_caption = caption; }

    Kind m_kind;
    int m_style;
    QString m_text = QStringLiteral("before");
    QString m_caption = QStringLiteral("before");
    QString m_tag = QStringLiteral("old");
    QVariant m_value;
    QList<qint32> m_items{10, 20, 20, 30};
    int m_index = 0;
};

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

QVariant at(int y, int mo, int d, int h = 0, int mi = 0, int sec = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, sec));
}

const QVariant LastSecond = at(2009, 12, 31, 23, 59, 59);

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listCodes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");

        QTest::newRow("1: date drops the time") << LastSecond << 1 << s("31-12-2009");
        QTest::newRow("1: display text") << QVariant(s("5-3-2009 14:07:09")) << 1 << s("05-03-2009");
        QTest::newRow("1: not a date shows itself") << QVariant(s("- - -")) << 1 << s("- - -");
        QTest::newRow("2: negative, grouped") << QVariant(-1234.5) << 2 << s("- 1 234,50");
        QTest::newRow("2: millions") << QVariant(1234567.891) << 2 << s("1 234 567,89");
        QTest::newRow("2: zero") << QVariant(0) << 2 << s("0,00");
        QTest::newRow("2: rounds to zero, no sign") << QVariant(-0.001) << 2 << s("0,00");
        QTest::newRow("2: half away from zero") << QVariant(0.125) << 2 << s("0,13");
        QTest::newRow("2: text with comma") << QVariant(s("7,5")) << 2 << s("7,50");
        QTest::newRow("3: own text") << QVariant(12.5) << 3 << s("12,5");
        QTest::newRow("3: date with time") << LastSecond << 3 << s("31-12-2009 23:59:59");
        QTest::newRow("4: money") << QVariant(1234.5) << 4 << s("€ 1 234,50");
        QTest::newRow("4: negative money") << QVariant(-1234.5) << 4 << s("€ -1 234,50");
        QTest::newRow("5: percentage") << QVariant(0.125) << 5 << s("12,50 %");
        QTest::newRow("6: half down to even") << QVariant(2.5) << 6 << s("2");
        QTest::newRow("6: half up to even") << QVariant(3.5) << 6 << s("4");
        QTest::newRow("6: negative half") << QVariant(-2.5) << 6 << s("-2");
        QTest::newRow("6: grouped") << QVariant(1234567.5) << 6 << s("1 234 568");
        QTest::newRow("7: date and time") << LastSecond << 7 << s("31-12-2009 23:59:59");
        QTest::newRow("7: date alone") << QVariant(QDate(2009, 3, 5)) << 7 << s("05-03-2009 00:00:00");
        QTest::newRow("9: null is one blank") << QVariant() << 9 << s(" ");
        QTest::newRow("8: no such code") << QVariant(12.5) << 8 << QString();
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
        QTest::newRow("date") << s("data_inicio") << 1 << s("31-12-2009");
        QTest::newRow("date and time") << s("Data_Inicio") << 7 << s("31-12-2009 23:59:59");
        QTest::newRow("text") << s("descricao") << 3 << s("Reunião O'Neil");
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

        testsupport::TempDatabase db;
        db.exec(s("CREATE TABLE tbFormatos (valor REAL, data_inicio DATETIME, data_fim DATETIME, descricao TEXT)"));
        db.exec(s("INSERT INTO tbFormatos VALUES (-1234.5, '2009-12-31 23:59:59', NULL, 'Reunião O''Neil')"));
        db.openShared();
        testsupport::RecordedReports reports;
        const auto records = data::Data::SqlServer().openRecordset(s("SELECT * FROM tbFormatos"));
        QCOMPARE(data::modData::ListField(*records, field, code), expected);
        QCOMPARE(reports.reports().size(), 0);
    }

    void listFieldReportsAndGivesEmptyText()
    {
        testsupport::TempDatabase db;
        db.exec(s("CREATE TABLE tbFormatos (valor REAL)"));
        db.openShared();
        testsupport::RecordedReports reports;
        const auto records = data::Data::SqlServer().openRecordset(s("SELECT * FROM tbFormatos"));

        QCOMPARE(data::modData::ListField(*records, s("valor"), 2), QString());
        QCOMPARE(reports.reports().size(), 1);
        const testsupport::Report& report = reports.reports().first();
        QCOMPARE(QStringList({report.application, report.owner, report.procedure}),
                 QStringList({s("Orv Software"), s("modData"), s("ListField")}));
        QVERIFY2(report.text.startsWith(s("Error Number = ")), qPrintable(report.text));
    }

    // Text boxes and labels: what is shown, and what is kept in "Tag" (which starts as "old").
    void textBoxAndLabel_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("tag");

        const int box = int(Kind::TextBox);
        const int label = int(Kind::Label);
        QTest::newRow("box: null clears both") << box << QVariant() << 2 << QString() << QString();
        QTest::newRow("box: 0 number kept") << box << QVariant(42) << 0 << s("42") << s("42");
        QTest::newRow("box: 0 text leaves tag") << box << QVariant(s("abc")) << 0 << s("abc") << s("old");
        QTest::newRow("box: 1 date") << box << LastSecond << 1 << s("31-12-2009") << QString();
        QTest::newRow("box: 3 own text") << box << QVariant(12.5) << 3 << s("12,5") << QString();
        QTest::newRow("box: 2 hour total") << box << QVariant(7.5) << 2 << s("7,50") << s("7,5");
        QTest::newRow("box: 2 empty tag keeps text") << box << QVariant(QString()) << 2 << s("before") << QString();
        QTest::newRow("box: 4 money") << box << QVariant(-1234.5) << 4 << s("€ -1 234,50") << s("-1234,5");
        QTest::newRow("box: 5 percentage") << box << QVariant(0.125) << 5 << s("12,50 %") << s("0,125");
        QTest::newRow("box: 6 whole, ungrouped") << box << QVariant(1234567.5) << 6 << s("1234568") << s("1234567,5");
        QTest::newRow("box: 6 text") << box << QVariant(s("abc")) << 6 << s("abc") << s("abc");
        QTest::newRow("box: 7 money, 3 decimals")
            << box << QVariant(1234.5678) << 7 << s("€ 1 234,568") << s("1234,5678");
        QTest::newRow("box: 8 number, 3 decimals") << box << QVariant(-1234.5) << 8 << s("- 1 234,500") << s("-1234,5");
        QTest::newRow("box: 9 untouched") << box << QVariant(7.5) << 9 << s("before") << s("old");
        QTest::newRow("label: null clears caption only") << label << QVariant() << 2 << QString() << s("old");
        QTest::newRow("label: 2 empty tag formats anyway")
            << label << QVariant(QString()) << 2 << QString() << QString();
        QTest::newRow("label: 2 hour total") << label << QVariant(7.5) << 2 << s("7,50") << s("7,5");
        QTest::newRow("label: 0 text") << label << QVariant(s("x")) << 0 << s("x") << s("old");
        QTest::newRow("label: 1 date") << label << LastSecond << 1 << s("31-12-2009") << QString();
    }

    void textBoxAndLabel()
    {
        QFETCH(int, kind);
        QFETCH(QVariant, value);
        QFETCH(int, code);
        QFETCH(QString, shown);
        QFETCH(QString, tag);

        FakeControl control{Kind(kind)};
        SetControlValue(control, value, code);
        const bool isLabel = Kind(kind) == Kind::Label;
        QCOMPARE(isLabel ? control.m_caption : control.m_text, shown);
        QCOMPARE(isLabel ? control.m_text : control.m_caption, s("before"));
        QCOMPARE(control.m_tag, tag);
    }

    // Choose-only combo boxes and list boxes, entries with ItemData 10, 20, 20, 30, the first chosen.
    void choiceLists_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("chosen");

        for (const int kind : {int(Kind::ComboBox), int(Kind::ListBox)}) {
            const char* name = kind == int(Kind::ComboBox) ? "combo" : "list";
            QTest::addRow("%s: first match", name) << kind << QVariant(20) << 1;
            QTest::addRow("%s: numeric text", name) << kind << QVariant(s("30")) << 3;
            QTest::addRow("%s: no match keeps", name) << kind << QVariant(20.5) << 0;
            QTest::addRow("%s: not a number clears", name) << kind << QVariant(s("abc")) << -1;
            QTest::addRow("%s: null clears", name) << kind << QVariant() << -1;
        }
    }

    void choiceLists()
    {
        QFETCH(int, kind);
        QFETCH(QVariant, value);
        QFETCH(int, chosen);
        FakeControl control{Kind(kind)};
        SetControlValue(control, value, 0);
        QCOMPARE(control.m_index, chosen);
    }

    void pickersAndButtons_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");

        const int picker = int(Kind::DatePicker);
        QTest::newRow("picker: null") << picker << QVariant() << at(1900, 1, 1);
        QTest::newRow("picker: not a date") << picker << QVariant(5) << at(1900, 1, 1);
        QTest::newRow("picker: keeps the time") << picker << LastSecond << LastSecond;
        QTest::newRow("picker: display text")
            << picker << QVariant(s("05-03-2009 14:07:09")) << at(2009, 3, 5, 14, 7, 9);
        for (const int kind : {int(Kind::CheckBox), int(Kind::OptionButton)}) {
            const char* name = kind == int(Kind::CheckBox) ? "check" : "option";
            QTest::addRow("%s: minus one", name) << kind << QVariant(-1) << QVariant(1);
            QTest::addRow("%s: numeric text", name) << kind << QVariant(s("2")) << QVariant(1);
            QTest::addRow("%s: zero", name) << kind << QVariant(0) << QVariant(0);
            QTest::addRow("%s: text", name) << kind << QVariant(s("sim")) << QVariant(0);
            QTest::addRow("%s: null", name) << kind << QVariant() << QVariant(0);
        }
    }

    void pickersAndButtons()
    {
        QFETCH(int, kind);
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        FakeControl control{Kind(kind)};
        SetControlValue(control, value, 0);
        QCOMPARE(control.m_value, expected);
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
