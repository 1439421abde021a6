#pragma once
#include "platform/errors.h"

#include <QString>
#include <QVariant>
#include <vector>

namespace kelvor::cad {

// Failures of the drawing calls. The numbers are those commands see in
// RunError::number(); a command's handler decides what the user sees.
namespace fail {
constexpr int NoMember = 438;                 // the entity kind lacks this property or method
constexpr int Failed = err::Automation;       // a drawing call refused (bad value, missing name ...)
constexpr int Erased = -2145386420;           // the entity was deleted
constexpr int LockedLayer = -2145386395;      // the entity is on a locked layer
constexpr int NotFound = -2145386476;         // no item of that name or index
constexpr int Duplicate = -2145386475;        // an item of that name exists already
constexpr int Cancelled = -2145320918;        // Esc or an empty pick on the command line
constexpr int NullInput = -2145320928;        // Enter where a value was wanted
constexpr int Keyword = -2145320929;          // a keyword answered a point or number question
} // namespace fail

[[noreturn]] void fault(int number, const QString& what);

// One extended-data item: a group code (1000 text, 1001 application name,
// 1002 "{" or "}", 1003 layer, 1004 binary, 1005 handle, 1010-1013 points,
// 1040-1042 reals, 1070 16-bit integer, 1071 32-bit integer) and its value:
// a QString for texts, a double for reals, an int for integers, a
// QVariantList of three doubles for points.
struct XDataItem {
    int code = 0;
    QVariant value;
    friend bool operator==(const XDataItem& a, const XDataItem& b) { return a.code == b.code && a.value == b.value; }
};
using XData = std::vector<XDataItem>;

inline XDataItem xstr(int code, const QString& text) { return {code, QVariant(text)}; }

// What kind of value a group code carries (extended data and DXF alike).
enum class ValueKind { Text, Real, Int, Point, Handle };
ValueKind xdataValueKind(int code);

} // namespace kelvor::cad
