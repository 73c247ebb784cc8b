#pragma once

#include <QString>

#include <functional>

namespace session {

// The counter window as start-up sees it. Start-up lives below the window's library, so it reaches
// the window only through this interface; the executable wires the real window (setCounterWindowFactory).
class CounterWindowInterface
{
public:
    virtual ~CounterWindowInterface() = default;
    // Makes the loaded window visible.
    virtual void showWindow() = 0;
    // The window's unload: a visible window only hides; a hidden one may ask and end the program.
    virtual void unloadWindow() = 0;
};

// Creates and loads the counter window (its load runs the window's start-up). Returns null when it cannot.
using CounterWindowFactory = std::function<CounterWindowInterface*()>;

namespace modCode {

// Login state: process-wide values that live until the process ends.
extern QString UserName;
extern QString UserPassword;
extern bool Connected;
extern QString DataServer;
extern QString dtSecurityInfo;
extern QString dtUser;
extern QString dtPassword;
extern QString dtInitialCatalog;
extern QString dtDataSource;
extern qint32 AdvogadoID;
// The loaded counter window, or null before it is loaded.
extern CounterWindowInterface* CounterWindow;

void setCounterWindowFactory(CounterWindowFactory factory);

// The per-user key that holds the remembered login: "Remember", "Username", "Password", "Verified".
QString UserKey();

// Start-up: the login dialog, the login, the lawyer, the remembered settings, the counter window.
void main();
// True when the user is logged in and the shared connection is open.
bool Login(const QString& name, const QString& password);
// True when a lawyer stands behind the login name; sets AdvogadoID.
bool SetAdvogado(const QString& name);

} // namespace modCode

// The system's only entry: General.Run.
class General
{
public:
    void Run();
};

} // namespace session
