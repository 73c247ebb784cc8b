#pragma once

#include "core/program.h"
#include "counter/commands/countercommands.h"
#include "counter/frmcounter.h"
#include "counter/listview/listview.h"
#include "counter/trayicon.h"
#include "data/connection.h"
#include "session/modcode.h"
#include "testsupport/mockclock.h"
#include "testsupport/officefixture.h"
#include "testsupport/recordedreports.h"
#include "testsupport/scriptedmessageboxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QTest>

#include <memory>

// The counter window over the small office, logged in as "ana" (lawyer 9), with the workstation's
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
        session::modCode::AdvogadoID = testsupport::OfficeFixture::Lawyer;
        session::modCode::UserName = QStringLiteral("ana");
        session::modCode::CounterWindow = nullptr;
        core::setEndProgramHandler([this] { ++programEnds; });
        // A desktop with a notification area, unless a test says otherwise.
        counter::TrayIcon::setAvailabilityProbe([] { return true; });
    }

    ~WindowFixture()
    {
        window.reset();
        core::setEndProgramHandler({});
        counter::TrayIcon::setAvailabilityProbe({});
        session::modCode::CounterWindow = nullptr;
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

    // Keeps a picture of a widget as build/screenshots/<name>.png (the tests run from build/tests/<folder>).
    static void keepScreenshot(QWidget& widget, const QString& name)
    {
        const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../../screenshots");
        QDir().mkpath(folder);
        widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    // One of the window's parts.
    template <typename Part> Part& part() { return *window->findChild<Part*>(); }

    counter::ListView& list() { return *window->findChild<counter::ListView*>(QStringLiteral("ListView1")); }

    int row(int taskId) { return list().findKey(QStringLiteral("#%1").arg(taskId)); }

    // The user ticks or unticks the task's check box.
    void toggle(int taskId) { list().userToggle(row(taskId)); }

    // The statements sent since the window was loaded that begin with prefix.
    QStringList sent(const QString& prefix) const
    {
        QStringList found;
        for (const QString& statement : data::StatementLog::statements()) {
            if (statement.startsWith(prefix)) {
                found << statement;
            }
        }
        return found;
    }
};
