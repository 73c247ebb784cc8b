#include "scramble/cp1252.h"
#include "scramble/modencriptserial.h"
#include "scramble/volumeserialsource.h"
#include "testsupport/recordedreports.h"

#include <QRegularExpression>
#include <QTest>

#include <numeric>
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

QList<int> codesOf(const QString& text)
{
    QList<int> codes;
    for (const QChar c : text) {
        codes.append(cp1252::code(c));
    }
    return codes;
}

// Answers with a fixed serial number (nullopt: unreadable), or throws as a broken source would.
class FakeVolumeSerial final : public VolumeSerialSource
{
public:
    FakeVolumeSerial(std::optional<qint32> serial, bool broken) : m_serial(serial), m_broken(broken) {}
    std::optional<qint32> serialNumber(const QString& rootPath) override
    {
        if (m_broken || rootPath != u"C:\\") {
            throw std::runtime_error("no such volume");
        }
        return m_serial;
    }

private:
    std::optional<qint32> m_serial;
    bool m_broken;
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

    void codePage()
    {
        QCOMPARE(cp1252::character(0x80), QChar(0x20AC));
        QCOMPARE(cp1252::code(QChar(0x20AC)), 0x80);
        QCOMPARE(cp1252::code(QChar(0x81)), 0x81); // undefined in the code page: Windows keeps the number
        QCOMPARE(cp1252::character(0x9F), QChar(0x178));
        QCOMPARE(cp1252::code(QChar(0x2192)), int('?')); // outside the code page
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QList<int> below191(191);
        std::iota(below191.begin(), below191.end(), 0);
        const QStringList texts{QString(), u"Orv_Couter 2009!"_s, u"€ƒ‰ŠŒŽ“”•–—™š›œžŸ"_s, fromCodes(below191)};
        for (const QString& key : {u"-1234567890"_s, u"0"_s, u"2147483647"_s}) {
            for (qsizetype i = 0; i < texts.size(); ++i) {
                QTest::addRow("key %s, text %d", qPrintable(key), int(i)) << key << texts.at(i);
            }
        }
    }

    void roundTrip()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        testsupport::RecordedReports reports;
        VolumeSerial = key;
        const QString scrambled = EncriptSerial(text);
        QCOMPARE(scrambled.size(), text.size());
        QVERIFY(text.isEmpty() || scrambled != text);
        QCOMPARE(DencriptSerial(scrambled), text);
        QCOMPARE(reports.procedures(), QStringList());
    }

    void scrambledCodes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QList<int>>("plain");
        QTest::addColumn<QList<int>>("scrambled");
        const QList<int> a7(7, 'a');
        QTest::newRow("abc") << u"123"_s << QList<int>{'a', 'b', 'c'} << QList<int>{146, 148, 150};
        QTest::newRow("key restarts after K") << u"123"_s << a7 << QList<int>{146, 147, 148, 146, 147, 148, 146};
        QTest::newRow("minus sign is a key character") << u"-1"_s << a7.mid(0, 3) << QList<int>{142, 146, 142};
        // Sums stored as 248 to 255. Key "0" is code 48; "!" (33) is the only way to reach the sums 35 and 36.
        const QList<std::pair<int, int>> special{{157, 248}, {36, 249}, {144, 250}, {143, 251},
                                                 {141, 252}, {35, 253}, {127, 254}, {129, 255}};
        for (const auto& [sum, code] : special) {
            const int key = sum < 48 ? 33 : 48;
            QTest::addRow("sum %d", sum) << QString(QChar(key)) << QList<int>{sum - key} << QList<int>{code};
        }
    }

    void scrambledCodes()
    {
        QFETCH(QString, key);
        QFETCH(QList<int>, plain);
        QFETCH(QList<int>, scrambled);
        VolumeSerial = key;
        QCOMPARE(codesOf(EncriptSerial(fromCodes(plain))), scrambled);
        QCOMPARE(codesOf(DencriptSerial(fromCodes(scrambled))), plain);
    }

    void outOfRange_data()
    {
        QTest::addColumn<bool>("scrambling");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("procedure");
        // With key "9" (57): 199 + 57 = 256.
        QTest::newRow("sum above 255") << true << u"ab"_s + fromCodes({199}) + u"c"_s << u"EncriptSerial"_s;
        QTest::newRow("two sums above 255") << true << fromCodes({200, 255}) << u"EncriptSerial"_s;
        QTest::newRow("a c cedilla") << true << u"Lançamento"_s << u"EncriptSerial"_s;
        QTest::newRow("result below 0") << false << u"\x01"_s << u"DencriptSerial"_s;
    }

    void outOfRange()
    {
        QFETCH(bool, scrambling);
        QFETCH(QString, text);
        QFETCH(QString, procedure);
        testsupport::RecordedReports reports;
        VolumeSerial = u"9"_s;
        QCOMPARE(scrambling ? EncriptSerial(text) : DencriptSerial(text), QString());
        QCOMPARE(reports.procedures(), QStringList{procedure});
        const testsupport::Report& report = reports.reports().first();
        QCOMPARE(report.application, u"EncriptSerial"_s);
        QCOMPARE(report.project, u"EncriptSerial"_s);
        QCOMPARE(report.owner, u"modEncriptSerial"_s);
    }

    void workstationKey()
    {
        const QString first = GetSerialNumber();
        QVERIFY2(QRegularExpression(u"^-?[0-9]{1,10}$"_s).match(first).hasMatch(), qPrintable(first));
        QCOMPARE(VolumeSerial, first);
        VolumeSerial.clear();
        QVERIFY(!EncriptSerial(u"sa"_s).isEmpty()); // reads the key when none was read yet
        QCOMPARE(VolumeSerial, first);
        QCOMPARE(GetSerialNumber(), first);
    }

    void keySource_data()
    {
        QTest::addColumn<std::optional<qint32>>("serial");
        QTest::addColumn<bool>("broken");
        QTest::addColumn<QString>("key");
        QTest::newRow("negative") << std::optional<qint32>(-1234567890) << false << u"-1234567890"_s;
        QTest::newRow("unreadable") << std::optional<qint32>() << false << u"0"_s;
        QTest::newRow("broken source") << std::optional<qint32>() << true << QString();
    }

    void keySource()
    {
        QFETCH(std::optional<qint32>, serial);
        QFETCH(bool, broken);
        QFETCH(QString, key);
        testsupport::RecordedReports reports;
        setVolumeSerialSource(std::make_unique<FakeVolumeSerial>(serial, broken));
        QCOMPARE(GetSerialNumber(), key);
        QCOMPARE(reports.procedures(), QStringList(broken ? 1 : 0, u"ObterInfoDrive"_s));
        if (broken) {
            QCOMPARE(EncriptSerial(u"sa"_s), u"sa"_s); // no key: the text stays as it is
        }
    }
};

QTEST_GUILESS_MAIN(TestModEncriptSerial)
#include "test_modencriptserial.moc"
