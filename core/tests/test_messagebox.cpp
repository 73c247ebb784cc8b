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
    void title()
    {
        for (const auto& [given, shown] :
             {std::pair{QString(), QStringLiteral("Orv_Couter")},
              std::pair{QStringLiteral(""), QStringLiteral("Orv_Couter")},
              std::pair{QStringLiteral("Fechar Aplicação"), QStringLiteral("Fechar Aplicação")}}) {
            testsupport::ScriptedMessageBoxes boxes;
            msgBox(QStringLiteral("Texto"), Buttons::Ok, Icon::Information, given);
            QCOMPARE(boxes.shown().size(), 1);
            QCOMPARE(boxes.shown().first().title, shown);
        }
    }

    // Without anyone to show the box, nothing is confirmed: a question answers No.
    void withoutPresenterNothingIsConfirmed()
    {
        setMessageBoxPresenter({});
        QCOMPARE(msgBox(QStringLiteral("Gravado."), Buttons::Ok, Icon::Information), Answer::Ok);
        QCOMPARE(msgBox(QStringLiteral("Continuar?"), Buttons::YesNo, Icon::Question), Answer::No);
    }

    // Errors thrown by number carry the system's own description; an unknown number a generic one.
    void standardErrors()
    {
        const QList<std::pair<int, QString>> known{
            {13, QStringLiteral("Type mismatch")},
            {35600, QStringLiteral("Index out of bounds")},
            {438, QStringLiteral("Object doesn't support this property or method")},
            {4242, QStringLiteral("Application-defined or object-defined error")}};
        for (const auto& [number, description] : known) {
            const Error error = standardError(number);
            QCOMPARE(error.number(), number);
            QCOMPARE(error.description(), description);
        }
    }
};

QTEST_GUILESS_MAIN(TestMessageBox)
#include "test_messagebox.moc"
