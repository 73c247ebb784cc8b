// The error report on Windows: the office's "ErrorReporting.General" receives the five texts by COM, late bound,
// a fresh object per report; without it the report goes to the log, which says once why. The component is the test
// component orvcomtest.dll, registered with regsvr32 for the tests that want it. Built only for Windows.
#include "core/errorreport.h"
#include "testsupport/comcomponent_win.h"
#include "testsupport/files.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace core;

namespace {

const QString progId = QStringLiteral("ErrorReporting.General");

ReportLabels labels(Rule rule, TextForm form)
{
    return {QStringLiteral("Orv Counter"),
            QStringLiteral("orvcounter"),
            QStringLiteral("frmCounter"),
            QStringLiteral("ListView1_ItemClick"),
            rule,
            form};
}

// The test component's "ErrorReporting.General" log, emptied of what earlier tests left.
testsupport::ComComponentLog& cleared(testsupport::ComTestServer& server)
{
    testsupport::ComComponentLog& log = server.log(progId);
    log = {};
    return log;
}

} // namespace

class TestErrorReportWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir m_state;

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_state.isValid());
        qputenv("ORV_STATE_DIR", m_state.path().toUtf8());
        QFile::remove(m_state.filePath(QStringLiteral("errors.log")));
    }
    void cleanup() { qunsetenv("ORV_STATE_DIR"); }

    // Report receives the handler's four labels and the error's text, in that order, each a text, and the object
    // is released after it; nothing goes to the log.
    void componentReceivesTheFiveTexts_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text");
        const int plain = int(TextForm::Description);
        const QString portuguese = QStringLiteral("Lançamento não gravado: a tarefa «Petição inicial» já terminou");
        QTest::newRow("Portuguese") << plain << 3021 << portuguese << portuguese;
        QTest::newRow("empty description") << plain << 91 << QString() << QString();
        QTest::newRow("number form") << int(TextForm::Number) << -2147217900 << QStringLiteral("Ligação perdida")
                                     << QStringLiteral("Error Number = -2147217900 | Description = Ligação perdida");
    }
    void componentReceivesTheFiveTexts()
    {
        QFETCH(int, form);
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, text);
        testsupport::ComTestServer server;
        testsupport::ComComponentLog& log = cleared(server);

        reportError(labels(Rule::A, TextForm(form)), {number, description});

        QCOMPARE(log.calls.size(), 1);
        const testsupport::ComCall& call = log.calls.first();
        QCOMPARE(call.method, QStringLiteral("Report"));
        QCOMPARE(call.types, QList<VARTYPE>(5, VT_BSTR));
        QCOMPARE(call.arguments,
                 QVariantList({QStringLiteral("Orv Counter"), QStringLiteral("orvcounter"),
                               QStringLiteral("frmCounter"), QStringLiteral("ListView1_ItemClick"), text}));
        QCOMPARE(log.alive, 0);
        QVERIFY(testsupport::errorLog(m_state.path()).isEmpty());
    }

    // Each report creates its own object and lets it go; a report its rule leaves out creates none.
    void aFreshObjectPerReport()
    {
        testsupport::ComTestServer server;
        testsupport::ComComponentLog& log = cleared(server);
        reportError(labels(Rule::C, TextForm::Description), {5, QStringLiteral("primeiro")});
        reportError(labels(Rule::C, TextForm::Description), {3709, QStringLiteral("ligação fechada")});
        reportError(labels(Rule::C, TextForm::Description), {5, QStringLiteral("segundo")});
        QCOMPARE(log.created, 2);
        QCOMPARE(log.alive, 0);
        QCOMPARE(log.calls.size(), 2);
        QCOMPARE(log.calls.at(1).arguments.at(4), QVariant(QStringLiteral("segundo")));
    }

    // Without the component, or when its Report fails, every report is in the log; the first failure of the
    // process adds one line saying why the component was not used, and no later one adds another.
    void withoutTheComponentTheLogSaysWhyOnce()
    {
        reportError(labels(Rule::A, TextForm::Description), {5, QStringLiteral("sem componente")});
        reportError(labels(Rule::A, TextForm::Description), {6, QStringLiteral("ainda sem componente")});
        {
            testsupport::ComTestServer server;
            testsupport::ComComponentLog& failing = cleared(server);
            failing.raise = E_FAIL;
            failing.raisedDescription = QStringLiteral("Base de erros cheia");
            reportError(labels(Rule::A, TextForm::Description), {7, QStringLiteral("componente falhou")});
            QCOMPARE(failing.calls.size(), 1);
            QCOMPARE(failing.alive, 0);
        }

        const QList<QJsonObject> lines = testsupport::errorLog(m_state.path());
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0).value(QStringLiteral("component")).toString(), progId);
        const QString why = lines.at(0).value(QStringLiteral("unused")).toString();
        QVERIFY2(why.contains(QStringLiteral("not registered")) && why.contains(QStringLiteral("429")),
                 qPrintable(why));
        QStringList errors;
        for (const QJsonObject& entry : lines.mid(1)) {
            QVERIFY(!entry.contains(QStringLiteral("unused")));
            QCOMPARE(entry.value(QStringLiteral("procedure")).toString(), QStringLiteral("ListView1_ItemClick"));
            errors << entry.value(QStringLiteral("error")).toString();
        }
        QCOMPARE(errors, QStringList({QStringLiteral("sem componente"), QStringLiteral("ainda sem componente"),
                                      QStringLiteral("componente falhou")}));
    }
};

QTEST_GUILESS_MAIN(TestErrorReportWindows)
#include "test_errorreport_win.moc"
