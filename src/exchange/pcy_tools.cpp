#include "pcy_tools.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"

namespace kelvor::exchange {

QString chooseOneFile(Context& ctx, const QString& title, const QString& filter)
{
    CommonDialog dialog(ctx);
    dialog.setTitle(title).setFilter(filter).setMultiSelect(false);
    return TrimBlanks(dialog.showOpen());
}

QString failureNumber(int number)
{
    return QString::number(number);
}

} // namespace kelvor::exchange
