#include "core/errorvalue.h"

#include <QHash>

namespace core {

Error::Error(int number, const QString& description)
    : Error(ErrorValue{number, description})
{}

Error::Error(const ErrorValue& value)
    : m_value(value)
    , m_what(QStringLiteral("Error %1: %2").arg(value.number).arg(value.description).toUtf8())
{}

Error standardError(int number)
{
    static const QHash<int, QString> descriptions{
        {errc::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument")},
        {errc::Overflow, QStringLiteral("Overflow")},
        {errc::OutOfMemory, QStringLiteral("Out of memory")},
        {errc::TypeMismatch, QStringLiteral("Type mismatch")},
        {errc::InvalidUseOfNull, QStringLiteral("Invalid use of Null")},
        {errc::InvalidPropertyValue, QStringLiteral("Invalid property value")},
        {errc::InvalidPropertyArrayIndex, QStringLiteral("Invalid property array index")},
        {errc::CannotCreateObject, QStringLiteral("ActiveX component can't create object")},
        {errc::NotSupported, QStringLiteral("Object doesn't support this property or method")},
        {errc::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted.")},
        {errc::IndexOutOfBounds, QStringLiteral("Index out of bounds")},
        {errc::KeyNotUnique, QStringLiteral("Key is not unique in collection")},
    };
    return Error(number, descriptions.value(number, QStringLiteral("Application-defined or object-defined error")));
}

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
