#include "data/binding/modcontrolfill.h"
#include "data/connection.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempdatabase.h"

#include <QTest>

using data::modControlFill::ControlFill;
using data::modControlFill::ServerDate;

namespace {

// A list control whose entries read "text:ItemData" ("text:-1" while not set); it starts with
// "anterior:1". A sorted list puts each new entry in its alphabetical place, so NewIndex need not
// be the last.
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
const QString Display = QStringLiteral("advogado_descrit");
const QString Id = QStringLiteral("contacto_id");

} // namespace

class TestControlFill : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> m_db;

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<testsupport::TempDatabase>();
        m_db->exec(QStringLiteral("CREATE TABLE vwAdvogadosTeste (contacto_id INTEGER, advogado_descrit TEXT);"
                                  "INSERT INTO vwAdvogadosTeste VALUES (30, 'Rui O''Neil'), (10, 'João Costa'), "
                                  "(20, NULL), (40, 'Ana Silva');"
                                  "CREATE TABLE tbVazia (contacto_id INTEGER, advogado_descrit TEXT);"
                                  "CREATE TABLE tbNulos (contacto_id INTEGER, advogado_descrit TEXT);"
                                  "INSERT INTO tbNulos VALUES (5, 'Ana'), (NULL, 'Bruno'), (7, 'Carla');"));
        m_db->openShared();
    }

    void cleanup() { m_db.reset(); }

    void serverDateIsNoDateWithoutConnection()
    {
        const QDateTime serverNow(QDate(2009, 11, 16), QTime(17, 45, 30));
        m_db->setServerClock(serverNow);
        QCOMPARE(ServerDate(), serverNow);
        testsupport::RecordedReports reports;
        data::Data::SqlServer().close();
        QCOMPARE(ServerDate(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
        QCOMPARE(reports.reports().size(), 0);
    }

    // Field names are compared exactly. An error is reported and ends the fill with the entries added
    // so far: a record's entry is added before its identifier is read.
    void fill_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("displayField");
        QTest::addColumn<QString>("idField");
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("report");
        const QStringList before{"anterior:1"};

        QTest::newRow("null display skipped, own identifiers kept")
            << LawyerQuery << Display << Id << false << QStringList{"João Costa:10", "Rui O'Neil:30", "Ana Silva:40"}
            << QString();
        QTest::newRow("sorted control gets identifiers at NewIndex")
            << LawyerQuery << Display << Id << true << QStringList{"Ana Silva:40", "João Costa:10", "Rui O'Neil:30"}
            << QString();
        QTest::newRow("no identifier field named")
            << LawyerQuery << Display << QString() << false
            << QStringList{"João Costa:-1", "Rui O'Neil:-1", "Ana Silva:-1"} << QString();
        QTest::newRow("no rows keeps the entries")
            << QStringLiteral("SELECT * FROM tbVazia") << Display << Id << false << before << QString();
        QTest::newRow("display name in other letter case")
            << LawyerQuery << QStringLiteral("Advogado_Descrit") << Id << false << before << QString();
        QTest::newRow("identifier name in other letter case")
            << LawyerQuery << Display << QStringLiteral("CONTACTO_ID") << false << before << QString();
        QTest::newRow("null identifier") << QStringLiteral("SELECT * FROM tbNulos ORDER BY advogado_descrit") << Display
                                         << Id << false << QStringList{"Ana:5", "Bruno:-1"}
                                         << QStringLiteral("Invalid use of Null");
        QTest::newRow("failing statement keeps the entries") << QStringLiteral("SELECT * FROM tbNada") << Display << Id
                                                             << false << before << QStringLiteral("no such table");
    }

    void fill()
    {
        QFETCH(QString, sql);
        QFETCH(QString, displayField);
        QFETCH(QString, idField);
        QFETCH(bool, sorted);
        QFETCH(QStringList, expected);
        QFETCH(QString, report);
        testsupport::RecordedReports reports;
        FakeList list(sorted);
        ControlFill(list, sql, displayField, idField);
        QCOMPARE(list.m_entries, expected);
        QCOMPARE(reports.procedures(), report.isEmpty() ? QStringList() : QStringList{QStringLiteral("ControlFill")});
        if (!report.isEmpty()) {
            QVERIFY2(reports.reports().first().text.contains(report), qPrintable(reports.reports().first().text));
        }
    }
};

QTEST_GUILESS_MAIN(TestControlFill)
#include "test_controlfill.moc"
