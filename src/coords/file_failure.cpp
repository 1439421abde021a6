#include "file_failure.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"

namespace kelvor::coords {

void showErrNumber(Context& ctx, int number)
{
    ctx.ui().message(QStringLiteral("Err:") + SignedNumberText(number));
}

void reportFileFailure(Context& ctx, int number)
{
    if (number == FileAlreadyOpen)
        ctx.ui().message(QStringLiteral("文件正在使用！"), QStringLiteral("错误"), Icon::Critical);
    else if (number == err::InputPastEnd || number == err::BadFileFormat)
        ctx.ui().message(QStringLiteral("文件数据为空或格式不对！"), QStringLiteral("错误"), Icon::Critical);
    else
        showErrNumber(ctx, number);
}

} // namespace kelvor::coords
