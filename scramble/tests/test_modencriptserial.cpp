#include "scramble/cp1252.h"
#include "scramble/modencriptserial.h"
#include "scramble/volumeserialsource.h"
#include "testsupport/recordedreports.h"

#include <QRegularExpression>
#include <QTest>

#include <stdexcept>

using namespace scramble;
using namespace scramble::modEncriptSerial;
using namespace Qt::StringLiterals;

namespace {

QString fromCodes(const QList<int>& codes)
{
    QString text;
    for (const int code : codes) {
        text += cp1252::character(code);
    }
    return text;
}

// Drive C: with a fixed serial number; nullopt when it cannot be read.
struct FakeVolumeSerial final : VolumeSerialSource {
    explicit FakeVolumeSerial(std::optional<qint32> serial)
        : serial(serial)
    {}
    std::optional<qint32> serialNumber(const QString& rootPath) override
    {
        if (rootPath != u"C:\\") {
            throw std::runtime_error("no such volume");
        }
        return serial;
    }
    std::optional<qint32> serial;
};

} // namespace

class TestModEncriptSerial : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        setVolumeSerialSource(nullptr);
        VolumeSerial.clear();
    }

    // Each row both ways; a way out of range gives "" and one report.
    void scrambledCodes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("scrambled");
        QTest::newRow("abc") << u"123"_s << u"abc"_s << fromCodes({146, 148, 150});
        QTest::newRow("key restarts after K")
            << u"123"_s << u"aaaaaaa"_s << fromCodes({146, 147, 148, 146, 147, 148, 146});
        QTest::newRow("minus sign is a key character") << u"-1"_s << u"aaa"_s << fromCodes({142, 146, 142});
        // Sums stored as 248 to 255. Key "0" is code 48; "!" (33) is the only way to reach the sums 35 and 36.
        const QList<std::pair<int, int>> special{{157, 248}, {36, 249}, {144, 250}, {143, 251},
                                                 {141, 252}, {35, 253}, {127, 254}, {129, 255}};
        for (const auto& [sum, code] : special) {
            const int key = sum < 48 ? 33 : 48;
            QTest::addRow("sum %d", sum) << QString(QChar(key)) << fromCodes({sum - key}) << fromCodes({code});
        }
        // With key "9" (57): 199 + 57 = 256.
        QTest::newRow("sum above 255") << u"9"_s << u"ab"_s + fromCodes({199}) + u"c"_s << QString();
        QTest::newRow("two sums above 255") << u"9"_s << fromCodes({200, 255}) << QString();
        QTest::newRow("a c cedilla") << u"9"_s << u"Lançamento"_s << QString();
        QTest::newRow("result below 0") << u"9"_s << QString() << u"\x01"_s;
    }

    void scrambledCodes()
    {
        QFETCH(QString, key);
        QFETCH(QString, plain);
        QFETCH(QString, scrambled);
        testsupport::RecordedReports reports;
        VolumeSerial = key;
        QStringList reported;
        if (!plain.isEmpty()) {
            QCOMPARE(EncriptSerial(plain), scrambled);
            reported << QStringList(scrambled.isEmpty() ? 1 : 0, u"EncriptSerial"_s);
        }
        if (!scrambled.isEmpty()) {
            QCOMPARE(DencriptSerial(scrambled), plain);
            reported << QStringList(plain.isEmpty() ? 1 : 0, u"DencriptSerial"_s);
        }
        QCOMPARE(reports.procedures(), reported);
    }

    // The key is drive C:'s serial as signed decimal, read once, "0" when unreadable.
    void workstationKey()
    {
        testsupport::RecordedReports reports;
        QVERIFY(!EncriptSerial(u"sa"_s).isEmpty());
        const QString first = VolumeSerial;
        QVERIFY2(QRegularExpression(u"^-?[0-9]{1,10}$"_s).match(first).hasMatch(), qPrintable(first));
        QCOMPARE(GetSerialNumber(), first);
        setVolumeSerialSource(std::make_unique<FakeVolumeSerial>(-1234567890));
        QCOMPARE(GetSerialNumber(), u"-1234567890"_s);
        setVolumeSerialSource(std::make_unique<FakeVolumeSerial>(std::nullopt));
        QCOMPARE(GetSerialNumber(), u"0"_s);
        QCOMPARE(reports.procedures(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestModEncriptSerial)
#include "test_modencriptserial.moc"
