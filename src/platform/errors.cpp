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

QString errorReason(int number)
{
    switch (number) {
    case 5: return QStringLiteral("无效的过程调用或参数");
    case 6: return QStringLiteral("溢出");
    case 9: return QStringLiteral("下标越界");
    case 11: return QStringLiteral("除数为零");
    case 13: return QStringLiteral("类型不匹配");
    case 52: return QStringLiteral("错误的文件名或号码");
    case 53: return QStringLiteral("文件未找到");
    case 54: return QStringLiteral("错误的文件方式");
    case 55: return QStringLiteral("文件已打开");
    case 57: return QStringLiteral("设备 I/O 错误");
    case 58: return QStringLiteral("文件已存在");
    case 61: return QStringLiteral("磁盘已满");
    case 62: return QStringLiteral("输入超出文件尾");
    case 321: return QStringLiteral("无效的文件格式");
    case 68: return QStringLiteral("设备不可用");
    case 70: return QStringLiteral("没有权限");
    case 75: return QStringLiteral("路径/文件访问错误");
    case 76: return QStringLiteral("路径未找到");
    case 91: return QStringLiteral("对象变量或 With 块变量没有设置");
    case 429: return QStringLiteral("ActiveX 部件不能创建对象");
    case 5174: return QStringLiteral("无法打开此文件");
    case 5941: return QStringLiteral("集合所要求的成员不存在");
    case err::Automation: return QStringLiteral("图形操作失败");
    default: return QStringLiteral("应用程序定义或对象定义错误");
    }
}

QString errorText(const RunError& e)
{
    const QString added = e.description();
    if (added.isEmpty() || added == errorDescription(e.number()))
        return errorReason(e.number());
    return errorReason(e.number()) + QStringLiteral("（") + added + QStringLiteral("）");
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
