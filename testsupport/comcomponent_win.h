#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <windows.h>

namespace testsupport {

// One call an automation test object received: the method and its arguments in their natural order, each as
// the VARIANT type it came in and its value read straight from the VARIANT (a BSTR's text to its stored length,
// VT_I4 and VT_BOOL as int, so VARIANT_TRUE reads -1, VT_DATE as its double).
struct ComCall {
    QString method;
    QList<VARTYPE> types;
    QVariantList arguments;
};

// A VARIANT's value as a ComCall records it (VT_R8 as its double too); nothing for other types.
QVariant rawValue(const VARIANT& value);

// What the objects of a test component share: the calls, how many objects were made and are still held, and
// the scripted answer to every call.
struct ComComponentLog {
    QList<ComCall> calls;
    int created = 0;
    int alive = 0;
    // Each call's result: an int (VT_I4), QString (VT_BSTR), bool (VT_BOOL) or nothing.
    QVariant result;
    // Non-zero: each call raises an error with this code and description (DISP_E_EXCEPTION).
    HRESULT raise = S_OK;
    QString raisedDescription;
};

// A fresh automation object with the named methods, recording its calls in log; the caller owns its one reference.
IDispatch* newRecordingObject(ComComponentLog& log, const QStringList& methods);

// The test component: an in-process server (orvcomtest.dll) registered in the test's Wine prefix with regsvr32 for
// as long as this lives, as an office registers its components. Its classes record the calls they receive:
// - "ErrorReporting.General", the error-reporting component (method Report);
// - "OrvTest.Recorder", a probe of the dispatcher (methods Report and Answer);
// - a task editor with the custom interface of the office's (TaskEditorIds, as the machine settings name it), whose
//   OpenRecord reads the record's tarefa_id, calls its owner's RemoteKey(ID, 4003) and setTrayIcon(2, "Aberta no
//   editor"), and records "OpenRecord" with the field's value, the ID's VARIANT type and value, both texts, whether
//   an owner came, and the three numbers.
class ComTestServer
{
public:
    static const QString TaskEditorIds;
    static const QString UnregisteredIds; // a class no one registered

    ComTestServer();
    ComTestServer(const ComTestServer&) = delete;
    ComTestServer& operator=(const ComTestServer&) = delete;
    ~ComTestServer();

    // The calls the objects of one class received ("ErrorReporting.General", "TaskEditor", "OrvTest.Recorder"),
    // and the answers they give. The logs live as long as the process; each server starts them cleared.
    ComComponentLog& log(const QString& className);

private:
    HMODULE m_module = nullptr;
};

} // namespace testsupport
