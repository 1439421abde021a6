#include "relief/commands.h"

#include "platform/commands.h"
#include "relief/height_check.h"

namespace kelvor::relief {

void registerReliefCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("laheightcheck"), laheightcheck_Click);
}

} // namespace kelvor::relief
