#include "core/errorvalue.h"

namespace core {

Error::Error(int number, const QString& description)
    : Error(ErrorValue{number, description})
{}

Error::Error(const ErrorValue& value)
    : m_value(value)
    , m_what(QStringLiteral("Error %1: %2").arg(value.number).arg(value.description).toUtf8())
{}

ErrorValue currentError()
{
    try {
        throw;
    } catch (const Error& e) {
        return e.value();
    } catch (const std::exception& e) {
        return {errc::InvalidProcedureCall, QString::fromLocal8Bit(e.what())};
    } catch (...) {
        return {errc::InvalidProcedureCall, QStringLiteral("Unknown error")};
    }
}

} // namespace core
