// The registry as kept in files where there is no Windows registry.
#include "registry/modregistry.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTest>

#include <optional>
#include <sys/stat.h>

using namespace registry::modRegistry;
using namespace Qt::StringLiterals;

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
