#pragma once
// The error object of late-bound calls: a number and a description, as the
// component runtime reports them. Every failed call by name, every failed
// conversion and every database failure surfaces as one of these.
#include <QString>
#include <stdexcept>

namespace automation {

// Numbers people reading a log will recognise from the original platform.
namespace err {
constexpr int InvalidCall = 5;          // invalid procedure call or argument
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int ObjectNotSet = 91;        // object variable not set
constexpr int InvalidUseOfNull = 94;
constexpr int ObjectRequired = 424;
constexpr int CannotCreateObject = 429;
constexpr int MemberNotFound = 438;
constexpr int WrongArgumentCount = 450;
constexpr int PropertyWriteOnly = 451;
constexpr int PropertyReadOnly = 383;
// Data access.
constexpr int BofOrEof = 3021;
constexpr int ItemNotFound = 3265;
constexpr int OperationNotAllowed = 3219;
constexpr int ProviderError = -2147467259;      // 0x80004005: the engine's own error
constexpr int RowChanged = -2147217864;          // 0x80040E38: optimistic update found the row changed
constexpr int ConnectionLost = -2147467260;      // our own: the server went away
constexpr int UserDefined = 1000;                // failures raised by a callee for its own reasons
}  // namespace err

class AutomationError : public std::runtime_error {
public:
    AutomationError(int number, QString description, QString source = QString());

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const QString& source() const { return source_; }

private:
    int number_;
    QString description_;
    QString source_;
};

// Standard descriptions for the platform numbers above.
QString standardDescription(int number);
[[noreturn]] void raise(int number, const QString& detail = QString());

}  // namespace automation
