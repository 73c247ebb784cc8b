#include "core/messagebox.h"
#include "session/widgetmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

class TestWidgetMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void partsStayApartWithoutCarriageReturns()
    {
        const QString text = "Existem tarefas em contagem." + core::messageBreak() + "Deseja sair?";
        auto box = session::buildMessageBox({text, "Orv_Couter", core::Buttons::YesNo, core::Icon::Question});
        QCOMPARE(box->text(), "Existem tarefas em contagem.\n\nDeseja sair?");
        QCOMPARE(box->windowTitle(), "Orv_Couter");
        QCOMPARE(box->icon(), QMessageBox::Question);
    }

    // A question goes on only on Yes: closing it with Escape answers No.
    void answers_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        const int yesNo = int(core::Buttons::YesNo);
        QTest::newRow("Yes") << yesNo << int(QMessageBox::Yes) << int(core::Answer::Yes);
        QTest::newRow("No") << yesNo << int(QMessageBox::No) << int(core::Answer::No);
        QTest::newRow("Escape") << yesNo << int(QMessageBox::Escape) << int(core::Answer::No);
        QTest::newRow("OK") << int(core::Buttons::Ok) << int(QMessageBox::Ok) << int(core::Answer::Ok);
    }

    void answers()
    {
        QFETCH(int, buttons);
        QFETCH(int, press);
        QFETCH(int, answer);
        session::installWidgetMessageBoxes();
        // Pressed from the box's own modal loop, as soon as it runs.
        QTimer::singleShot(0, [press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (press == QMessageBox::Escape) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(QMessageBox::StandardButton(press))->click();
            }
        });
        const core::Answer given = core::msgBox("Deseja sair?", core::Buttons(buttons), core::Icon::Question);
        core::setMessageBoxPresenter({});
        QCOMPARE(int(given), answer);
    }
};

QTEST_MAIN(TestWidgetMessageBox)
#include "test_widgetmessagebox.moc"
