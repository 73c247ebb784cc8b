#include "core/messagebox.h"
#include "session/translations.h"
#include "session/widgetmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestWidgetMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The quit question goes on only on Yes; its two parts are two paragraphs.
    void question_data()
    {
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << int(QMessageBox::Yes) << int(core::Answer::Yes);
        QTest::newRow("No") << int(QMessageBox::No) << int(core::Answer::No);
        QTest::newRow("Escape") << int(QMessageBox::Escape) << int(core::Answer::No);
    }

    void question()
    {
        QFETCH(int, press);
        session::installWidgetMessageBoxes();
        QString shown;
        // Pressed from the box's own modal loop, as soon as it runs.
        QTimer::singleShot(0, [press, &shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            if (press == QMessageBox::Escape) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(QMessageBox::StandardButton(press))->click();
            }
        });
        const QString text = "Existem tarefas em contagem." + core::messageBreak() + "Deseja sair?";
        const core::Answer given = core::msgBox(text, core::Buttons::YesNo, core::Icon::Question);
        core::setMessageBoxPresenter({});
        QTEST(int(given), "answer");
        QCOMPARE(shown, "Existem tarefas em contagem.\n\nDeseja sair?");
    }

    // European Portuguese whatever the locale: standard buttons, Qt's dialogs, months and numbers.
    void buttonsInPortuguese()
    {
        QVERIFY(session::installPortugueseTranslations(*QCoreApplication::instance()) > 0);
        QCOMPARE(QLocale().monthName(12).toLower(), QStringLiteral("dezembro"));
        QCOMPARE(QLocale().toString(1234.5, 'f', 2).remove(QChar(0xA0)).remove(u' '), QStringLiteral("1234,50"));
        QDialogButtonBox saving(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
        QCOMPARE(saving.button(QDialogButtonBox::Save)->text().remove(u'&'), QStringLiteral("Guardar"));
        QCOMPARE(saving.button(QDialogButtonBox::Cancel)->text().remove(u'&'), QStringLiteral("Cancelar"));
        QVERIFY(
            QCoreApplication::translate("QFileDialog", "File &name:").toLower().contains(QStringLiteral("ficheiro")));
        const auto box = session::buildMessageBox({QStringLiteral("Deseja sair?"), {}, core::Buttons::YesNo});
        QCOMPARE(box->button(QMessageBox::Yes)->text().remove(u'&'), "Sim");
        QCOMPARE(box->button(QMessageBox::No)->text().remove(u'&'), QString::fromUtf8("Não"));
    }
};

QTEST_MAIN(TestWidgetMessageBox)
#include "test_widgetmessagebox.moc"
