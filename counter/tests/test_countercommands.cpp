#include "counter/commands/countercommands.h"
#include "counter/commands/countermenus.h"
#include "testsupport/recordedreports.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QWidget>

using counter::CounterCommands;

namespace {

const QStringList TaskCommands{"mnListAbrir", "mnListLancamento", "mnEsconder", "mnListRemover", "mnListTerminar"};

} // namespace

// The menus' commands over a bare window: which entries are offered, and when.
class TestCounterCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The task commands and the "Abrir" submenu follow the last press: on a
    // row they are offered, anywhere else not. The other commands keep their state.
    void taskCommandsFollowThePress_data()
    {
        QTest::addColumn<QStringList>("events"); // "row" a press on a row, "left"/"right" a release
        QTest::addColumn<bool>("offered");
        QTest::newRow("right click on a row") << QStringList{"row", "right"} << true;
        QTest::newRow("right click on empty space") << QStringList{"right"} << false;
        QTest::newRow("left click on a row, then right on empty space") << QStringList{"row", "left", "right"} << false;
        QTest::newRow("right click on a row after one on empty space") << QStringList{"right", "row", "right"} << true;
    }
    void taskCommandsFollowThePress()
    {
        QFETCH(QStringList, events);
        QFETCH(bool, offered);
        QWidget window;
        counter::CounterMenus menus(&window);
        CounterCommands commands(window, menus);
        QStringList popups;
        commands.setPopupMenu([&](QMenu& menu, const QPoint&) { popups << menu.objectName(); });
        for (const QString& event : events) {
            if (event == QStringLiteral("row")) {
                commands.itemClicked(QStringLiteral("0"));
            } else {
                commands.mouseUp(event == QStringLiteral("left") ? Qt::LeftButton : Qt::RightButton, QPoint());
            }
        }
        QCOMPARE(popups, QStringList(events.count(QStringLiteral("right")), QStringLiteral("mnList")));
        for (const QString& name : TaskCommands) {
            QCOMPARE(menus.command(name)->isEnabled(), offered);
        }
        QCOMPARE(menus.mnListAbrirRelated()->menuAction()->isEnabled(), offered);
        for (const char* name : {"mnListTrabalho", "mnLancamentoNovo"}) {
            QVERIFY(menus.command(QLatin1String(name))->isEnabled());
        }
    }

    // The hide command names what it will do: only the visible marker "0" is a visible task.
    void theHideCommandsCaption_data()
    {
        QTest::addColumn<QString>("hiddenCell");
        QTest::addColumn<QString>("caption");
        QTest::newRow("visible") << "0"
                                 << "Esconder";
        QTest::newRow("hidden") << "1"
                                << "Tornar visível";
        QTest::newRow("blank") << " "
                               << "Tornar visível";
        QTest::newRow("hidden by another office's value") << "-1"
                                                          << "Tornar visível";
    }
    void theHideCommandsCaption()
    {
        QFETCH(QString, hiddenCell);
        QFETCH(QString, caption);
        QWidget window;
        counter::CounterMenus menus(&window);
        CounterCommands commands(window, menus);
        commands.itemClicked(QStringLiteral("1"));
        commands.itemClicked(hiddenCell);
        QCOMPARE(menus.command(QStringLiteral("mnEsconder"))->text().remove(u'&'), caption);
    }

    // Every command is reached from the keyboard: each caption has a mnemonic, and no two entries of one
    // menu share a letter (Qt would then only move between them instead of running one).
    void everyCommandHasItsOwnMnemonic()
    {
        QWidget window;
        counter::CounterMenus menus(&window);
        CounterCommands commands(window, menus);
        for (const QString& caption : {QStringLiteral("0"), QStringLiteral("1")}) {
            commands.itemClicked(caption);
            for (QMenu* menu : {menus.mnMenu(), menus.mnList(), menus.mnListAbrirRelated()}) {
                QSet<QChar> letters;
                for (QAction* action : menu->actions()) {
                    if (action->isSeparator()) {
                        continue;
                    }
                    const qsizetype amp = action->text().indexOf(u'&');
                    QVERIFY2(amp >= 0 && amp + 1 < action->text().size(), qPrintable(action->text()));
                    const QChar letter = action->text().at(amp + 1).toLower();
                    QVERIFY2(!letters.contains(letter), qPrintable(action->text()));
                    letters << letter;
                }
            }
        }
    }
};

QTEST_MAIN(TestCounterCommands)
#include "test_countercommands.moc"
