#include "adminrun.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/office/filepermissions.h"
#include "scramble/modencriptserial.h"
#include "testsupport/files.h"
#include "testsupport/tempregistry.h"
#include "testsupport/thrown.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Runs part of a test as a user owning none of its files: "nobody" under root, else itself without write bits.
struct Unprivileged {
    const bool root = geteuid() == 0;
    Unprivileged()
    {
        if (root) {
            QVERIFY(setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0);
        }
    }
    ~Unprivileged()
    {
        if (root) {
            [[maybe_unused]] const int back = setresuid(0, 0, 0) + setresgid(0, 0, 0);
        }
    }
};

void setMode(const QString& path, mode_t mode)
{
    QVERIFY(chmod(QFile::encodeName(path).constData(), mode) == 0);
}

void touch(const QString& path, mode_t mode)
{
    QVERIFY(testsupport::writeFile(path, QByteArray()));
    setMode(path, mode);
}

// The umask, what the folder holds before (empty: there is no folder), and the answer; the group is the user's own
// unless named.
struct Created {
    mode_t umask;
    QString existing{};
    int code = 0;
    QString said{}, named{};
};

} // namespace

using testsupport::modeOf;

// An office file is shared through a group; one the user cannot write is named by file, folder and user.
class TestSharedOffice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // The office's group: under root one not its own ("nogroup", where the system has it), so that a group never
    // given shows; else the user's own.
    const QString m_group = geteuid() == 0 && getgrnam("nogroup") ? u"nogroup"_s : QFileInfo(m_dir.path()).group();

private Q_SLOTS:
    void initTestCase()
    {
        scramble::modEncriptSerial::VolumeSerial = u"-1234567890"_s;
        setMode(m_dir.path(), 0755); // "nobody" must reach into it
    }

    // A new, empty or group's folder becomes the group's whatever the umask; anything else is refused untouched.
    void createdOfficeBelongsToTheGroup_data()
    {
        QTest::addColumn<Created>("row");
        const auto row = [](const char* name, const Created& created) { QTest::newRow(name) << created; };
        row("umask 077, nothing for others", {077});
        row("umask 000, everything for all", {000});
        row("empty folder, adopted", {022, "empty"});
        row("folder with other files", {022, "other files", 1, "já tem outros ficheiros"});
        row("folder already the group's", {022, "shared"});
        row("no such group", {022, "empty", 1, "groupadd orv-no-such-group", "orv-no-such-group"});
    }

    void createdOfficeBelongsToTheGroup()
    {
        QFETCH(Created, row);
        const auto [umask, existing, code, said, named] = row;
        const QString group = named.isEmpty() ? m_group : named;
        const QString folder = m_dir.filePath(u"srv/"_s + QString::fromUtf8(QTest::currentDataTag()));
        if (!existing.isEmpty()) {
            QVERIFY(QDir().mkpath(folder));
            setMode(folder, 0755);
        }
        if (existing == QLatin1String("other files") || existing == QLatin1String("shared")) {
            touch(folder + u"/notas.txt"_s, 0644);
        }
        if (existing == QLatin1String("shared")) {
            QVERIFY(chown(QFile::encodeName(folder).constData(), uid_t(-1), getgrnam(qPrintable(group))->gr_gid) == 0);
            setMode(folder, S_ISGID | 0775);
        }
        const QString file = folder + u"/escritorio.db"_s;
        testsupport::TempRegistry registry;
        AdminRun orvadmin;
        const mode_t before = ::umask(umask);
        const int answer = orvadmin({"office", "create", file, "--group", group, "--password-stdin"}, {"shared-pw"});
        ::umask(before);
        QCOMPARE(answer, code);
        QVERIFY2(orvadmin.err.contains(said), qPrintable(orvadmin.err));
        if (code != 0) {
            QVERIFY(!QFile::exists(file));
            QCOMPARE(modeOf(folder), existing == QLatin1String("shared") ? int(S_ISGID | 0775) : 0755);
            return;
        }
        QCOMPARE(modeOf(folder), int(S_ISGID | 0775));
        QCOMPARE(modeOf(file), 0664);
        QCOMPARE(QFileInfo(folder).group(), group);
        QCOMPARE(QFileInfo(file).group(), group);
        QVERIFY(!QFile::exists(file + u"-wal"_s) || modeOf(file + u"-wal"_s) == 0664);
    }

    void writeProblemNamesWhatIsMissing_data()
    {
        QTest::addColumn<mode_t>("folderMode");
        QTest::addColumn<int>("besideMode"); // the -wal file beside it; -1 for none
        QTest::addColumn<QString>("said");   // a pattern; empty: nothing missing
        QTest::newRow("everything writable") << mode_t(0777) << -1 << "";
        // A read-only file is named by the login and the check below.
        QTest::newRow("folder closed") << mode_t(0555) << -1 << "não pode escrever na pasta .*, modo 0555";
        QTest::newRow("journal beside it read-only")
            << mode_t(0777) << 0444 << "não pode escrever no ficheiro que o motor escreve ao lado .*, modo 0444";
        QTest::newRow("journal beside it writable") << mode_t(0777) << 0666 << "";
    }

    void writeProblemNamesWhatIsMissing()
    {
        QFETCH(mode_t, folderMode);
        QFETCH(int, besideMode);
        QFETCH(QString, said);
        const QString folder = m_dir.filePath(u"perm-%1"_s.arg(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + u"/office.db"_s;
        touch(file, 0666);
        if (besideMode >= 0) {
            touch(file + u"-wal"_s, mode_t(besideMode));
        }
        setMode(folder, folderMode);
        QString problem;
        {
            Unprivileged other;
            problem = data::writeProblem(file);
        }
        setMode(folder, 0755);
        QCOMPARE(problem.isEmpty(), said.isEmpty());
        QVERIFY2(problem.contains(QRegularExpression(said)), qPrintable(problem));
        QVERIFY(data::writeProblem(file + u".absent"_s).isEmpty());
    }

    // The login and orvadmin check both meet a file this user cannot write, and say so instead of "not a database".
    void loginAndCheckNameThePermission()
    {
        testsupport::TempRegistry registry;
        const QString folder = m_dir.filePath(u"readonly-office"_s);
        const QString file = folder + u"/escritorio.db"_s;
        AdminRun orvadmin;
        QVERIFY(orvadmin({"office", "create", file, "--group", m_group, "--server", "LOCAL", "--password-stdin"},
                         {"shared-pw"}) == 0);
        QCOMPARE(orvadmin({"login", "add", "ana", "--password-stdin"}, {"pw-ana"}), 0);
        setMode(file, 0444);
        for (const QString& dir : {registry.machineDirectory(), QFileInfo(registry.machineDirectory()).path()}) {
            setMode(dir, 0755);
        }
        for (const QFileInfo& entry : QDir(registry.machineDirectory()).entryInfoList(QDir::Files)) {
            setMode(entry.filePath(), 0644);
        }

        const QString login = data::ConnectionText::forLogin(u"False"_s, u"ana"_s, u"pw-ana"_s, QString(), file);
        QString loginError;
        int checkCode = 0;
        {
            Unprivileged other;
            loginError = testsupport::thrown([&] { data::Connection().open(login); }).description;
            checkCode = orvadmin({"check", "--user", "ana", "--password-stdin"}, {"pw-ana"});
        }
        QVERIFY2(loginError.contains(u"não pode escrever no ficheiro da base de dados"_s), qPrintable(loginError));
        QVERIFY2(loginError.contains(file), qPrintable(loginError));
        QCOMPARE(checkCode, 12);
        QVERIFY2(orvadmin.out.contains(u"2. Ficheiro da base de dados"_s) &&
                     orvadmin.out.contains(u"não pode escrever"_s),
                 qPrintable(orvadmin.out));
    }
};

QTEST_GUILESS_MAIN(TestSharedOffice)
#include "test_sharedoffice.moc"
