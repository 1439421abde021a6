#include "platform/errors.h"

#include <gtest/gtest.h>

using namespace kelvor;

// What a person reads for a failure: the Chinese reason, and the library's
// own words in brackets only when they add something.
TEST(Errors, TextGivesTheChineseReasonAndWhatTheLibraryAdded)
{
    const struct {
        int number;
        QString description;
        QString shown;
    } cases[] = {
        {err::BadFileFormat, QString(), QStringLiteral("无效的文件格式")},
        {61, QString(), QStringLiteral("磁盘已满")},
        {75, QStringLiteral("book.xlsx: not a zip package"), QStringLiteral("路径/文件访问错误（book.xlsx: not a zip package）")},
        {4242, QString(), QStringLiteral("应用程序定义或对象定义错误")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorText(RunError(c.number, c.description)), c.shown) << c.number;
}
