#include "shell_commands.h"

#include "platform/context.h"

namespace kelvor {

void guanyu_Click(Context& ctx)
{
    openForm(ctx, QStringLiteral("Form2"));
}

void systemset_Click(Context& ctx)
{
    openForm(ctx, QStringLiteral("seting"));
}

void tishi_Click(Context& ctx)
{
    ctx.ui().message(QStringLiteral("请参考《Kelvor使用手册》"), QStringLiteral("帮助"), Icon::Exclamation);
}

void Command17_Click(Context& ctx)
{
    openForm(ctx, QStringLiteral("outExcelx"));
}

void dx_Click(Context&)
{
}

} // namespace kelvor
