#include "commands2.h"

#include "platform/commands.h"

namespace kelvor::quelt {

void registerQuelt2Commands(CommandRegistry&)
{
}

} // namespace kelvor::quelt
