#include "core/com/dispatcher_win.h"

#include "core/com/apartment_win.h"
#include "core/com/bstr_win.h"
#include "core/com/variant_win.h"
#include "core/errorvalue.h"

#include <vector>

namespace core::com {
namespace {

// The error an automation call raised, with the fields its EXCEPINFO owns freed.
Error raisedError(EXCEPINFO& info)
{
    if (info.pfnDeferredFillIn) {
        info.pfnDeferredFillIn(&info);
    }
    QString description = Bstr::toQString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    const int number = info.wCode != 0 ? int(info.wCode) : int(info.scode);
    if (description.isEmpty()) {
        description = QStringLiteral("Automation error %1").arg(describeResult(info.scode));
    }
    return Error(number, description);
}

} // namespace

QString describeResult(HRESULT result)
{
    QString text = QStringLiteral("0x") + QString::number(quint32(result), 16).toUpper().rightJustified(8, u'0');
    wchar_t* message = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, DWORD(result), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    if (length > 0 && message) {
        text += QLatin1Char(' ') + QString::fromWCharArray(message, int(length)).trimmed();
    }
    LocalFree(message);
    return text;
}

Dispatcher::Dispatcher(ComRef<IDispatch> object)
    : m_object(std::move(object))
{}

Dispatcher Dispatcher::create(const QString& progId)
{
    enterApartment();
    const auto cannotCreate = [&progId](const QString& why, HRESULT result) {
        return Error(errc::CannotCreateObject, QStringLiteral("%1: %2 %3 (%4)")
                                                   .arg(standardError(errc::CannotCreateObject).description(), progId,
                                                        why, describeResult(result)));
    };
    CLSID classId{};
    HRESULT result = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.utf16()), &classId);
    if (FAILED(result)) {
        throw cannotCreate(QStringLiteral("is not registered"), result);
    }
    ComRef<IDispatch> object;
    result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(object.out()));
    if (FAILED(result) || !object) {
        throw cannotCreate(QStringLiteral("could not be created"), result);
    }
    return Dispatcher(std::move(object));
}

QVariant Dispatcher::call(const QString& name, const QVariantList& arguments)
{
    Bstr text(name);
    LPOLESTR names[] = {text.get()};
    DISPID member = DISPID_UNKNOWN;
    HRESULT hr = m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
    if (FAILED(hr)) {
        throw Error(errc::NotSupported,
                    QStringLiteral("%1: %2 (%3)")
                        .arg(standardError(errc::NotSupported).description(), name, describeResult(hr)));
    }

    // The converted arguments own their values; Invoke reads shallow copies, last argument first.
    std::vector<Variant> owned;
    owned.reserve(size_t(arguments.size()));
    for (auto argument = arguments.crbegin(); argument != arguments.crend(); ++argument) {
        owned.emplace_back(*argument);
    }
    std::vector<VARIANTARG> reversed;
    reversed.reserve(owned.size());
    for (const Variant& argument : owned) {
        reversed.push_back(*argument.get());
    }
    DISPPARAMS parameters{reversed.data(), nullptr, UINT(reversed.size()), 0};

    EXCEPINFO raised{};
    UINT badArgument = 0;
    Variant value;
    hr = m_object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, value.get(), &raised,
                          &badArgument);
    if (hr == DISP_E_EXCEPTION) {
        throw raisedError(raised);
    }
    if (FAILED(hr)) {
        throw Error(int(hr), QStringLiteral("Automation error calling %1: %2").arg(name, describeResult(hr)));
    }
    return value.toQVariant();
}

} // namespace core::com
