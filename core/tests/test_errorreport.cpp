#include "core/errorreport.h"
#include "core/errorreporting.h"
#include "testsupport/recordedreports.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace core;

class TestErrorReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("reported");

        const QString text = QStringLiteral("Timeout expired");
        const QString blank = QStringLiteral("   ");
        // rule, number, description, reported
        QTest::newRow("A: zero") << int(Rule::A) << 0 << text << false;
        QTest::newRow("A: 3709") << int(Rule::A) << 3709 << text << true;
        QTest::newRow("A: blank description") << int(Rule::A) << 91 << blank << true;
        QTest::newRow("B: zero") << int(Rule::B) << 0 << text << false;
        QTest::newRow("B: 3709") << int(Rule::B) << 3709 << text << false;
        QTest::newRow("B: blank description") << int(Rule::B) << 91 << blank << true;
        QTest::newRow("B: negative provider number") << int(Rule::B) << errc::ProviderError << text << true;
        QTest::newRow("C: zero") << int(Rule::C) << 0 << text << false;
        QTest::newRow("C: 3709") << int(Rule::C) << 3709 << text << false;
        QTest::newRow("C: blank description") << int(Rule::C) << 91 << blank << false;
        QTest::newRow("C: empty description") << int(Rule::C) << 91 << QString() << false;
        QTest::newRow("C: described") << int(Rule::C) << 91 << text << true;
    }

    void rules()
    {
        QFETCH(int, rule);
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(bool, reported);

        testsupport::RecordedReports recorded;
        const ReportLabels labels{QStringLiteral("Orv Software"), QStringLiteral("Orv_Counter"),
                                  QStringLiteral("frmCounter"), QStringLiteral("Timer1_Timer"), Rule(rule),
                                  TextForm::Description};
        reportError(labels, {number, description});
        QCOMPARE(recorded.reports().size(), reported ? 1 : 0);
    }

    void textForms_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("expected");
        QTest::newRow("description") << int(TextForm::Description) << QStringLiteral("Subscript out of range");
        QTest::newRow("number") << int(TextForm::Number)
                                << QStringLiteral("Error Number = 9 | Description = Subscript out of range");
    }

    void textForms()
    {
        QFETCH(int, form);
        QFETCH(QString, expected);
        testsupport::RecordedReports recorded;
        reportError({QStringLiteral("Módulo de Registo"), QStringLiteral("modRegistry.bas"), QStringLiteral("modRegistry"),
                     QStringLiteral("ValorString"), Rule::C, TextForm(form)},
                    {9, QStringLiteral("Subscript out of range")});
        QCOMPARE(recorded.reports().size(), 1);
        const auto& r = recorded.reports().first();
        QCOMPARE(r.application, QStringLiteral("Módulo de Registo"));
        QCOMPARE(r.project, QStringLiteral("modRegistry.bas"));
        QCOMPARE(r.owner, QStringLiteral("modRegistry"));
        QCOMPARE(r.procedure, QStringLiteral("ValorString"));
        QCOMPARE(r.text, expected);
    }

    void trapReportsAndSwallows()
    {
        testsupport::RecordedReports recorded;
        bool after = false;
        const bool finished = trap({QStringLiteral("a"), QStringLiteral("p"), QStringLiteral("o"), QStringLiteral("proc"),
                                    Rule::B, TextForm::Description},
                                   [&] {
                                       throw Error(errc::TypeMismatch, QStringLiteral("Type mismatch"));
                                       after = true;
                                   });
        QVERIFY(!finished);
        QVERIFY(!after);
        QCOMPARE(recorded.procedures(), QStringList{QStringLiteral("proc")});
        QCOMPARE(recorded.reports().first().text, QStringLiteral("Type mismatch"));
    }

    void failingComponentNeverEscapes()
    {
        testsupport::RecordedReports recorded;
        recorded.setFailing(true);
        bool finished = true;
        // Neither the report nor the trap may let the component's failure out.
        QVERIFY(!(finished = trap({QStringLiteral("a"), QStringLiteral("p"), QStringLiteral("o"), QStringLiteral("x"),
                                   Rule::A, TextForm::Description},
                                  [] { throw std::runtime_error("boom"); })));
        core::setErrorReportingFactory([] { return std::unique_ptr<ErrorReporting>(); });
        reportError({QStringLiteral("a"), QStringLiteral("p"), QStringLiteral("o"), QStringLiteral("x"), Rule::A,
                     TextForm::Description},
                    {5, QStringLiteral("no component")});
        core::setErrorReportingFactory({});
    }

    void defaultComponentAppendsJsonLines()
    {
        QTemporaryDir dir;
        qputenv("ORV_STATE_DIR", dir.path().toUtf8());
        const ReportLabels labels{QStringLiteral("Orv Counter Software"), QStringLiteral("modCode"),
                                  QStringLiteral("modCode"), QStringLiteral("Login"), Rule::B, TextForm::Description};
        reportError(labels, {-2147467259, QStringLiteral("Lançamento não gravado")});
        reportError(labels, {7, QStringLiteral("Out of memory")});
        QFile log(dir.path() + QStringLiteral("/errors.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = log.readAll().split('\n');
        QCOMPARE(lines.size(), 3); // two lines and the empty rest after the last line feed
        const QJsonObject first = QJsonDocument::fromJson(lines.at(0)).object();
        QCOMPARE(first.value(QStringLiteral("procedure")).toString(), QStringLiteral("Login"));
        QCOMPARE(first.value(QStringLiteral("error")).toString(), QStringLiteral("Lançamento não gravado"));
        QVERIFY(!first.value(QStringLiteral("time")).toString().isEmpty());
        qunsetenv("ORV_STATE_DIR");
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_errorreport.moc"
