#include "platform/errors.h"

namespace platform {

RuntimeError::RuntimeError(ErrorNumber number) : number_(number) {}

QString RuntimeError::description() const {
    switch (number_) {
    case ErrorNumber::InvalidCall:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorNumber::Overflow:
        return QStringLiteral("Overflow");
    case ErrorNumber::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrorNumber::FloatingPoint:
        return QStringLiteral("Floating-point error");
    }
    // Only reachable through a cast of a number the enum does not name.
    return QStringLiteral("Application-defined or object-defined error");
}

QString RuntimeError::message() const {
    return QStringLiteral("Run-time error '%1':\n\n%2")
        .arg(static_cast<int>(number_))
        .arg(description());
}

void raise_error(ErrorNumber number) {
    throw RuntimeError(number);
}

} // namespace platform
