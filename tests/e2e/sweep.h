#pragma once
#include <QString>
#include <vector>

namespace kelvor::sweep {

// The checks a run can break, by the names the report prints.
inline const char* const kNeverEnds = "never ends";
inline const char* const kCrash = "crash";
inline const char* const kInternalError = "internal error";
inline const char* const kBadDrawing = "bad drawing";
inline const char* const kOutsideHome = "outside home";
inline const char* const kTempLeft = "temp left";
inline const char* const kOldChanged = "old file changed";
inline const char* const kEmptyMessage = "empty message";
inline const char* const kNamedMissing = "named file missing";
inline const char* const kJunkSuccess = "success on bad input";
inline const char* const kMalformed = "malformed plan";

struct Expectation {
    QString item;    // "*": any
    QString check;
    QString detail;  // a part of the broken check's detail; "": any
    bool openFault;  // a fault not mended yet, as opposed to behaviour as designed
    QString reason;
};
const std::vector<Expectation>& expectations();

} // namespace kelvor::sweep
