#include "core/errorvalue.h"
#include "core/messagebox.h"
#include "testsupport/scriptedmessageboxes.h"

#include <QTest>

using namespace core;

class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A box without a title of its own shows the application's title, written as the office knows it.
    void title_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << QString() << QStringLiteral("Orv_Couter");
        QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("Orv_Couter");
        QTest::newRow("its own") << QStringLiteral("Fechar Aplicação") << QStringLiteral("Fechar Aplicação");
    }
    void title()
    {
        QFETCH(QString, given);
        QFETCH(QString, shown);
        testsupport::ScriptedMessageBoxes boxes;
        msgBox(QStringLiteral("Texto"), Buttons::Ok, Icon::Information, given);
        QCOMPARE(boxes.shown().size(), 1);
        QCOMPARE(boxes.shown().first().title, shown);
    }

    // Without anyone to show the box, nothing is confirmed: a question answers No.
    void withoutPresenterNothingIsConfirmed_data()
    {
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("OK box") << Buttons::Ok << Answer::Ok;
        QTest::newRow("question") << Buttons::YesNo << Answer::No;
    }
    void withoutPresenterNothingIsConfirmed()
    {
        QFETCH(Buttons, buttons);
        setMessageBoxPresenter({});
        QTEST(msgBox(QStringLiteral("Continuar?"), buttons, Icon::Question), "answer");
    }

    // Errors thrown by number carry the system's own description; an unknown number a generic one.
    void standardErrors_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("13") << 13 << QStringLiteral("Type mismatch");
        QTest::newRow("35600") << 35600 << QStringLiteral("Index out of bounds");
        QTest::newRow("438") << 438 << QStringLiteral("Object doesn't support this property or method");
        QTest::newRow("unknown") << 4242 << QStringLiteral("Application-defined or object-defined error");
    }
    void standardErrors()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        const Error error = standardError(number);
        QCOMPARE(error.number(), number);
        QCOMPARE(error.description(), description);
    }
};

QTEST_GUILESS_MAIN(TestMessageBox)
#include "test_messagebox.moc"
