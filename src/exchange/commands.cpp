#include "commands.h"

#include "datafile_edit.h"
#include "levelling.h"
#include "observation_text.h"
#include "report_coords.h"

#include "platform/commands.h"

namespace kelvor {

void registerExchangeCommands(CommandRegistry& registry)
{
    using namespace exchange;
    registry.add(QStringLiteral("dushujiancha"), dushujiancha_Click);
    registry.add(QStringLiteral("batoutcgb"), batoutcgb_Click);
    registry.add(QStringLiteral("hubinggcsj"), hubinggcsj_Click);
    registry.add(QStringLiteral("huoqucezhanshu"), huoqucezhanshu_Click);
    registry.add(QStringLiteral("findchongfucezhan"), findchongfucezhan_Click);
    registry.add(QStringLiteral("huoquyichengguo"), huoquyichengguo_Click);
    registry.add(QStringLiteral("printoutgxb"), printoutgxb_Click);
}

} // namespace kelvor
