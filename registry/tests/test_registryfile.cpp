// The registry kept in files: the module over them, and the .reg reader and writer fed damaged files.
#include "core/errorvalue.h"
#include "registry/filestore.h"
#include "registry/modregistry.h"
#include "registry/regfile.h"
#include "registry/registrybackend.h"
#include "testsupport/files.h"
#include "testsupport/mockclock.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"
#include "testsupport/thrown.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTest>

#include <optional>

using namespace registry::modRegistry;
using namespace Qt::StringLiterals;
using registry::RegFile;
using registry::filestore::fileReads;
using registry::filestore::MaxFileBytes;
using testsupport::modeOf;
using testsupport::readFile;
using testsupport::writeFile;

namespace {
const QString Vorlent = u"HKEY_CURRENT_USER\\Software\\Vorlent"_s;
const QString Machine = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent"_s;
const QString Root = u"HKEY_CURRENT_USER"_s;
const QByteArray Header = "Windows Registry Editor Version 5.00\r\n\r\n";
const QByteArray Key = "[HKEY_CURRENT_USER\\Software\\Vorlent]\r\n";

// "L1\L2\...\Ln"
QString levels(int depth)
{
    QStringList names;
    for (int i = 1; i <= depth; ++i) {
        names << u'L' + QString::number(i);
    }
    return names.join(u'\\');
}

QByteArray section(const QString& path)
{
    return "[HKEY_CURRENT_USER\\" + path.toUtf8() + "]\r\n";
}

// The key levels walked to create a key of a depth, write into it and read it back afresh.
quint64 workForDepth(int depth)
{
    const quint64 before = RegFile::levelsWalked();
    const QString path = levels(depth);
    RegFile keys(Root);
    keys.addKey(path);
    keys.setValue(path, u"DataServer"_s, u"ORVSQL01"_s);
    RegFile read(Root);
    read.parse(keys.toText(MaxFileBytes).value_or(QByteArray()), u"deep.reg"_s);
    const RegFile::Value* value = read.value(path, u"DataServer"_s);
    return value && value->data == u"ORVSQL01" ? RegFile::levelsWalked() - before : 0;
}

// A user file of size bytes: one value and a comment.
QByteArray padded(qint64 size)
{
    const QByteArray text = Header + Key + "\"Username\"=\"jsilva\"\r\n";
    return text + QByteArray(size - text.size() - 2, ';') + "\r\n";
}

QProcess* startTool(QObject* parent, const QStringList& args)
{
    auto* tool = new QProcess(parent);
    tool->start(QStringLiteral(ORV_REGTOOL), args);
    return tool;
}

int finish(QProcess* tool)
{
    return tool->waitForFinished(60000) && tool->exitStatus() == QProcess::NormalExit ? tool->exitCode() : -1;
}
} // namespace

class TestRegistryFile : public QObject
{
    Q_OBJECT

    std::optional<testsupport::TempRegistry> m_registry;
    std::optional<testsupport::RecordedReports> m_reports;

    QString userFile() const { return m_registry->file(u"HKEY_CURRENT_USER"_s); }
    QString machineFile() const { return m_registry->file(u"HKEY_LOCAL_MACHINE"_s); }

private Q_SLOTS:
    void initTestCase()
    {
#ifdef _WIN32
        QSKIP("Windows keeps its own registry");
#endif
    }

    void init()
    {
        m_registry.emplace();
        m_reports.emplace();
    }

    void cleanup()
    {
        QCOMPARE(m_reports->procedures(), QStringList());
    }

    // Two programs write at once; this one reads each value as the last writer left it.
    void valuesCrossProcesses()
    {
        const QString username = u"João \"Lançamento\" C:\\Orv"_s;
        QCOMPARE(finish(startTool(this, {u"set"_s, Vorlent, u"Username"_s, username})), 0);
        QCOMPARE(ObterValorString(Vorlent, u"Username"_s), username);

        const int count = 60;
        QProcess* first = startTool(this, {u"fill"_s, Vorlent, u"A"_s, QString::number(count)});
        QProcess* second = startTool(this, {u"fill"_s, Vorlent, u"B"_s, QString::number(count)});
        QCOMPARE(finish(first), 0);
        QCOMPARE(finish(second), 0);
        for (int i = 1; i <= count; ++i) {
            QCOMPARE(ObterValorString(Vorlent, u'A' + QString::number(i)), u'v' + QString::number(i));
            QCOMPARE(ObterValorString(Vorlent, u'B' + QString::number(i)), u'v' + QString::number(i));
        }
        QCOMPARE(QDir(m_registry->userDirectory()).entryList(QDir::Files), QStringList{u"HKEY_CURRENT_USER.reg"_s});
    }

    // A registry editor export reads, and a write leaves it as the editor exports, unread values kept.
    void exchangesWithTheRegistryEditor()
    {
        const QString exported = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Shared\\OUT]\r\n"
                                 "\"DataServer\"=\"Lisboa\"\r\n"
                                 "\"Port\"=dword:00000599\r\n"
                                 "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n\r\n"
                                 "; copied from the server\r\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Lisboa]\r\n"
                                 "\"dtUser\"=\"João\"\r\n"_s;
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QVERIFY(writeFile(machineFile(), utf16(exported)));
        const QString shared = Machine + u"\\Shared\\OUT"_s;
        QCOMPARE(ObterValorString(shared, u"Port"_s), std::nullopt);

        QVERIFY(DefinirValorString(shared, u"Path"_s, u"C:\\Orv \"main\""_s));
        QVERIFY(DefinirValorString(u"HKEY_LOCAL_MACHINE"_s, QString(), u"default"_s));
        QVERIFY(!DefinirValorString(shared, u"Note"_s, u"two\nlines"_s));
        QCOMPARE(readFile(machineFile()), Header + "[HKEY_LOCAL_MACHINE]\r\n@=\"default\"\r\n\r\n"
                                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
                                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent]\r\n\r\n"
                                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Lisboa]\r\n"
                                                   "\"dtUser\"=\"Jo\xC3\xA3o\"\r\n\r\n"
                                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Shared]\r\n\r\n"
                                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Shared\\OUT]\r\n"
                                                   "\"DataServer\"=\"Lisboa\"\r\n"
                                                   "\"Port\"=dword:00000599\r\n"
                                                   "\"Blob\"=hex:01,02,03,04\r\n"
                                                   "\"Path\"=\"C:\\\\Orv \\\"main\\\"\"\r\n\r\n");
    }

    // A file not read whole is reported with file and reason; nothing of it is read or written over, and a file
    // over 4 MiB is not even read.
    void corruptFileIsReportedAndKept_data()
    {
        QTest::addColumn<QByteArray>("corrupt");
        QTest::addColumn<QString>("reason");
        const QByteArray good = Header + Key + "\"Username\"=\"ok\"\r\n";
        QTest::newRow("NUL in a value") << good + QByteArray("\"DataServer\"=\"ORVSQL\0EVIL\"\r\n", 28)
                                        << u"line 5: a NUL character inside a value"_s;
        QTest::newRow("513 levels") << good + section(u"Software\\"_s + levels(RegFile::MaxDepth))
                                    << u"line 5: a key deeper than 512 levels"_s;
        QTest::newRow("a name of 256 characters") << good + section(QString(RegFile::MaxNameLength + 1, u'n'))
                                                  << u"line 5: a key name longer than 255 characters"_s;
        QTest::newRow("one byte over 4 MiB") << padded(MaxFileBytes + 1) << u"larger than 4194304 bytes"_s;
    }

    void corruptFileIsReportedAndKept()
    {
        QFETCH(QByteArray, corrupt);
        QFETCH(QString, reason);
        QVERIFY(CriarChave(Machine));
        QVERIFY(DefinirValorString(Machine, u"DataServer"_s, u"Lisboa"_s));
        QVERIFY(writeFile(userFile(), corrupt));
        const quint64 reads = fileReads();
        QCOMPARE(ObterValorString(Vorlent, u"Username"_s), std::nullopt);
        QVERIFY(!CriarChave(Vorlent + u"\\Other"_s));
        QVERIFY(!DefinirValorString(Vorlent, u"Remember"_s, u"0"_s));
        QVERIFY(corrupt.size() <= MaxFileBytes || fileReads() == reads);
        QCOMPARE(m_reports->procedures(), (QStringList{u"ValorString"_s, u"CriarChave"_s, u"DefinirValorString"_s}));
        const QString report = m_reports->reports().first().text;
        QVERIFY2(report.contains(userFile()) && report.contains(reason), qPrintable(report));
        m_reports->clear();
        QCOMPARE(readFile(userFile()), corrupt);

        QCOMPARE(ObterValorString(Machine, u"DataServer"_s), u"Lisboa"_s);
        QVERIFY(DefinirValorString(Machine, u"dtUser"_s, u"orv"_s));
    }

    // A file of 4 MiB reads (one byte more: corruptFileIsReportedAndKept); a write that would grow it past that is
    // refused.
    void fileSizeIsBounded()
    {
        QVERIFY(writeFile(userFile(), padded(MaxFileBytes)));
        QCOMPARE(ObterValorString(Vorlent, u"Username"_s), u"jsilva"_s);
        QVERIFY(DefinirValorString(Vorlent, u"Remember"_s, u"1"_s));
        QCOMPARE(ObterValorString(Vorlent, u"Remember"_s), u"1"_s); // the comment is gone: the file shrank
        // A write that would grow the file past the limit is refused and changes nothing.
        const QByteArray before = readFile(userFile());
        QVERIFY(!DefinirValorString(Vorlent, u"Note"_s, QString(MaxFileBytes, u'x')));
        QCOMPARE(m_reports->procedures(), QStringList{u"DefinirValorString"_s});
        m_reports->clear();
        QCOMPARE(readFile(userFile()), before);
        QCOMPARE(ObterValorString(Vorlent, u"Note"_s), std::nullopt);
    }

    // A file is read again only when it changed, and at every access while it changed moments ago.
    void fileIsReadAgainOnlyWhenChanged()
    {
        testsupport::MockClock clock(QDateTime::currentDateTime().addSecs(3600)); // every file looks settled
        QVERIFY(CriarChave(Vorlent));
        QVERIFY(DefinirValorString(Vorlent, u"Remember"_s, u"0"_s));
        const auto readsFor = [&](const QString& expected) {
            const quint64 before = fileReads();
            for (int i = 0; i < 3; ++i) {
                if (ObterValorString(Vorlent, u"Remember"_s) != expected) {
                    return quint64(1000);
                }
            }
            return fileReads() - before;
        };
        QCOMPARE(readsFor(u"0"_s), quint64(1));
        QCOMPARE(readsFor(u"0"_s), quint64(0));

        QCOMPARE(finish(startTool(this, {u"set"_s, Vorlent, u"Remember"_s, u"1"_s})), 0);
        QCOMPARE(readsFor(u"1"_s), quint64(1));

        const QByteArray text = readFile(userFile());
        QVERIFY(writeFile(userFile(), QByteArray(text).replace("\"1\"", "\"12\""))); // in place, longer
        QCOMPARE(readsFor(u"12"_s), quint64(1));

        QFile file(userFile());
        const QDateTime modified = QFileInfo(file).lastModified();
        QVERIFY(writeFile(userFile(), QByteArray(text).replace("\"1\"", "\"21\""))); // in place, as long, another time
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified.addSecs(-60), QFileDevice::FileModificationTime));
        QCOMPARE(readsFor(u"21"_s), quint64(1));

        clock.set(QDateTime::currentDateTime());
        QVERIFY(DefinirValorString(Vorlent, u"Remember"_s, u"3"_s));
        QVERIFY(readsFor(u"3"_s) >= 3);
    }

    // A writer dying mid-write leaves the old file whole; the next write cleans up; per-user files are private.
    void crashBeforeReplacingKeepsTheOldFile()
    {
        QVERIFY(CriarChave(Vorlent));
        QCOMPARE(modeOf(userFile()), 0600);
        QVERIFY(DefinirValorString(Vorlent, u"Password"_s, u"old"_s));
        const QByteArray before = readFile(userFile());

        QCOMPARE(finish(startTool(this, {u"crash"_s, Vorlent, u"Password"_s, u"new"_s})), 3);
        QCOMPARE(readFile(userFile()), before);
        QVERIFY(readFile(userFile() + u".new"_s).contains("\"new\""));
        QCOMPARE(ObterValorString(Vorlent, u"Password"_s), u"old"_s);

        QVERIFY(DefinirValorString(Vorlent, u"Password"_s, u"next"_s));
        QCOMPARE(ObterValorString(Vorlent, u"Password"_s), u"next"_s);
        QCOMPARE(modeOf(userFile()), 0600);
        QCOMPARE(QDir(m_registry->userDirectory()).entryList(QDir::Files), QStringList{u"HKEY_CURRENT_USER.reg"_s});
    }

    // Arbitrary bytes read as keys or are refused with the file's name; round trips are the fuzz target's.
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
        QTest::newRow("no header") << QByteArray("Username=jsilva\n") << false;
        QTest::newRow("value outside a key") << Header + "\"Username\"=\"jsilva\"\r\n" << false;
        QTest::newRow("unknown escape") << Header + Key + "\"Path\"=\"C:\\Orv\"\r\n" << false;
        QTest::newRow("key of another root") << Header + "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n" << false;
        QTest::newRow("deleted key") << Header + "[-HKEY_CURRENT_USER\\Software\\Vorlent]\r\n" << false;
        QTest::newRow("not UTF-8") << Header + Key + "\"Username\"=\"Jo\xE3o\"\r\n" << false;
        QTest::newRow("NUL in a value's name") << Header + Key + QByteArray("\"a\0b\"=\"x\"\r\n", 11) << false;
        QTest::newRow("NUL in a key name") << Header + QByteArray("[HKEY_CURRENT_USER\\a\0b]\r\n", 25) << false;
        QTest::newRow("unterminated value") << Header + Key + "\"Username\"=\"jsilva\r\n" << false;
        QTest::newRow("no = after the name") << Header + Key + "\"Username\" \"x\"\r\n" << false;
        QTest::newRow("escape at the end") << Header + Key + "\"a\"=\"x\\" << false;
        QTest::newRow("text after the value") << Header + Key + "\"a\"=\"x\"y\r\n" << false;
        QTest::newRow("unterminated key") << Header + "[HKEY_CURRENT_USER\\Software\r\n" << false;
        QTest::newRow("empty key name") << Header + "[HKEY_CURRENT_USER\\a\\\\b]\r\n" << false;
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
        QTest::newRow("a name of 255 characters") << Header + section(QString(RegFile::MaxNameLength, u'n')) << true;
        QTest::newRow("100000 levels in one line") << Header + section(levels(100000)) << false;
    }

    void hostileTextIsReadOrRefused()
    {
        QFETCH(QByteArray, bytes);
        RegFile keys(Root);
        const core::ErrorValue error = testsupport::thrown([&] { keys.parse(bytes, u"hostile.reg"_s); });
        QTEST(error.number == 0, "readable");
        QVERIFY2(error.number == 0 ||
                     (error.number == registry::errc::BadDatabase && error.description.contains(u"hostile.reg"_s)),
                 qPrintable(error.description));
    }

    // Adding and finding keys walks each level once: twice the depth is about four times the work.
    void deepKeysCostWorkInProportionToTheText()
    {
        const quint64 shallow = workForDepth(10), deep = workForDepth(20);
        QVERIFY(shallow > 0 && deep > 0);
        QVERIFY2(deep <= 5 * shallow, qPrintable(u"%1 levels walked at depth 10, %2 at 20"_s.arg(shallow).arg(deep)));
    }

    // A key 30 levels deep works; key paths beyond the registry's limits are refused quietly.
    void deepKeysThroughTheModule()
    {
        const QString path = Vorlent + u'\\' + levels(28);
        QVERIFY(CriarChave(path));
        QVERIFY(DefinirValorString(path, u"DataServer"_s, u"ORVSQL01"_s));
        QCOMPARE(ObterValorString(path, u"DataServer"_s), u"ORVSQL01"_s);
        QVERIFY(CriarChave(Root + u'\\' + levels(RegFile::MaxDepth)));
        QVERIFY(!CriarChave(Root + u'\\' + levels(RegFile::MaxDepth + 1)));
        QVERIFY(!CriarChave(Root + u'\\' + QString(RegFile::MaxNameLength + 1, u'n')));
    }
};

QTEST_GUILESS_MAIN(TestRegistryFile)
#include "test_registryfile.moc"
