#include "about_texts.h"

namespace kelvor::tools {

namespace {

QString emailLines()
{
    return QStringLiteral("Email:maker@example.com\r\nEmail:support@example.org");
}

} // namespace

QString aboutAuthorsLine()
{
    return QStringLiteral("程序设计：Kelvor 开发组");
}

QString aboutTelephoneLine()
{
    return QStringLiteral("联系电话：000-00000000");
}

QString aboutEmailText()
{
    return QStringLiteral("联系：\r\n\r\n") + emailLines();
}

QString aboutEmailRequestText()
{
    return QStringLiteral("用户将请求以Email方式发送到以下的地址，作者视情况\r\n不定期将程序的最新版本传给用户。\r\n\r\n")
        + emailLines();
}

QString aboutContactText()
{
    return QStringLiteral("单位：Kelvor 开发组\r\n地址：（通信地址）\r\n电话：000-00000000\r\n传真：000-00000001");
}

} // namespace kelvor::tools
