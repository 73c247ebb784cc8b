#include "core/errorreport.h"
#include "core/errorreporting.h"
#include "core/fallbackerrorreporting.h"
#include "testsupport/files.h"
#include "testsupport/recordedreports.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using namespace core;

namespace {

ReportLabels labels(Rule rule = Rule::A, TextForm form = TextForm::Description)
{
    return {u"Orv Software"_s, u"Orv_Counter"_s, u"frmCounter"_s, u"Timer1_Timer"_s, rule, form};
}

} // namespace

class TestErrorReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Whether an error is reported, and the text the component gets with the handler's four labels.
    void rules_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text"); // null: not reported

        const int A = int(Rule::A), B = int(Rule::B), C = int(Rule::C), plain = int(TextForm::Description);
        const QString timeout = u"Timeout expired"_s, blank = u"   "_s;
        QTest::newRow("A: zero") << A << plain << 0 << timeout << QString();
        QTest::newRow("A: 3709") << A << plain << 3709 << timeout << timeout;
        QTest::newRow("A: blank description") << A << plain << 91 << blank << blank;
        QTest::newRow("B: 3709") << B << plain << 3709 << timeout << QString();
        QTest::newRow("B: blank description") << B << plain << 91 << blank << blank;
        QTest::newRow("C: 3709") << C << plain << 3709 << timeout << QString();
        QTest::newRow("C: blank description") << C << plain << 91 << blank << QString();
        QTest::newRow("C: described") << C << plain << 91 << timeout << timeout;
        QTest::newRow("number form") << C << int(TextForm::Number) << 9 << u"Subscript out of range"_s
                                     << u"Error Number = 9 | Description = Subscript out of range"_s;
    }

    void rules()
    {
        QFETCH(int, rule);
        QFETCH(int, form);
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, text);

        testsupport::RecordedReports recorded;
        reportError(labels(Rule(rule), TextForm(form)), {number, description});
        QCOMPARE(recorded.reports().size(), text.isNull() ? 0 : 1);
        if (!text.isNull()) {
            const testsupport::Report& r = recorded.reports().first();
            QCOMPARE(QStringList({r.application, r.project, r.owner, r.procedure, r.text}),
                     QStringList({"Orv Software", "Orv_Counter", "frmCounter", "Timer1_Timer", text}));
        }
    }

    // Neither a component that throws, nor one that cannot be created, lets the failure out.
    void failingComponentNeverEscapes()
    {
        testsupport::RecordedReports recorded;
        recorded.setFailing(true);
        QVERIFY(!trap(labels(), [] { throw std::runtime_error("boom"); }));
        core::setErrorReportingFactory([] { return std::unique_ptr<ErrorReporting>(); });
        reportError(labels(), {5, u"no component"_s});
        core::setErrorReportingFactory({});
    }

    // The office's component takes what it can; the log takes the rest, saying why at the first failure only.
    void fallbackToTheLogSaysWhyOnce()
    {
        QTemporaryDir dir;
        qputenv("ORV_STATE_DIR", dir.path().toUtf8());
        std::atomic_bool notice{false};
        testsupport::RecordedReports received;
        int attempt = 0;
        const ErrorReportingFactory component = [&attempt]() -> std::unique_ptr<ErrorReporting> {
            switch (++attempt) {
            case 1:
                throw Error(errc::CannotCreateObject, u"ErrorReporting.General is not registered"_s);
            case 2:
                return nullptr;
            case 3:
                return createErrorReporting(); // the recording one
            default:
                throw std::runtime_error("Report failed");
            }
        };
        const auto report = [&](const QString& text) {
            FallbackErrorReporting(u"ErrorReporting.General"_s, component, notice)
                .Report(u"Orv Counter"_s, u"orvcounter"_s, u"frmCounter"_s, u"Startup"_s, text);
        };
        report(u"primeiro"_s);
        report(u"segundo"_s);
        report(u"recebido"_s);
        report(u"quarto"_s);
        qunsetenv("ORV_STATE_DIR");

        QCOMPARE(received.reports().size(), 1);
        QCOMPARE(received.reports().first().text, u"recebido"_s);
        const QList<QJsonObject> lines = testsupport::errorLog(dir.path());
        QCOMPARE(lines.value(0).value(u"component"_s).toString(), u"ErrorReporting.General"_s);
        QCOMPARE(lines.value(0).value(u"unused"_s).toString(),
                 u"ErrorReporting.General is not registered (error 429)"_s);
        QStringList logged;
        for (const QJsonObject& entry : lines.mid(1)) {
            QVERIFY(!entry.contains(u"unused"_s));
            QCOMPARE(entry.value(u"owner"_s).toString(), u"frmCounter"_s);
            logged << entry.value(u"error"_s).toString();
        }
        QCOMPARE(logged, QStringList({"primeiro", "segundo", "quarto"}));
    }

    // The default component appends JSON lines to a log only its owner can read, whatever the umask.
    void defaultComponentAppendsJsonLines_data()
    {
        QTest::addColumn<bool>("logExisted");
        QTest::newRow("new folder and log") << false;
        QTest::newRow("an open log left before") << true;
    }
    void defaultComponentAppendsJsonLines()
    {
        QFETCH(bool, logExisted);
        QTemporaryDir dir;
        const QString state = dir.path() + u"/state"_s;
        QFile log(state + u"/errors.log"_s);
        const mode_t before = ::umask(0);
        if (logExisted) {
            QVERIFY(QDir().mkpath(state) && testsupport::writeFile(log.fileName(), {}));
            QVERIFY(log.setPermissions(QFileDevice::Permissions(0x6666)));
        }
        qputenv("ORV_STATE_DIR", state.toUtf8());
        reportError(labels(), {-2147467259, u"Lançamento não gravado"_s});
        reportError(labels(), {7, u"Out of memory"_s});
        qunsetenv("ORV_STATE_DIR");
        ::umask(before);
        QList<QJsonObject> lines = testsupport::errorLog(state);
        QCOMPARE(testsupport::readFile(log.fileName()).count('\n'), lines.size()); // an entry a line, each ended
#ifdef Q_OS_WIN
        // Where the office's component is not registered, the process's first report says so first.
        if (!lines.isEmpty() && lines.first().contains(u"unused"_s)) {
            lines.removeFirst();
        }
#endif
        QCOMPARE(lines.size(), 2);
        const QJsonObject& first = lines.at(0);
        QCOMPARE(first.value(u"procedure"_s).toString(), u"Timer1_Timer"_s);
        QCOMPARE(first.value(u"error"_s).toString(), u"Lançamento não gravado"_s);
        QVERIFY(!first.value(u"time"_s).toString().isEmpty());
#ifndef Q_OS_WIN
        QCOMPARE(testsupport::modeOf(state), 0700);
        QCOMPARE(testsupport::modeOf(log.fileName()), 0600);
#endif
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_errorreport.moc"
