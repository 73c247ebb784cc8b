#pragma once

#include "core/program.h"
#include "counter/commands/countercommands.h"
#include "counter/frmcounter.h"
#include "counter/listview/listview.h"
#include "counter/trayicon.h"
#include "data/connection.h"
#include "session/modcode.h"
#include "testsupport/login.h"
#include "testsupport/mockclock.h"
#include "testsupport/officefixture.h"
#include "testsupport/recordedreports.h"
#include "testsupport/recordingcomponents.h"
#include "testsupport/screenshots.h"
#include "testsupport/scriptedmessageboxes.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

#include <memory>

inline QStringList keysOf(const counter::ListView& list)
{
    QStringList keys;
    for (int row = 0; row < list.rowCount(); ++row) {
        keys << list.key(row);
    }
    return keys;
}

// The counter window over the small office, logged in as "ana" (lawyer 9, password "segredo"), with the workstation's
// and the server's clocks both on the mock clock unless a test parts them, message boxes scripted,
// error reports recorded, the end of the program counted and pop-up menus recorded instead of shown.
struct WindowFixture {
    testsupport::MockClock clock;
    testsupport::OfficeFixture office;
    testsupport::ScriptedMessageBoxes boxes;
    testsupport::RecordedReports reports;
    int programEnds = 0;
    QStringList popups;
    std::unique_ptr<counter::frmCounter> window;

    explicit WindowFixture(testsupport::TempDatabase::Place place = testsupport::TempDatabase::Place::Memory)
        : office(place)
    {
        office.database().setServerClock([this] { return clock.now(); });
        testsupport::signIn(QStringLiteral("ana"), testsupport::OfficeFixture::Lawyer, QStringLiteral("segredo"));
        core::setEndProgramHandler([this] { ++programEnds; });
        // A desktop with a notification area, unless a test says otherwise.
        counter::TrayIcon::setAvailabilityProbe([] { return true; });
    }

    ~WindowFixture()
    {
        window.reset();
        core::setEndProgramHandler({});
        counter::TrayIcon::setAvailabilityProbe({});
        testsupport::signOut();
    }

    // Creates and loads the window; shown unless asked otherwise.
    counter::frmCounter& load(bool shown = true)
    {
        window = std::make_unique<counter::frmCounter>();
        part<counter::CounterCommands>().setPopupMenu(
            [this](QMenu& menu, const QPoint&) { popups << menu.objectName(); });
        window->Form_Load();
        if (shown) {
            window->show();
        }
        data::StatementLog::clear();
        return *window;
    }

    template <typename Part> Part& part() { return *window->findChild<Part*>(); }

    counter::ListView& list() { return *window->findChild<counter::ListView*>(QStringLiteral("ListView1")); }

    template <typename Widget> Widget& child(const char* name) const
    {
        return *window->findChild<Widget*>(QLatin1String(name));
    }

    // Refills the task list with no task asked for.
    void refill()
    {
        int none = 0;
        window->Fill_Tarefas(none);
    }

    // Time entries on task 812, each given as
    // "lancamento_id, data, data_fim, advogado_id, base_id, unidades, contacto_id, inprogress".
    void addEntries(const QStringList& entries)
    {
        for (const QString& entry : entries) {
            office.database().exec(
                QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (lancamento_id, data, data_fim, "
                               "advogado_id, base_id, unidades, contacto_id, inprogress, tarefa_id, trabalho_id, "
                               "processo_id, closed) VALUES (%1, 812, 77, 15, 0)")
                    .arg(entry));
        }
    }

    // One column of a time entry.
    QVariant entryColumn(qint64 entry, const char* name)
    {
        return office.database().scalar(
            QStringLiteral("SELECT %1 FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = %2")
                .arg(QLatin1String(name))
                .arg(entry));
    }

    // Whether the tray icon shows image of the tray's image list.
    bool trayShows(int image)
    {
        const counter::TrayIcon& tray = part<counter::TrayIcon>();
        return tray.icon().pixmap(16).toImage() == tray.images().image(image).pixmap(16).toImage();
    }

    int row(int taskId) { return list().findKey(QStringLiteral("#%1").arg(taskId)); }

    // The user ticks or unticks the task's check box.
    void toggle(int taskId) { list().userToggle(row(taskId)); }

    // The statements sent since the window was loaded that begin with prefix.
    QStringList sent(const QString& prefix) const
    {
        return data::StatementLog::statements().filter(QRegularExpression(u'^' + QRegularExpression::escape(prefix)));
    }
};

// The message, as CommandFixture::messages() gives it, of a start or a new entry that cannot find the record the
// field names.
inline QString missing(const char* field)
{
    return QStringLiteral("Orv_Couter | critical | Erro no campo %1. Não foi possível iniciar o registo. Contacto o "
                          "Administrador do Sistema.")
        .arg(QLatin1String(field));
}

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
        // By core::Icon: None, Information, Question, Warning, Critical.
        static const char* const icons[] = {"other", "info", "question", "other", "critical"};
        QStringList shown;
        for (const core::Message& box : boxes.shown()) {
            shown << box.title + QStringLiteral(" | ") + QLatin1String(icons[int(box.icon)]) +
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
