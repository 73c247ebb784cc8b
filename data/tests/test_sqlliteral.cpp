#include "core/errorvalue.h"
#include "data/moddata.h"

#include <QTest>

using data::modData::SqlLiteral;

namespace {

QVariant v(const char* text)
{
    return QString::fromUtf8(text);
}

QVariant at(int y, int mo, int d, int h = 0, int mi = 0, int sec = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, sec));
}

QString convert(const char* text)
{
    return QString("CONVERT(DATETIME,'%1',102)").arg(text);
}

} // namespace

class TestSqlLiteral : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void literals_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");

        const QVariant null;
        const QString Null = "null";

        QTest::newRow("date: null") << null << 1 << Null;
        QTest::newRow("date: blanks") << v("   ") << 1 << Null;
        QTest::newRow("date: placeholder") << v("  - - - ") << 1 << Null;
        QTest::newRow("date: no date text") << v("amanhã") << 1 << Null;
        QTest::newRow("date: 30 February") << v("30-02-2009") << 1 << Null;
        QTest::newRow("date: a number") << QVariant(15) << 1 << Null;
        QTest::newRow("date: no-date value") << at(1900, 1, 1) << 1 << Null;
        QTest::newRow("date: no-date as display text") << v("01-01-1900 0:00:00") << 1 << Null;
        QTest::newRow("date: same day at 08:00") << at(1900, 1, 1, 8) << 1 << convert("1900-01-01 08:00:00");
        QTest::newRow("date: last second of 2009")
            << at(2009, 12, 31, 23, 59, 59) << 1 << convert("2009-12-31 23:59:59");
        QTest::newRow("date: without time") << QVariant(QDate(2009, 3, 5)) << 1 << convert("2009-03-05 00:00:00");
        QTest::newRow("date: range start text") << v("05-03-2009 0:00:00") << 1 << convert("2009-03-05 00:00:00");
        QTest::newRow("date: kind 5") << at(2009, 12, 31, 23, 59, 59) << 5 << convert("2009-12-31 23:59:59");

        QTest::newRow("number: null") << null << 2 << Null;
        QTest::newRow("number: blanks") << v("   ") << 2 << Null;
        QTest::newRow("number: fraction") << QVariant(12.5) << 2 << "12.5";
        QTest::newRow("number: whole") << QVariant(15) << 2 << "15";
        QTest::newRow("number: no float noise") << QVariant(0.1 + 0.2) << 2 << "0.3";
        QTest::newRow("number: big, no exponent") << QVariant(1e20) << 2 << "100000000000000000000";
        QTest::newRow("number: comma text") << v("12,5") << 2 << "12.5";
        QTest::newRow("number: blanks stay") << v(" 12,5 ") << 2 << " 12.5 ";
        QTest::newRow("number: not a number") << v("x") << 2 << Null;
        QTest::newRow("number: grouped text") << v("1.234,5") << 2 << Null;

        QTest::newRow("text: null") << null << 3 << Null;
        QTest::newRow("text: blanks") << v("   ") << 3 << Null;
        QTest::newRow("text: trimmed") << v("  João  ") << 3 << "'João'";
        QTest::newRow("text: only spaces trimmed") << v("\tana  silva ") << 3 << "'\tana  silva'";
        QTest::newRow("text: O'Neil") << v("O'Neil") << 3 << "'O' + CHAR(39) + 'Neil'";
        QTest::newRow("text: a'b'c") << v("a'b'c") << 3 << "'a' + CHAR(39) + 'b' + CHAR(39) + 'c'";
        QTest::newRow("text: a number") << QVariant(12.5) << 3 << "'12,5'";
        QTest::newRow("text never null: null") << null << 4 << "''";
        QTest::newRow("text never null: blanks") << v("   ") << 4 << "''";
        QTest::newRow("text never null: O'Neil") << v(" O'Neil ") << 4 << "'O' + CHAR(39) + 'Neil'";

        QTest::newRow("like: null") << null << 6 << "'%%'";
        QTest::newRow("like: blanks") << v("  ") << 6 << "'%%'";
        QTest::newRow("like: ana silva") << v("ana silva") << 6 << "'%ana%silva%'";
        QTest::newRow("like: escape keeps its blanks") << v(" d'ar te ") << 6 << "'%d' + CHAR(39) + 'ar%te%'";

        for (const int kind : {0, 7, -1}) {
            QTest::addRow("kind %d: text", kind) << v("x") << kind << QString();
            QTest::addRow("kind %d: null", kind) << null << kind << QString();
            QTest::addRow("kind %d: a list", kind) << QVariant(QStringList{"x"}) << kind << QString();
        }
    }

    void literals()
    {
        QFETCH(QVariant, value);
        QFETCH(int, kind);
        QTEST(SqlLiteral(value, kind), "expected");
    }

    void valueWithoutTextIsAnError()
    {
        for (const int kind : {1, 2, 3, 4, 6}) {
            QVERIFY_THROWS_EXCEPTION(core::Error, SqlLiteral(QVariant(QStringList{"x"}), kind));
        }
    }

    void trtfRewritesItsArgument()
    {
        QString name = "O'Neil";
        QCOMPARE(data::modData::Trtf(name), "O' + CHAR(39) + 'Neil");
        QCOMPARE(name, "O' + CHAR(39) + 'Neil");
    }
};

QTEST_GUILESS_MAIN(TestSqlLiteral)
#include "test_sqlliteral.moc"
