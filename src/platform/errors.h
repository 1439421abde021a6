#pragma once
#include <QString>
#include <stdexcept>

namespace kelvor {

// Numbered run-time errors. The survey crews' files and messages have always
// carried these numbers (a message often shows the number alone), so a rule
// raises RunError with one of them and the command at the edge decides how
// the person sees it.
namespace err {
constexpr int InvalidArgument = 5;
constexpr int Overflow = 6;
constexpr int DivisionByZero = 11;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int InputPastEnd = 62;
constexpr int DiskFull = 61;
constexpr int BadFileMode = 54;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int DeviceUnavailable = 68;
constexpr int BadFileFormat = 321;   // a data file holding control bytes: not text
constexpr int NoServer = 429;        // automation server not running
constexpr int CannotOpenDocument = 5174; // the document host cannot open the file
constexpr int NoSuchItem = 5941;     // a paragraph, table or cell the document lacks
constexpr int ObjectDefined = 1004;  // the spreadsheet refused a call
constexpr int Automation = -2145386493; // generic failure of a drawing call
} // namespace err

class RunError : public std::runtime_error {
public:
    explicit RunError(int number, const QString& description = QString());
    int number() const { return number_; }
    QString description() const { return description_; }

private:
    int number_;
    QString description_;
};

// The standard English description of an error number ("Type mismatch").
QString errorDescription(int number);

// What the number means, in the Chinese the crews' systems have always
// shown ("类型不匹配").
QString errorReason(int number);

// The error as a message shows it: its Chinese reason, then in brackets the
// words the raiser added (a file, a line, a library's own text), when it
// added any: "路径/文件访问错误（d:\b.xlsx: not a zip package）".
QString errorText(const RunError& e);

[[noreturn]] void raise(int number, const QString& description = QString());

} // namespace kelvor
