#pragma once

#include "core/com/comref_win.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <windows.h>

namespace core::com {

// Calls an automation object late bound: each method looked up by name and invoked as a method, its
// arguments converted as core::com::Variant converts them.
class Dispatcher
{
public:
    // Calls the object given (a test's own, or one reached by other means).
    explicit Dispatcher(ComRef<IDispatch> object);

    // A fresh object of the class registered under progId, in process or as a server of its own, created on
    // this thread's apartment (entered first). Throws core::Error CannotCreateObject (429) when progId is not
    // registered or its class cannot be created; the description names the ProgID and the system's reason.
    static Dispatcher create(const QString& progId);

    // Calls method with arguments in their natural order (handed over in reverse, as IDispatch::Invoke takes
    // them) and returns its result, an invalid QVariant when it gives none. Throws core::Error NotSupported (438)
    // when the object has no such name; the component's own number and description when it raised an error;
    // otherwise the failure's HRESULT as the number.
    QVariant call(const QString& method, const QVariantList& arguments = {});

private:
    ComRef<IDispatch> m_object;
};

// "0x80040154" and the system's text for it, when it has one.
QString describeResult(HRESULT result);

} // namespace core::com
