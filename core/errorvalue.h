#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace core {

// The error numbers the system gives meaning to: the one table of them. Each library throws these
// numbers with the descriptions standardError gives, so handlers and tests compare numbers only.
namespace errc {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int TypeMismatch = 13;
constexpr int InvalidUseOfNull = 94;
constexpr int InvalidPropertyValue = 380;
constexpr int InvalidPropertyArrayIndex = 381;
constexpr int CannotCreateObject = 429;
constexpr int NotSupported = 438;
// The registry's store: a file that cannot be read as registry text, or cannot be locked or written.
constexpr int BadDatabase = 1009;
constexpr int IoFailed = 1016;
// The database library: result sets and connections.
constexpr int NoCurrentRecord = 3021;
constexpr int ItemNotFound = 3265;
constexpr int ObjectClosed = 3704;
constexpr int ObjectOpen = 3705;
// A statement on a closed or broken connection.
constexpr int ClosedConnection = 3709;
// List controls: a position that holds no row, a key given twice.
constexpr int IndexOutOfBounds = 35600;
constexpr int KeyNotUnique = 35602;
// The workstation's clock differs from the database server's by more than a minute.
constexpr int ClockSkew = 40001;
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

// The error with the system's own description of number; a number without one gets "Application-defined
// or object-defined error".
Error standardError(int number);

// The error behind the exception being handled; call only inside a catch block.
// core::Error keeps its number; other exceptions become InvalidProcedureCall with their text.
ErrorValue currentError();

} // namespace core
