// The system's time zone is read once: local times convert as before, and a chosen zone is kept.
#include "core/program.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTest>

#include <ctime>

namespace {

// Local times around the year's clock changes in most zones, read as instants.
QList<qint64> instants()
{
    QList<qint64> result;
    for (const char* text : {"2009-03-29 00:30:00", "2009-03-29 02:30:00", "2009-10-25 01:30:00", "2009-10-25 03:30:00",
                             "2026-07-01 12:00:00", "1999-12-31 23:59:59"}) {
        result << QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                      .toMSecsSinceEpoch();
    }
    return result;
}

} // namespace

class TestTimeZone : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void systemZoneReadOnceAndChosenZoneKept()
    {
        qunsetenv("TZ");
        tzset();
        const QList<qint64> before = instants();
        core::readTimeZoneOnce();
        QCOMPARE(qgetenv("TZ"),
                 QFileInfo::exists(QStringLiteral("/etc/localtime")) ? QByteArray(":/etc/localtime") : QByteArray());
        QCOMPARE(instants(), before);

        qputenv("TZ", "Pacific/Auckland");
        core::readTimeZoneOnce();
        QCOMPARE(qgetenv("TZ"), QByteArray("Pacific/Auckland"));
    }
};

QTEST_GUILESS_MAIN(TestTimeZone)
#include "test_timezone.moc"
