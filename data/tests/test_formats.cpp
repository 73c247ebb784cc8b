// Display formats, what SetControlValue puts in each kind of control, and ControlFill's lists.
#include "data/binding/modcontrolfill.h"
#include "data/binding/modcontrols.h"
#include "data/connection.h"
#include "data/displayformat.h"
#include "data/moddata.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempdatabase.h"

#include <QTest>

using Kind = data::BoundControl::Kind;
using data::modControlFill::ControlFill;
using data::modControlFill::ServerDate;
using data::modControls::SetControlValue;

namespace {

// A control as named properties; its list entries carry ItemData 10, 20, 20, 30, the first chosen.
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
    int m_index = 0, m_style = 2;
};

const QVariant LastSecond = QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59));

// A list control of "text:ItemData" entries, starting with "anterior:1"; a sorted one inserts in place.
class FakeList : public data::ListControl
{
public:
    explicit FakeList(bool sorted = false)
        : m_sorted(sorted)
    {}

    void Clear() override
    {
        m_entries.clear();
        m_newIndex = -1;
    }
    void AddItem(const QString& text) override
    {
        m_newIndex = int(m_entries.size());
        while (m_sorted && m_newIndex > 0 && text < m_entries.at(m_newIndex - 1).section(QLatin1Char(':'), 0, 0)) {
            --m_newIndex;
        }
        m_entries.insert(m_newIndex, text + QStringLiteral(":-1"));
    }
    int NewIndex() const override { return m_newIndex; }
    void setItemData(int index, qint32 value) override
    {
        m_entries[index] =
            m_entries.at(index).section(QLatin1Char(':'), 0, 0) + QLatin1Char(':') + QString::number(value);
    }

    QStringList m_entries{QStringLiteral("anterior:1")};

private:
    bool m_sorted;
    int m_newIndex = -1;
};

const QString LawyerQuery = QStringLiteral("SELECT * FROM vwAdvogadosTeste ORDER BY contacto_id");
const QString Display = QStringLiteral("advogado_descrit"), Id = QStringLiteral("contacto_id");

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT

    testsupport::TempDatabase m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db.exec("CREATE TABLE tbFormatos (valor REAL, data_inicio DATETIME, data_fim DATETIME);"
                  "INSERT INTO tbFormatos VALUES (-1234.5, '2009-12-31 23:59:59', NULL);"
                  "CREATE TABLE tbVazia (valor REAL);"
                  "CREATE TABLE vwAdvogadosTeste (contacto_id INTEGER, advogado_descrit TEXT);"
                  "INSERT INTO vwAdvogadosTeste VALUES (30, 'Rui O''Neil'), (10, 'João Costa'), (20, NULL), "
                  "(40, 'Ana Silva');"
                  "CREATE TABLE tbNulos (contacto_id INTEGER, advogado_descrit TEXT);"
                  "INSERT INTO tbNulos VALUES (5, 'Ana'), (NULL, 'Bruno'), (7, 'Carla');");
        m_db.openShared();
    }

    void listCodes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QVariant& value, int code, const char* expected) {
            QTest::newRow(name) << value << code << QString::fromUtf8(expected);
        };

        row("1: date drops the time", LastSecond, 1, "31-12-2009");
        row("1: not a date shows itself", "- - -", 1, "- - -");
        row("2: negative, grouped", -1234.5, 2, "- 1 234,50");
        row("2: rounds to zero, no sign", -0.001, 2, "0,00");
        row("2: half away from zero", 0.125, 2, "0,13");
        row("2: text with comma", "7,5", 2, "7,50");
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
        QTEST(data::displayFormat::ListText(value, code), "expected");
    }

    // One record read through the shared connection, as the list-filling procedures read it; read past the end, the
    // text is empty and the error reported.
    void listField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("empty"); // read from a table without rows

        QTest::newRow("other letter case") << "VALOR" << 2 << "- 1 234,50" << false;
        QTest::newRow("date and time") << "Data_Inicio" << 7 << "31-12-2009 23:59:59" << false;
        QTest::newRow("null") << "data_fim" << 1 << " " << false;
        QTest::newRow("missing field") << "data_fimx" << 2 << " " << false;
        QTest::newRow("past the end") << "valor" << 2 << "" << true;
    }

    void listField()
    {
        QFETCH(QString, field);
        QFETCH(int, code);
        QFETCH(bool, empty);
        testsupport::RecordedReports reports;
        const auto records =
            data::Data::SqlServer().openRecordset(empty ? "SELECT * FROM tbVazia" : "SELECT * FROM tbFormatos");
        QTEST(data::modData::ListField(*records, field, code), "expected");
        QCOMPARE(reports.procedures(), empty ? QStringList{"ListField"} : QStringList());
        QVERIFY(!empty || reports.reports().first().text.startsWith("Error Number = "));
    }

    // What SetControlValue leaves in a control: text|Tag|list index|value, from "before|old|0|".
    void setControlValue_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("style");
        const auto row = [](const char* name, Kind kind, const QVariant& value, int code, const char* expected,
                            int style = 2) {
            QTest::newRow(name) << int(kind) << value << code << QString::fromUtf8(expected) << style;
        };
        row("box: null clears both", Kind::TextBox, QVariant(), 2, "||0|");
        row("box: 0 number kept", Kind::TextBox, 42, 0, "42|42|0|");
        row("box: 0 text leaves tag", Kind::TextBox, "abc", 0, "abc|old|0|");
        row("box: 1 date", Kind::TextBox, LastSecond, 1, "31-12-2009||0|");
        row("box: 2 hour total", Kind::TextBox, 7.5, 2, "7,50|7,5|0|");
        row("box: 2 empty tag keeps text", Kind::TextBox, QString(), 2, "before||0|");
        row("box: 6 whole, ungrouped", Kind::TextBox, 1234567.5, 6, "1234568|1234567,5|0|");
        row("box: 7 money, 3 decimals", Kind::TextBox, 1234.5678, 7, "€ 1 234,568|1234,5678|0|");
        row("box: 8 number, 3 decimals", Kind::TextBox, -1234.5, 8, "- 1 234,500|-1234,5|0|");
        row("box: 9 untouched", Kind::TextBox, 7.5, 9, "before|old|0|");
        row("combo: first of two matches", Kind::ComboBox, 20, 0, "before|old|1|");
        row("combo: numeric text", Kind::ComboBox, "30", 0, "before|old|3|");
        row("combo: no match keeps", Kind::ComboBox, 20.5, 0, "before|old|0|");
        row("combo: not a number clears", Kind::ComboBox, "abc", 0, "before|old|-1|");
        row("typed combo: the text, its choice kept", Kind::ComboBox, 7.5, 0, "7,5|old|0|", 0);
        row("typed combo: null clears the text", Kind::ComboBox, QVariant(), 0, "|old|0|", 0);
        row("picker: not a date", Kind::DatePicker, 5, 0, "before|old|0|01-01-1900 00:00:00");
        row("picker: keeps the time", Kind::DatePicker, LastSecond, 0, "before|old|0|31-12-2009 23:59:59");
        row("picker: display text", Kind::DatePicker, "05-03-2009 14:07:09", 0, "before|old|0|05-03-2009 14:07:09");
    }

    void setControlValue()
    {
        QFETCH(int, kind);
        QFETCH(QVariant, value);
        QFETCH(int, code);
        FakeControl control{Kind(kind)};
        QFETCH(int, style);
        control.m_style = style;
        SetControlValue(control, value, code);
        const QString date = control.m_value.toDateTime().toString("dd-MM-yyyy HH:mm:ss");
        QTEST(QStringList({control.m_text, control.m_tag, QString::number(control.m_index), date}).join(u'|'),
              "expected");
    }

    // Field names compare exactly; an error is reported and ends the fill with the entries added so far.
    void fill_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("displayField");
        QTest::addColumn<QString>("idField");
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("report");
        const QStringList before{"anterior:1"};
        const auto row = [](const char* name, const QString& sql, const QString& display, const QString& id,
                            const QStringList& expected, const QString& report = QString(), bool sorted = false) {
            QTest::newRow(name) << sql << display << id << sorted << expected << report;
        };
        row("null display skipped, own identifiers kept", LawyerQuery, Display, Id,
            {"João Costa:10", "Rui O'Neil:30", "Ana Silva:40"});
        row("sorted control gets identifiers at NewIndex", LawyerQuery, Display, Id,
            {"Ana Silva:40", "João Costa:10", "Rui O'Neil:30"}, QString(), true);
        row("no identifier field named", LawyerQuery, Display, QString(),
            {"João Costa:-1", "Rui O'Neil:-1", "Ana Silva:-1"});
        row("no rows keeps the entries", "SELECT * FROM tbVazia", Display, Id, before);
        row("display name in other letter case", LawyerQuery, "Advogado_Descrit", Id, before);
        row("identifier name in other letter case", LawyerQuery, Display, "CONTACTO_ID", before);
        row("null identifier", "SELECT * FROM tbNulos ORDER BY advogado_descrit", Display, Id, {"Ana:5", "Bruno:-1"},
            "Invalid use of Null");
        row("failing statement keeps the entries", "SELECT * FROM tbNada", Display, Id, before, "no such table");
    }

    void fill()
    {
        QFETCH(QString, sql);
        QFETCH(QString, displayField);
        QFETCH(QString, idField);
        QFETCH(bool, sorted);
        QFETCH(QString, report);
        testsupport::RecordedReports reports;
        FakeList list(sorted);
        ControlFill(list, sql, displayField, idField);
        QTEST(list.m_entries, "expected");
        QCOMPARE(reports.procedures(), report.isEmpty() ? QStringList() : QStringList{QStringLiteral("ControlFill")});
        if (!report.isEmpty()) {
            QVERIFY2(reports.reports().first().text.contains(report), qPrintable(reports.reports().first().text));
        }
    }

    // Last: it closes the shared connection.
    void serverDateIsNoDateWithoutConnection()
    {
        const QDateTime serverNow(QDate(2009, 11, 16), QTime(17, 45, 30));
        m_db.setServerClock(serverNow);
        QCOMPARE(ServerDate(), serverNow);
        testsupport::RecordedReports reports;
        data::Data::SqlServer().close();
        QCOMPARE(ServerDate(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
        QCOMPARE(reports.reports().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
