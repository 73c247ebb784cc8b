#pragma once

#include <QString>

#include <functional>

namespace session {

// The counter's automation class General, served by the running counter: the office's application creates it by
// the ProgID "OrvCounter.General" (or its class identifier) and calls Run. The installer registers the class for
// the machine with orvcounter.exe "/Automation" as its local server, so a Run with no counter running starts one;
// while a counter runs, its class object is the one every client reaches, so a second Run reaches it.
class AutomationServer
{
public:
    // Registers General's class object for this process; each Run calls onRun later on this thread's event
    // loop (Run returns to the client at once: start-up may wait for the login dialog). Throws core::Error when
    // COM refuses the registration.
    explicit AutomationServer(std::function<void()> onRun);
    AutomationServer(const AutomationServer&) = delete;
    AutomationServer& operator=(const AutomationServer&) = delete;
    ~AutomationServer();

    // Whether the program was started by COM to serve the class ("/Automation" or "-Embedding").
    static bool startedByCom(const QStringList& arguments);

private:
    class Factory;
    Factory* m_factory = nullptr;
    unsigned long m_cookie = 0;
};

} // namespace session
