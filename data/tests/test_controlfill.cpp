#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/modcontrolfill.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempdatabase.h"

#include <QTest>

#include <algorithm>

using data::modControlFill::ControlFill;
using data::modControlFill::ServerDate;

namespace {

// A list control whose entries are display text with their ItemData (-1 when never set).
// A sorted list puts each new entry in its alphabetical place, so NewIndex need not be the last.
class FakeList : public data::ListControl
{
public:
    struct Entry {
        QString text;
        qint32 data = -1;
        bool operator==(const Entry&) const = default;
    };

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
        auto place = m_entries.end();
        if (m_sorted) {
            place = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.text > text; });
        }
        m_newIndex = int(std::distance(m_entries.begin(), m_entries.insert(place, Entry{text})));
    }
    int NewIndex() const override { return m_newIndex; }
    void setItemData(int index, qint32 value) override { m_entries[index].data = value; }

    QList<Entry> m_entries;

private:
    bool m_sorted;
    int m_newIndex = -1;
};

using Entries = QList<FakeList::Entry>;

const QString LawyerQuery = QStringLiteral("SELECT * FROM vwAdvogadosTeste ORDER BY contacto_id");

FakeList::Entry entry(const char* text, qint32 data = -1)
{
    return {QString::fromUtf8(text), data};
}

} // namespace

Q_DECLARE_METATYPE(Entries)

class TestControlFill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<testsupport::TempDatabase>();
        m_db->exec(QStringLiteral("CREATE TABLE vwAdvogadosTeste (contacto_id INTEGER, advogado_descrit TEXT)"));
        m_db->exec(QStringLiteral("INSERT INTO vwAdvogadosTeste VALUES (30, 'Rui O''Neil'), (10, 'João Costa'), "
                                  "(20, NULL), (40, 'Ana Silva')"));
        m_db->exec(QStringLiteral("CREATE TABLE tbVazia (contacto_id INTEGER, advogado_descrit TEXT)"));
        m_db->openShared();
    }

    void cleanup() { m_db.reset(); }

    void serverDateFollowsTheServer()
    {
        const QDateTime serverNow(QDate(2009, 11, 16), QTime(17, 45, 30));
        m_db->setServerClock(serverNow);
        data::StatementLog::clear();
        QCOMPARE(ServerDate(), serverNow);
        QCOMPARE(data::StatementLog::statements(), QStringList{QStringLiteral("SELECT GETDATE() AS DATE")});
    }

    void serverDateWithoutConnectionIsNoDate()
    {
        testsupport::RecordedReports reports;
        data::Data::SqlServer().close();
        QCOMPARE(ServerDate(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
        QCOMPARE(reports.reports().size(), 0);
    }

    void fill_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("displayField");
        QTest::addColumn<QString>("idField");
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<Entries>("expected");

        const Entries previous{entry("anterior", 1)};
        const QString display = QStringLiteral("advogado_descrit");
        const QString id = QStringLiteral("contacto_id");

        QTest::newRow("null display skipped, own identifiers kept")
            << LawyerQuery << display << id << false
            << Entries{entry("João Costa", 10), entry("Rui O'Neil", 30), entry("Ana Silva", 40)};
        QTest::newRow("sorted control gets identifiers at NewIndex")
            << LawyerQuery << display << id << true
            << Entries{entry("Ana Silva", 40), entry("João Costa", 10), entry("Rui O'Neil", 30)};
        QTest::newRow("no identifier field named")
            << QStringLiteral("SELECT advogado_descrit FROM vwAdvogadosTeste ORDER BY contacto_id") << display
            << QString() << false << Entries{entry("João Costa"), entry("Rui O'Neil"), entry("Ana Silva")};
        QTest::newRow("no rows keeps the entries")
            << QStringLiteral("SELECT * FROM tbVazia") << display << id << false << previous;
        QTest::newRow("display name in other letter case")
            << LawyerQuery << QStringLiteral("Advogado_Descrit") << id << false << previous;
        QTest::newRow("identifier name in other letter case")
            << LawyerQuery << display << QStringLiteral("CONTACTO_ID") << false << previous;
        QTest::newRow("display field missing") << LawyerQuery << QStringLiteral("nome") << id << false << previous;
    }

    void fill()
    {
        QFETCH(QString, sql);
        QFETCH(QString, displayField);
        QFETCH(QString, idField);
        QFETCH(bool, sorted);
        QFETCH(Entries, expected);

        testsupport::RecordedReports reports;
        FakeList list(sorted);
        list.m_entries = {entry("anterior", 1)};
        ControlFill(list, sql, displayField, idField);
        QCOMPARE(list.m_entries, expected);
        QCOMPARE(reports.reports().size(), 0);
    }

    void nullIdentifierIsReported()
    {
        m_db->exec(QStringLiteral("INSERT INTO tbVazia VALUES (5, 'Ana'), (NULL, 'Bruno'), (7, 'Carla')"));
        testsupport::RecordedReports reports;
        FakeList list;
        ControlFill(list, QStringLiteral("SELECT * FROM tbVazia ORDER BY advogado_descrit"),
                    QStringLiteral("advogado_descrit"), QStringLiteral("contacto_id"));

        // The entry of the failing record was added before its identifier was read; the fill ends there.
        QCOMPARE(list.m_entries, (Entries{entry("Ana", 5), entry("Bruno")}));
        QCOMPARE(reports.reports().size(), 1);
        const testsupport::Report& report = reports.reports().first();
        QCOMPARE(
            QStringList({report.application, report.project, report.owner, report.procedure, report.text}),
            QStringList({QStringLiteral("ControlFill"), QStringLiteral("ControlFill"), QStringLiteral("modControlFill"),
                         QStringLiteral("ControlFill"), QStringLiteral("Invalid use of Null")}));
    }

    void failedStatementIsReported()
    {
        testsupport::RecordedReports reports;
        data::StatementFailures::failNext({core::errc::ProviderError, QStringLiteral("Invalid object name.")});
        FakeList list;
        list.m_entries = {entry("anterior", 1)};
        ControlFill(list, LawyerQuery, QStringLiteral("advogado_descrit"), QStringLiteral("contacto_id"));
        QCOMPARE(list.m_entries, (Entries{entry("anterior", 1)}));
        QCOMPARE(reports.procedures(), QStringList{QStringLiteral("ControlFill")});
    }

private:
    std::unique_ptr<testsupport::TempDatabase> m_db;
};

QTEST_GUILESS_MAIN(TestControlFill)
#include "test_controlfill.moc"
