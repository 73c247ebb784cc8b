#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace core {

// Error numbers the system gives meaning to.
namespace errc {
constexpr int InvalidProcedureCall = 5;
constexpr int TypeMismatch = 13;
constexpr int InvalidUseOfNull = 94;
// The database library's number for a statement on a closed or broken connection.
constexpr int ClosedConnection = 3709;
// Generic provider error, used when the database gives no number of its own.
constexpr int ProviderError = -2147217900;
} // namespace errc

// An error as the handlers see it: a number (0 = no error) and a description.
struct ErrorValue {
    int number = 0;
    QString description;
};

// Thrown by procedures that fail; caught by the handler of the procedure that traps it.
class Error : public std::exception
{
public:
    Error(int number, const QString& description);
    explicit Error(const ErrorValue& value);

    const ErrorValue& value() const noexcept { return m_value; }
    int number() const noexcept { return m_value.number; }
    const QString& description() const noexcept { return m_value.description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    ErrorValue m_value;
    QByteArray m_what;
};

// The error behind the exception being handled; call only inside a catch block.
// core::Error keeps its number; other exceptions become InvalidProcedureCall with their text.
ErrorValue currentError();

} // namespace core
