#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace core {

// The office's error-reporting component ("ErrorReporting.General"): one Report call per error.
class ErrorReporting
{
public:
    virtual ~ErrorReporting() = default;
    virtual void Report(const QString& application, const QString& project, const QString& owner,
                        const QString& procedure, const QString& text) = 0;
};

using ErrorReportingFactory = std::function<std::unique_ptr<ErrorReporting>()>;

// Seam: the factory that creates a fresh component for each report. An empty factory restores the default.
void setErrorReportingFactory(ErrorReportingFactory factory);
std::unique_ptr<ErrorReporting> createErrorReporting();

// The default component on this platform (errorreporting_posix.cpp, errorreporting_win.cpp): on Windows the
// office's "ErrorReporting.General" over COM, falling back to the log; elsewhere the log.
std::unique_ptr<ErrorReporting> platformErrorReporting();

// The log: one JSON line per report (time and the five fields),
// appended to errors.log in the state directory and written to stderr. The log is readable by its owner
// alone (0600), and so is the state directory (0700), whatever the umask.
class LogFileErrorReporting : public ErrorReporting
{
public:
    void Report(const QString& application, const QString& project, const QString& owner, const QString& procedure,
                const QString& text) override;
    // One line saying why the component named was not used (time, component, reason), to the log and stderr.
    // Throws std::runtime_error when the log cannot be opened.
    void noteComponentUnused(const QString& component, const QString& reason);
    // One line saying that the component named is used, and which (time, component, used).
    void noteComponentUsed(const QString& component, const QString& which);
};

// Where the program keeps its own files: $ORV_STATE_DIR, else the platform's folder for them
// (platformStateDirectory). Created on demand by the callers that write there.
QString stateDirectory();
// Makes the state directory when missing and keeps it readable by its owner alone (0700), whatever the
// umask; returns its path.
QString makeStateDirectory();

} // namespace core
