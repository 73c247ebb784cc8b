#include "core/com/bstr_win.h"

#include "core/errorvalue.h"

#include <utility>

namespace core::com {

Bstr::Bstr(const QString& text)
    : m_string(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()), UINT(text.size())))
{
    if (!m_string) {
        throw standardError(errc::OutOfMemory);
    }
}

Bstr::~Bstr()
{
    SysFreeString(m_string);
}

BSTR Bstr::detach()
{
    return std::exchange(m_string, nullptr);
}

QString Bstr::toQString(BSTR string)
{
    if (!string) {
        return QString();
    }
    return QString(reinterpret_cast<const QChar*>(string), qsizetype(SysStringLen(string)));
}

} // namespace core::com
