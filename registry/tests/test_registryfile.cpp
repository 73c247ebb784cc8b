// The registry as kept in files where there is no Windows registry.
#include "registry/filestore.h"
#include "registry/modregistry.h"
#include "testsupport/mockclock.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTest>

#include <optional>
#include <sys/stat.h>

using namespace registry::modRegistry;
using namespace Qt::StringLiterals;
using registry::filestore::fileReads;
using registry::filestore::MaxFileBytes;

namespace {
const QString Vorlent = u"HKEY_CURRENT_USER\\Software\\Vorlent"_s;
const QString Machine = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent"_s;
const QByteArray Header = "Windows Registry Editor Version 5.00\r\n\r\n";

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

int mode(const QString& path)
{
    struct stat info {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

// Starts the registry tool of the tests as a second process.
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

    // The key and a first value come from one program, then two programs write at once; this one reads
    // each value as the last writer left it, although it had read the file before they wrote.
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

    // An export of the Windows registry editor reads (UTF-16 with its byte order mark, a comment, a number and
    // binary data over two lines), and a write leaves the file as the editor exports, the values it cannot read
    // kept as they were.
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
        write(machineFile(), utf16(exported));
        const QString shared = Machine + u"\\Shared\\OUT"_s;
        QCOMPARE(ObterValorString(shared, u"DataServer"_s), u"Lisboa"_s);
        QCOMPARE(ObterValorString(Machine + u"\\Lisboa"_s, u"dtUser"_s), u"João"_s);
        QCOMPARE(ObterValorString(shared, u"Port"_s), std::nullopt);

        QVERIFY(DefinirValorString(shared, u"Path"_s, u"C:\\Orv \"main\""_s));
        QVERIFY(DefinirValorString(u"HKEY_LOCAL_MACHINE"_s, QString(), u"default"_s));
        QVERIFY(!DefinirValorString(shared, u"Note"_s, u"two\nlines"_s));
        QCOMPARE(contents(machineFile()), Header + "[HKEY_LOCAL_MACHINE]\r\n@=\"default\"\r\n\r\n"
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

    void corruptFileIsReportedAndKept_data()
    {
        QTest::addColumn<QByteArray>("corrupt");
        const QByteArray key = "[HKEY_CURRENT_USER\\Software\\Vorlent]\r\n";
        QTest::newRow("no header") << QByteArray("Username=jsilva\n");
        QTest::newRow("value outside a key") << Header + "\"Username\"=\"jsilva\"\r\n";
        QTest::newRow("unknown escape") << Header + key + "\"Path\"=\"C:\\Orv\"\r\n";
        QTest::newRow("missing quote") << Header + key + "\"Username\"=\"jsilva\r\n";
        QTest::newRow("key of another root") << Header + "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n";
        QTest::newRow("deleted key") << Header + "[-HKEY_CURRENT_USER\\Software\\Vorlent]\r\n";
        QTest::newRow("not UTF-8") << Header + key + "\"Username\"=\"Jo\xE3o\"\r\n";
    }

    void corruptFileIsReportedAndKept()
    {
        QFETCH(QByteArray, corrupt);
        QVERIFY(CriarChave(Machine));
        QVERIFY(DefinirValorString(Machine, u"DataServer"_s, u"Lisboa"_s));
        write(userFile(), corrupt);

        QCOMPARE(ObterValorString(Vorlent, u"Username"_s), std::nullopt);
        QVERIFY(!CriarChave(Vorlent + u"\\Other"_s));
        QVERIFY(!DefinirValorString(Vorlent, u"Remember"_s, u"0"_s));
        QCOMPARE(m_reports->procedures(), (QStringList{u"ValorString"_s, u"CriarChave"_s, u"DefinirValorString"_s}));
        QVERIFY(m_reports->reports().first().text.contains(userFile())); // tells which file to mend
        m_reports->clear();
        QCOMPARE(contents(userFile()), corrupt);

        QCOMPARE(ObterValorString(Machine, u"DataServer"_s), u"Lisboa"_s);
        QVERIFY(DefinirValorString(Machine, u"dtUser"_s, u"orv"_s));
    }

    // A file up to 4 MiB reads; a larger one is reported without being read, and neither written over nor grown.
    void fileSizeIsBounded_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("readable");
        QTest::newRow("4 MiB") << MaxFileBytes << true;
        QTest::newRow("4 MiB and a byte") << MaxFileBytes + 1 << false;
    }

    void fileSizeIsBounded()
    {
        QFETCH(qint64, size);
        QFETCH(bool, readable);
        QByteArray text = Header + "[HKEY_CURRENT_USER\\Software\\Vorlent]\r\n\"Username\"=\"jsilva\"\r\n";
        text += QByteArray(size - text.size() - 2, ';') + "\r\n"; // a comment
        write(userFile(), text);
        const quint64 reads = fileReads();

        QCOMPARE(ObterValorString(Vorlent, u"Username"_s), readable ? std::optional(u"jsilva"_s) : std::nullopt);
        QCOMPARE(DefinirValorString(Vorlent, u"Remember"_s, u"1"_s), readable);
        if (readable) {
            QCOMPARE(ObterValorString(Vorlent, u"Remember"_s), u"1"_s); // the comment is gone: the file shrank
        } else {
            QCOMPARE(fileReads(), reads);
            QCOMPARE(m_reports->procedures(), (QStringList{u"ValorString"_s, u"DefinirValorString"_s}));
            QVERIFY(m_reports->reports().first().text.contains(userFile()));
            m_reports->clear();
            QCOMPARE(contents(userFile()), text);
        }
    }

    void writeThatWouldGrowPastTheLimitIsRefused()
    {
        QVERIFY(CriarChave(Vorlent));
        QVERIFY(DefinirValorString(Vorlent, u"Username"_s, u"jsilva"_s));
        const QByteArray before = contents(userFile());
        QVERIFY(!DefinirValorString(Vorlent, u"Note"_s, QString(MaxFileBytes, u'x')));
        QCOMPARE(m_reports->procedures(), QStringList{u"DefinirValorString"_s});
        m_reports->clear();
        QCOMPARE(contents(userFile()), before);
        QCOMPARE(ObterValorString(Vorlent, u"Username"_s), u"jsilva"_s);
    }

    // A file is read again only when it changed: another program replaced it, or it was rewritten in place with
    // another length or modification time. A file changed in the last moments is read at every access, as a change
    // within the same timestamp tick would not show.
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

        const QByteArray text = contents(userFile());
        write(userFile(), QByteArray(text).replace("\"1\"", "\"12\"")); // in place, longer
        QCOMPARE(readsFor(u"12"_s), quint64(1));

        QFile file(userFile());
        const QDateTime modified = QFileInfo(file).lastModified();
        write(userFile(), QByteArray(text).replace("\"1\"", "\"21\"")); // in place, as long, another time
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified.addSecs(-60), QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(readsFor(u"21"_s), quint64(1));

        clock.set(QDateTime::currentDateTime());
        QVERIFY(DefinirValorString(Vorlent, u"Remember"_s, u"3"_s));
        QVERIFY(readsFor(u"3"_s) >= 3);
    }

    // A writer that dies after writing the new file and before it takes the old one's place leaves the old file
    // whole; the next write succeeds at once and the leftovers of the dead writer go away.
    void crashBeforeReplacingKeepsTheOldFile()
    {
        QVERIFY(CriarChave(Vorlent));
        QVERIFY(DefinirValorString(Vorlent, u"Password"_s, u"old"_s));
        const QByteArray before = contents(userFile());

        QCOMPARE(finish(startTool(this, {u"crash"_s, Vorlent, u"Password"_s, u"new"_s})), 3);
        QCOMPARE(contents(userFile()), before);
        QVERIFY(contents(userFile() + u".new"_s).contains("\"new\""));
        QCOMPARE(ObterValorString(Vorlent, u"Password"_s), u"old"_s);

        QVERIFY(DefinirValorString(Vorlent, u"Password"_s, u"next"_s));
        QCOMPARE(ObterValorString(Vorlent, u"Password"_s), u"next"_s);
        QCOMPARE(QDir(m_registry->userDirectory()).entryList(QDir::Files), QStringList{u"HKEY_CURRENT_USER.reg"_s});
    }

    void perUserFileIsPrivate()
    {
        QVERIFY(CriarChave(Vorlent));
        QCOMPARE(mode(userFile()), 0600);
        QVERIFY(DefinirValorString(Vorlent, u"Password"_s, u"x"_s)); // a rewrite keeps it private
        QCOMPARE(mode(userFile()), 0600);
        QVERIFY(CriarChave(Machine));
        QCOMPARE(mode(machineFile()), 0644);
    }
};

QTEST_GUILESS_MAIN(TestRegistryFile)
#include "test_registryfile.moc"
