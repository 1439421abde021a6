#include "about_texts.h"

#include <QtGlobal>

namespace kelvor::tools {

namespace {

// Only what is true of this build: no maker, address or number is invented.
QString buildLines()
{
    return aboutAuthorsLine() + QStringLiteral("\r\n") + aboutTelephoneLine();
}

} // namespace

QString aboutVersion()
{
    return QStringLiteral(KELVOR_VERSION);
}

QString aboutAuthorsLine()
{
    return QStringLiteral("Kelvor 测量内业工具箱 ") + aboutVersion();
}

QString aboutTelephoneLine()
{
    return QStringLiteral("许可：以 Qt %1 构建，Qt 按 GNU LGPL v3 许可使用").arg(QString::fromLatin1(qVersion()));
}

QString aboutEmailText()
{
    return QStringLiteral("本程序没有电子邮箱。\r\n\r\n") + buildLines();
}

QString aboutEmailRequestText()
{
    return aboutEmailText();
}

QString aboutContactText()
{
    return buildLines();
}

} // namespace kelvor::tools
