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
    return {"Orv Counter", "orvcounter", "frmCounter", "ListView1_ItemClick", rule, form};
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

    // Each report creates its own object, whose Report receives the handler's four labels and the error's text, in
    // that order, each a text, and releases it after; nothing goes to the log. A report its rule leaves out creates
    // no object.
    void componentReceivesTheFiveTexts_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text"); // null: not reported
        const int A = int(Rule::A), plain = int(TextForm::Description);
        const QString portuguese = "Lançamento não gravado: a tarefa «Petição inicial» já terminou";
        QTest::newRow("Portuguese") << A << plain << 3021 << portuguese << portuguese;
        QTest::newRow("empty description") << A << plain << 91 << QString() << "";
        QTest::newRow("number form") << A << int(TextForm::Number) << -2147217900 << "Ligação perdida"
                                     << "Error Number = -2147217900 | Description = Ligação perdida";
        QTest::newRow("left out by its rule") << int(Rule::C) << plain << 3709 << "ligação fechada" << QString();
    }
    void componentReceivesTheFiveTexts()
    {
        QFETCH(int, rule);
        QFETCH(int, form);
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, text);
        testsupport::ComTestServer server;
        testsupport::ComComponentLog& log = server.log(progId);

        reportError(labels(Rule(rule), TextForm(form)), {number, description});

        QCOMPARE(log.created, text.isNull() ? 0 : 1);
        QCOMPARE(log.alive, 0);
        QVERIFY(testsupport::errorLog(m_state.path()).isEmpty());
        if (text.isNull()) {
            return;
        }
        QCOMPARE(log.calls.size(), 1);
        const testsupport::ComCall& call = log.calls.first();
        QCOMPARE(call.method, QStringLiteral("Report"));
        QCOMPARE(call.types, QList<VARTYPE>(5, VT_BSTR));
        QCOMPARE(call.arguments,
                 QVariantList({"Orv Counter", "orvcounter", "frmCounter", "ListView1_ItemClick", text}));
    }

    // Without the component, or when its Report fails, every report is in the log; the first failure of the
    // process adds one line saying why the component was not used, and no later one adds another.
    void withoutTheComponentTheLogSaysWhyOnce()
    {
        reportError(labels(Rule::A, TextForm::Description), {5, QStringLiteral("sem componente")});
        reportError(labels(Rule::A, TextForm::Description), {6, QStringLiteral("ainda sem componente")});
        {
            testsupport::ComTestServer server;
            testsupport::ComComponentLog& failing = server.log(progId);
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
        QVERIFY2(why.contains("not registered") && why.contains("429"), qPrintable(why));
        QStringList errors;
        for (const QJsonObject& entry : lines.mid(1)) {
            QVERIFY(!entry.contains(QStringLiteral("unused")));
            QCOMPARE(entry.value(QStringLiteral("procedure")).toString(), QStringLiteral("ListView1_ItemClick"));
            errors << entry.value(QStringLiteral("error")).toString();
        }
        QCOMPARE(errors, QStringList({"sem componente", "ainda sem componente", "componente falhou"}));
    }
};

QTEST_GUILESS_MAIN(TestErrorReportWindows)
#include "test_errorreport_win.moc"
