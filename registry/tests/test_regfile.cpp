// The reader and writer of registry editor text, fed what a damaged or hostile file may hold.
#include "core/errorvalue.h"
#include "registry/filestore.h"
#include "registry/modregistry.h"
#include "registry/regfile.h"
#include "registry/registrybackend.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTest>

#include <optional>

using registry::RegFile;
using namespace Qt::StringLiterals;

namespace {
const QString Root = u"HKEY_CURRENT_USER"_s;
const QByteArray Header = "Windows Registry Editor Version 5.00\r\n\r\n";
const QByteArray Key = "[HKEY_CURRENT_USER\\Software\\Vorlent]\r\n";

// "L1\L2\...\Ln"
QString levels(int depth, const QString& prefix = u"L"_s)
{
    QStringList names;
    for (int i = 1; i <= depth; ++i) {
        names << prefix + QString::number(i);
    }
    return names.join(u'\\');
}

QByteArray section(const QString& path)
{
    return "[HKEY_CURRENT_USER\\" + path.toUtf8() + "]\r\n";
}

// The key levels walked to create a key of the given depth, write a value into it and read it back from a fresh
// program's point of view.
quint64 workForDepth(int depth)
{
    const quint64 before = RegFile::levelsWalked();
    const QString path = levels(depth);
    RegFile keys(Root);
    keys.addKey(path);
    keys.setValue(path, u"DataServer"_s, u"ORVSQL01"_s);
    RegFile read(Root);
    read.parse(keys.toText(registry::filestore::MaxFileBytes).value_or(QByteArray()), u"deep.reg"_s);
    const RegFile::Value* value = read.value(path, u"DataServer"_s);
    return value && value->data == u"ORVSQL01" ? RegFile::levelsWalked() - before : 0;
}
} // namespace

class TestRegFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
#ifdef _WIN32
        QSKIP("Windows keeps its own registry");
#endif
    }

    // Arbitrary bytes either read as keys or are refused with the file's name; nothing crashes or hangs, and what
    // was read writes out as text that reads back the same.
    void hostileTextIsReadOrRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        const QByteArray wide = utf16(QString::fromUtf8(Header + Key + "\"Username\"=\"João\"\r\n"));
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("only the header") << Header << true;
        QTest::newRow("UTF-16 with its byte order mark") << wide << true;
        QTest::newRow("UTF-16 cut in the middle of a character") << wide.chopped(1) << false;
        QTest::newRow("only a byte order mark") << QByteArray("\xFF\xFE") << false;
        QTest::newRow("UTF-8 byte order mark") << "\xEF\xBB\xBF" + Header + Key << true;
        QTest::newRow("lines ended by CR LF, LF and CR CR LF") << Header + Key + "\"a\"=\"1\"\n\"b\"=\"2\"\r\r\n"
                                                               << true;
        QTest::newRow("NUL in a value") << Header + Key + QByteArray("\"a\"=\"x\0y\"\r\n", 11) << false;
        QTest::newRow("NUL in a value's name") << Header + Key + QByteArray("\"a\0b\"=\"x\"\r\n", 11) << false;
        QTest::newRow("NUL in a key name") << Header + QByteArray("[HKEY_CURRENT_USER\\a\0b]\r\n", 25) << false;
        QTest::newRow("NUL in the header") << QByteArray("Windows Registry\0Editor Version 5.00\r\n", 39) << false;
        QTest::newRow("unterminated value") << Header + Key + "\"Username\"=\"jsilva\r\n" << false;
        QTest::newRow("unterminated name") << Header + Key + "\"Username=\r\n" << false;
        QTest::newRow("escape at the end") << Header + Key + "\"a\"=\"x\\" << false;
        QTest::newRow("text after the value") << Header + Key + "\"a\"=\"x\"y\r\n" << false;
        QTest::newRow("unterminated key") << Header + "[HKEY_CURRENT_USER\\Software\r\n" << false;
        QTest::newRow("empty key") << Header + "[]\r\n" << false;
        QTest::newRow("a lone bracket") << Header + "[\r\n" << false;
        QTest::newRow("empty key name") << Header + "[HKEY_CURRENT_USER\\a\\\\b]\r\n" << false;
        QTest::newRow("value without a key") << Header + "@=\"x\"\r\n" << false;
        QTest::newRow("unknown type") << Header + Key + "\"a\"=dword\r\n" << false;
        QTest::newRow("control characters in hex data") << Header + Key + "\"a\"=hex:01,\\\r\\\n\r\n" << false;
        QTest::newRow("huge hex value over many lines")
            << Header + Key + "\"Blob\"=hex:" + QByteArray("00,").repeated(2000).append("\\\r\n  ").repeated(200) +
                   "00\r\n"
            << true;
        QTest::newRow("hex continued past the end") << Header + Key + "\"Blob\"=hex:01,\\" << true;
        QTest::newRow("20000 values in one key") << Header + Key + [] {
            QByteArray values;
            for (int i = 0; i < 20000; ++i) {
                values += "\"v" + QByteArray::number(i) + "\"=\"x\"\r\n";
            }
            return values;
        }() << true;
        QTest::newRow("512 levels") << Header + section(levels(RegFile::MaxDepth)) << true;
        QTest::newRow("513 levels") << Header + section(levels(RegFile::MaxDepth + 1)) << false;
        QTest::newRow("a name of 255 characters") << Header + section(QString(RegFile::MaxNameLength, u'n')) << true;
        QTest::newRow("a name of 256 characters")
            << Header + section(QString(RegFile::MaxNameLength + 1, u'n')) << false;
        QTest::newRow("100000 levels in one line") << Header + section(levels(100000)) << false;
    }

    void hostileTextIsReadOrRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        RegFile keys(Root);
        bool read = true;
        try {
            keys.parse(bytes, u"hostile.reg"_s);
        } catch (const core::Error& error) {
            read = false;
            QCOMPARE(error.number(), registry::errc::BadDatabase);
            QVERIFY2(error.description().contains(u"hostile.reg"_s), qPrintable(error.description()));
        }
        QCOMPARE(read, readable);
        if (read) {
            const std::optional<QByteArray> text = keys.toText(64 * registry::filestore::MaxFileBytes);
            QVERIFY(text);
            RegFile again(Root);
            again.parse(*text, u"written.reg"_s);
            QCOMPARE(again.toText(64 * registry::filestore::MaxFileBytes), text);
        }
    }

    // Adding and finding keys walks each level once: twice the depth is about four times the work (the file names
    // every key's whole path), not a thousand times.
    void deepKeysCostWorkInProportionToTheText()
    {
        const quint64 shallow = workForDepth(10);
        const quint64 deep = workForDepth(20);
        QVERIFY(shallow > 0 && deep > 0);
        QVERIFY2(deep <= 5 * shallow, qPrintable(u"%1 levels walked at depth 10, %2 at 20"_s.arg(shallow).arg(deep)));
    }

    // Through the module: a key 30 levels deep is created, written and read back in a registry file.
    void thirtyLevelKeyReadsBack()
    {
        testsupport::TempRegistry registry;
        testsupport::RecordedReports reports;
        const QString path = Root + u"\\Software\\Vorlent\\"_s + levels(28);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(registry::modRegistry::CriarChave(path));
        QVERIFY(registry::modRegistry::DefinirValorString(path, u"DataServer"_s, u"ORVSQL01"_s));
        QCOMPARE(registry::modRegistry::ObterValorString(path, u"DataServer"_s), u"ORVSQL01"_s);
        qInfo("a 30-level key created, written and read back in %lld ms", timer.elapsed());
        QCOMPARE(reports.procedures(), QStringList());
    }

    // A file holding what the platform cannot hold is reported with the reason, and nothing of it is read: a
    // value cut at a NUL, or a key past the depth cap, is never silently something else or absent.
    void aFileBeyondTheLimitsIsReported_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("NUL in a value") << Header + Key + "\"Username\"=\"ok\"\r\n" +
                                               QByteArray("\"DataServer\"=\"ORVSQL\0EVIL\"\r\n", 28)
                                        << u"line 5: a NUL character inside a value"_s;
        QTest::newRow("513 levels") << Header + Key + "\"Username\"=\"ok\"\r\n" +
                                           section(u"Software\\"_s + levels(RegFile::MaxDepth))
                                    << u"line 5: a key deeper than 512 levels"_s;
        QTest::newRow("a name of 256 characters")
            << Header + Key + "\"Username\"=\"ok\"\r\n" + section(QString(RegFile::MaxNameLength + 1, u'n'))
            << u"line 5: a key name longer than 255 characters"_s;
    }
    void aFileBeyondTheLimitsIsReported()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        testsupport::TempRegistry registry;
        testsupport::RecordedReports reports;
        QFile file(registry.file(u"HKEY_CURRENT_USER"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QVERIFY(!registry::modRegistry::ObterValorString(Root + u"\\Software\\Vorlent"_s, u"Username"_s));
        QCOMPARE(reports.reports().size(), 1);
        QVERIFY2(reports.reports().first().text.contains(reason), qPrintable(reports.reports().first().text));
    }

    // Key paths beyond the registry's limits are refused quietly, as the platform refuses them.
    void keysBeyondTheLimitsAreRefused()
    {
        testsupport::TempRegistry registry;
        testsupport::RecordedReports reports;
        QVERIFY(registry::modRegistry::CriarChave(Root + u'\\' + levels(RegFile::MaxDepth)));
        QVERIFY(!registry::modRegistry::CriarChave(Root + u'\\' + levels(RegFile::MaxDepth + 1)));
        QVERIFY(!registry::modRegistry::CriarChave(Root + u'\\' + QString(RegFile::MaxNameLength + 1, u'n')));
        QCOMPARE(reports.procedures(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestRegFile)
#include "test_regfile.moc"
