#include "pcy_tools.h"

#include "app/routines/routines.h"
#include "platform/context.h"

namespace kelvor::exchange {

QString chooseOneFile(Context& ctx, const QString& title, const QString& filter)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    return TrimBlanks(ctx.ui().openFile(request));
}

QString failureNumber(int number)
{
    return QString::number(number);
}

} // namespace kelvor::exchange
