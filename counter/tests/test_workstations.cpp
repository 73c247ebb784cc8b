// Several workstations (processes) count time on one office database at once: every entry a workstation
// closed is there once with its minutes, every entry it dropped is gone, and none is left running.
#include "data/engines/embedded.h"
#include "data/engines/odbcconnection.h"
#include "testsupport/login.h"
#include "testsupport/windowfixture.h"

#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>

using testsupport::OfficeFixture;

namespace {

constexpr int Workstations = 4;
constexpr int Rounds = 12;
constexpr int TasksEach = 3;

const QString WorkerVariable = QStringLiteral("ORV_TEST_WORKSTATION");

int lawyerOf(int workstation)
{
    return 100 + workstation;
}

int taskOf(int workstation, int index)
{
    return 5000 + workstation * 10 + index;
}

// A workstation's process: its own clocks, message boxes and reports, the shared connection opened on the office
// the test names, and the counter window of the lawyer.
struct Workstation {
    testsupport::MockClock clock;
    testsupport::ScriptedMessageBoxes boxes;
    testsupport::RecordedReports reports;
    std::unique_ptr<counter::frmCounter> window;

    explicit Workstation(int lawyer)
    {
        data::embedded::setServerClock([this] { return clock.now(); });
        if (!qEnvironmentVariable("ORV_TEST_WORKSTATION_ENGINE").isEmpty()) {
            data::Connection::setEngine(data::Connection::Engine::PostgreSQL);
            data::OdbcConnection::setTransportSecurity({false, false});
        }
        data::Data::SqlServer().open(qEnvironmentVariable("ORV_TEST_WORKSTATION_TEXT"));
        testsupport::signIn(QStringLiteral("ana"), lawyer, QStringLiteral("segredo"));
        counter::TrayIcon::setAvailabilityProbe([] { return true; });
        window = std::make_unique<counter::frmCounter>();
        window->Form_Load();
        window->show();
    }

    counter::ListView& list() { return *window->findChild<counter::ListView*>(QStringLiteral("ListView1")); }
    int row(int task) { return list().findKey(QStringLiteral("#%1").arg(task)); }
};

// One workstation: the counter window of its own lawyer on the shared office, ticking and unticking its tasks in
// turn. A third of the counts are too short and dropped. Prints "closed <entry> <minutes>" or "dropped <entry>"
// for every count it ended; exits 0 when nothing was left running.
int runWorkstation(Workstation& station, int workstation, QTextStream& out)
{
    auto& list = station.list();
    for (int round = 0; round < Rounds; ++round) {
        const int task = taskOf(workstation, round % TasksEach);
        list.userToggle(station.row(task));
        const QString entry = list.cellText(station.row(task), 9).trimmed();
        const bool dropped = round % 3 == 2;
        station.clock.advanceSeconds(dropped ? 40 : 200);
        list.userToggle(station.row(task));
        if (!entry.isEmpty() && !list.checked(station.row(task))) {
            out << (dropped ? QStringLiteral("dropped %1\n").arg(entry) : QStringLiteral("closed %1 3\n").arg(entry));
        }
        station.clock.advanceSeconds(30);
    }
    bool running = false;
    for (int index = 0; index < TasksEach; ++index) {
        running = running || list.checked(station.row(taskOf(workstation, index)));
    }
    return running ? 1 : 0;
}

// One of two workstations of lawyer 100 with a single count: ticks its tasks in turn, each tick ending the count
// before it, whichever workstation started that one. After every tick it reads how many entries of the lawyer run
// and prints "running N" when more than one does; at the end it unticks what its list shows counting.
int runSameLawyer(Workstation& station, int workstation, QTextStream& out)
{
    auto& list = station.list();
    data::Connection reader;
    reader.open(qEnvironmentVariable("ORV_TEST_WORKSTATION_TEXT"));
    const QString runningCount = QStringLiteral("SELECT COUNT(*) AS n FROM tbProcessos_Trabalhos_Tarefas_Lancamentos "
                                                "WHERE inprogress <> 0 AND advogado_id = %1")
                                     .arg(lawyerOf(0));
    for (int round = 0; round < Rounds * 2; ++round) {
        const int task = taskOf(workstation, round % TasksEach);
        if (!list.checked(station.row(task))) {
            list.userToggle(station.row(task));
        }
        const int running = reader.openRecordset(runningCount)->value(QStringLiteral("n")).toInt();
        if (running > 1) {
            out << "running " << running << "\n";
        }
        station.clock.advanceSeconds(100);
    }
    for (int index = 0; index < TasksEach; ++index) {
        if (list.checked(station.row(taskOf(workstation, index)))) {
            list.userToggle(station.row(taskOf(workstation, index)));
        }
    }
    return 0;
}

// A lawyer with a work item of their own holding the tasks of the given workstations.
void addLawyer(OfficeFixture& office, int lawyer, const QList<int>& workstations)
{
    auto& db = office.database();
    db.exec(QStringLiteral("INSERT INTO tbContactos (contacto_id, nome_union) VALUES (%1, 'Advogado %1')").arg(lawyer));
    db.exec(QStringLiteral("INSERT INTO tbAdvogados (contacto_id, sigla, preco, activo) VALUES (%1, 'A%1', 50, 1)")
                .arg(lawyer));
    office.addWork(lawyer * 10, OfficeFixture::Case, lawyer, QStringLiteral("Trabalho %1").arg(lawyer));
    for (int w : workstations) {
        for (int index = 0; index < TasksEach; ++index) {
            office.addTask(taskOf(w, index), lawyer * 10, QStringLiteral("Tarefa %1 %2").arg(w).arg(index));
        }
    }
}

// Starts this program as workstations 0 to count - 1 on the office, with the variable named also set when one is.
QList<QProcess*> startWorkstations(QObject* parent, testsupport::TempDatabase& db, int count,
                                   const char* also = nullptr)
{
    QList<QProcess*> processes;
    for (int w = 0; w < count; ++w) {
        auto* process = new QProcess(parent);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(WorkerVariable, QString::number(w));
        if (also) {
            environment.insert(QLatin1String(also), QStringLiteral("1"));
        }
        environment.insert(QStringLiteral("ORV_TEST_WORKSTATION_TEXT"), db.connectionText());
        environment.insert(QStringLiteral("ORV_TEST_WORKSTATION_ENGINE"), db.engineSetting());
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(), {});
        processes << process;
    }
    return processes;
}

} // namespace

class TestWorkstations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countingAtOnceLosesNothing()
    {
        OfficeFixture office;
        auto& db = office.database();
        for (int w = 0; w < Workstations; ++w) {
            addLawyer(office, lawyerOf(w), {w});
        }
        const QList<QProcess*> processes = startWorkstations(this, db, Workstations);
        QMap<qint64, int> closed;
        QSet<qint64> dropped;
        for (QProcess* process : processes) {
            QVERIFY(process->waitForFinished(120000));
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            const QStringList lines =
                QString::fromUtf8(process->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
            QVERIFY2(process->exitCode() == 0, qPrintable(lines.join(u'\n')));
            for (const QString& line : lines) {
                const QStringList words = line.split(u' ');
                QVERIFY2(words.first() != QLatin1String("report"), qPrintable(line));
                const qint64 entry = words.value(1).toLongLong();
                QVERIFY2(!closed.contains(entry) && !dropped.contains(entry), qPrintable(line));
                if (words.first() == QLatin1String("closed")) {
                    closed.insert(entry, words.value(2).toInt());
                } else {
                    dropped.insert(entry);
                }
            }
        }
        // Every round ended its count: two closed and one dropped in each three.
        QCOMPARE(closed.size(), Workstations * Rounds * 2 / 3);
        QCOMPARE(dropped.size(), Workstations * Rounds / 3);

        const QList<QVariantList> rows =
            db.select(QStringLiteral("SELECT lancamento_id, unidades, inprogress, advogado_id, tarefa_id FROM "
                                     "tbProcessos_Trabalhos_Tarefas_Lancamentos ORDER BY lancamento_id"));
        QMap<qint64, int> kept;
        for (const QVariantList& row : rows) {
            kept.insert(row.at(0).toLongLong(), row.at(1).toInt());
            QCOMPARE(row.at(2).toInt(), 0);
            // Each entry is its own workstation's: the lawyer of the task it was counted on.
            QCOMPARE(row.at(3).toInt(), lawyerOf((row.at(4).toInt() - 5000) / 10));
        }
        QCOMPARE(kept, closed);
    }

    // Two workstations of one lawyer, each with a single count, tick at once: never do two entries of the lawyer run.
    void oneLawyerOnTwoWorkstationsCountsOnce()
    {
        OfficeFixture office;
        addLawyer(office, lawyerOf(0), {0, 1});
        const QList<QProcess*> processes = startWorkstations(this, office.database(), 2, "ORV_TEST_SAME_LAWYER");
        for (QProcess* process : processes) {
            QVERIFY(process->waitForFinished(120000));
            const QString output = QString::fromUtf8(process->readAllStandardOutput()).trimmed();
            QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0, qPrintable(output));
            QVERIFY2(output.isEmpty(), qPrintable(output));
        }
        QCOMPARE(office.runningCount(), 0);
        QVERIFY(office.entryCount() > 0);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(qPrintable(WorkerVariable))) {
        try {
            const int workstation = qEnvironmentVariableIntValue(qPrintable(WorkerVariable));
            const bool sameLawyer = qEnvironmentVariableIsSet("ORV_TEST_SAME_LAWYER");
            Workstation station(lawyerOf(sameLawyer ? 0 : workstation));
            QTextStream out(stdout);
            const int exitCode =
                sameLawyer ? runSameLawyer(station, workstation, out) : runWorkstation(station, workstation, out);
            // "report <procedure>: <text>" for every error reported.
            for (const auto& report : station.reports.reports()) {
                out << "report " << report.procedure << ": " << report.text.simplified() << "\n";
            }
            station.window->close();
            return exitCode;
        } catch (const std::exception& error) {
            QTextStream(stdout) << "report start: " << error.what() << "\n";
            return 2;
        }
    }
    TestWorkstations test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_workstations.moc"
