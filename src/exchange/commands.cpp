#include "commands.h"

#include "datafile_edit.h"
#include "levelling.h"
#include "observation_text.h"
#include "report_coords.h"
#include "word_documents.h"

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
    registry.add(QStringLiteral("hebingworddoc"), hebingworddoc_Click);
    registry.add(QStringLiteral("cezhanymtobiaoge"), cezhanymtobiaoge_Click);
    registry.add(QStringLiteral("tiquyimapcsj"), tiquyimapcsj_Click);
    registry.add(QStringLiteral("outputpcynumber"), outputpcynumber_Click);
    registry.add(QStringLiteral("shuchudangqiancg"), shuchudangqiancg_Click);
    registry.add(QStringLiteral("piliangoutcg"), piliangoutcg_Click);
}

} // namespace kelvor
