#include "platform/automation/AutomationError.h"

namespace automation {

AutomationError::AutomationError(int number, QString description, QString source)
    : std::runtime_error(QStringLiteral("%1: %2").arg(number).arg(description).toStdString()),
      number_(number), description_(std::move(description)), source_(std::move(source)) {}

QString standardDescription(int number) {
    switch (number) {
    case err::InvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow: return QStringLiteral("Overflow");
    case err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case err::TypeMismatch: return QStringLiteral("Type mismatch");
    case err::ObjectNotSet: return QStringLiteral("Object variable not set");
    case err::InvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case err::ObjectRequired: return QStringLiteral("Object required");
    case err::CannotCreateObject: return QStringLiteral("Cannot create object");
    case err::MemberNotFound: return QStringLiteral("Object doesn't support this property or method");
    case err::WrongArgumentCount: return QStringLiteral("Wrong number of arguments or invalid property assignment");
    case err::PropertyWriteOnly: return QStringLiteral("Property is write-only");
    case err::PropertyReadOnly: return QStringLiteral("Property is read-only");
    case err::BofOrEof:
        return QStringLiteral("Either BOF or EOF is True, or the current record has been deleted.");
    case err::ItemNotFound:
        return QStringLiteral("Item cannot be found in the collection corresponding to the requested name.");
    case err::OperationNotAllowed: return QStringLiteral("Operation is not allowed in this context.");
    case err::RowChanged:
        return QStringLiteral("Row cannot be located for updating: it was changed since it was read.");
    case err::ConnectionLost: return QStringLiteral("The connection to the database was lost.");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

void raise(int number, const QString& detail) {
    QString text = standardDescription(number);
    if (!detail.isEmpty()) text += QStringLiteral(": ") + detail;
    throw AutomationError(number, text);
}

}  // namespace automation
