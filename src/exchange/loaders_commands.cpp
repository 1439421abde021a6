#include "loaders_commands.h"

#include "load_kzjl.h"
#include "load_pcy.h"
#include "load_sj.h"

#include "platform/commands.h"
#include "traverse/known_points.h"
#include "traverse/sheet.h"

namespace kelvor::exchange {

void registerLoaderCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("APPLOADPCY"), APPLOADPCY_Click);
    registry.add(QStringLiteral("callcassdx"), callcassdx_Click);
    registry.add(QStringLiteral("callcassdxmenu"), callcassdxmenu_Click);
    registry.add(QStringLiteral("removekzjlsj"), removekzjlsj_Click);
    registry.add(QStringLiteral("outcordnumber"), outcordnumber_Click);
}

void runKnownPointLookup(Context& ctx)
{
    traverse::Label39_DblClick(ctx);
}

void moveToLastStation(traverse::TraverseSheet& sheet, int stations)
{
    constexpr int LastName = 108;
    constexpr int LastAngle = 109;
    if (stations < 1 || stations >= 13)
        return;
    const int row = (stations - 1) * traverse::TraverseSheet::Columns;
    sheet.setText5(LastName, sheet.text5(row));
    sheet.setText5(LastAngle, sheet.text5(row + 1));
    sheet.setText5(row, QString());
    sheet.setText5(row + 1, QString());
}

} // namespace kelvor::exchange
