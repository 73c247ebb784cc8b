#include "core/com/apartment_win.h"
#include "testsupport/comcomponent_win.h"

#include <QDir>
#include <QProcess>

#include <stdexcept>

namespace testsupport {
namespace {

// The DLL's path as Windows names it (the build folder seen through Wine's drive Z:).
QString serverPath()
{
    return QDir::toNativeSeparators(QStringLiteral("Z:") + QStringLiteral(ORV_COMTEST_DLL));
}

} // namespace

const QString ComTestServer::TaskEditorIds =
    QStringLiteral("{6F1D5C2A-3B4E-4A7F-9C10-2D8E5B7A9C02};{6F1D5C2A-3B4E-4A7F-9C10-2D8E5B7A9C03}");
const QString ComTestServer::UnregisteredIds =
    QStringLiteral("{6F1D5C2A-3B4E-4A7F-9C10-2D8E5B7A9CFF};{6F1D5C2A-3B4E-4A7F-9C10-2D8E5B7A9C03}");

ComTestServer::ComTestServer()
{
    core::com::enterApartment();
    if (QProcess::execute(QStringLiteral("regsvr32"), {QStringLiteral("/s"), serverPath()}) != 0) {
        throw std::runtime_error("regsvr32 failed");
    }
    m_module = LoadLibraryW(reinterpret_cast<const wchar_t*>(serverPath().utf16()));
    if (!m_module) {
        throw std::runtime_error("orvcomtest.dll was not loaded");
    }
    for (const char* className : {"ErrorReporting.General", "TaskEditor", "OrvTest.Recorder"}) {
        log(QString::fromLatin1(className)) = {};
    }
}

ComTestServer::~ComTestServer()
{
    QProcess::execute(QStringLiteral("regsvr32"), {QStringLiteral("/s"), QStringLiteral("/u"), serverPath()});
    // The module stays loaded: objects COM made from it may still be released later in the process.
}

ComComponentLog& ComTestServer::log(const QString& className)
{
    using Accessor = ComComponentLog* (*)(const wchar_t*);
    const auto accessor =
        reinterpret_cast<Accessor>(reinterpret_cast<void*>(GetProcAddress(m_module, "orvComTestLog")));
    if (!accessor) {
        throw std::runtime_error("orvcomtest.dll has no orvComTestLog");
    }
    return *accessor(reinterpret_cast<const wchar_t*>(className.utf16()));
}

} // namespace testsupport
