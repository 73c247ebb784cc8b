#pragma once

#include "testsupport/recordingcomponents.h"
#include "windowfixture.h"

#include <QAction>

// The counter window with recording record editors, and what a command did in a form a table can state:
// the statements sent since the window was loaded, each refill of the task list as "refill" (the
// server's date it reads left out), and the message boxes as "<title> | <icon> | <text>".
struct CommandFixture : WindowFixture {
    testsupport::RecordingComponents components;

    QStringList statements() const
    {
        QStringList sent;
        for (const QString& statement : data::StatementLog::statements()) {
            if (statement.startsWith(QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE"))) {
                sent << QStringLiteral("refill");
            } else if (statement != QStringLiteral("SELECT GETDATE() AS DATE")) {
                sent << statement;
            }
        }
        return sent;
    }

    QStringList messages() const
    {
        QStringList shown;
        for (const core::Message& box : boxes.shown()) {
            const char* icon = box.icon == core::Icon::Information ? "info"
                               : box.icon == core::Icon::Question  ? "question"
                               : box.icon == core::Icon::Critical  ? "critical"
                                                                   : "other";
            shown << box.title + QStringLiteral(" | ") + QLatin1String(icon) +
                         (box.buttons == core::Buttons::YesNo ? QStringLiteral(" yes/no | ") : QStringLiteral(" | ")) +
                         box.text;
        }
        return shown;
    }

    // Selects the task's row, as a click on it does.
    void select(int taskId) { list().selectRow(row(taskId)); }

    // Runs a command of the menus, by its name, as choosing the entry does.
    void run(const QString& command) { window->findChild<QAction*>(command)->trigger(); }

    // Scripts the answers of the questions, "Yes" or "No" each.
    void answer(const QStringList& answers)
    {
        QList<core::Answer> script;
        for (const QString& answer : answers) {
            script << (answer == QStringLiteral("Yes") ? core::Answer::Yes : core::Answer::No);
        }
        boxes.setNextAnswers(script);
    }
};
