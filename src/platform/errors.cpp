#include "errors.h"

namespace kelvor {

QString errorDescription(int number)
{
    switch (number) {
    case 5: return QStringLiteral("Invalid procedure call or argument");
    case 6: return QStringLiteral("Overflow");
    case 9: return QStringLiteral("Subscript out of range");
    case 11: return QStringLiteral("Division by zero");
    case 13: return QStringLiteral("Type mismatch");
    case 52: return QStringLiteral("Bad file name or number");
    case 53: return QStringLiteral("File not found");
    case 54: return QStringLiteral("Bad file mode");
    case 55: return QStringLiteral("File already open");
    case 57: return QStringLiteral("Device I/O error");
    case 58: return QStringLiteral("File already exists");
    case 61: return QStringLiteral("Disk full");
    case 62: return QStringLiteral("Input past end of file");
    case 321: return QStringLiteral("Invalid file format");
    case 68: return QStringLiteral("Device unavailable");
    case 70: return QStringLiteral("Permission denied");
    case 75: return QStringLiteral("Path/File access error");
    case 76: return QStringLiteral("Path not found");
    case 91: return QStringLiteral("Object variable or With block variable not set");
    case 429: return QStringLiteral("ActiveX component can't create object");
    case 5174: return QStringLiteral("This file could not be found");
    case 5941: return QStringLiteral("The requested member of the collection does not exist");
    case 1004: return QStringLiteral("Application-defined or object-defined error");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

RunError::RunError(int number, const QString& description)
    : std::runtime_error(QStringLiteral("error %1: %2")
                             .arg(number)
                             .arg(description.isEmpty() ? errorDescription(number) : description)
                             .toStdString())
    , number_(number)
    , description_(description.isEmpty() ? errorDescription(number) : description)
{
}

void raise(int number, const QString& description)
{
    throw RunError(number, description);
}

} // namespace kelvor
