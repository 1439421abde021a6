#include "commands.h"

#include "export.h"

#include "platform/commands.h"

namespace kelvor::quelt {

void registerQueltCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("Command12"), Command12_Click);
}

} // namespace kelvor::quelt
