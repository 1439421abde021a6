#include "commands.h"

#include "pcy_exchange.h"
#include "platform/commands.h"
#include "platform/context.h"

namespace kelvor::coords {

void registerCoordsCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("fangshi2zbzh"), [](Context& ctx) {
        if (ctx.openWindow)
            ctx.openWindow(QStringLiteral("HuanDaiJiSuan"));
    });
    registry.add(QStringLiteral("zhuobiaohuandai1czsm"), zhuobiaohuandai1czsm);
    registry.add(QStringLiteral("zhuobiaohuandai1scjhwj"), zhuobiaohuandai1scjhwj);
    registry.add(QStringLiteral("zhuobiaohuandai1schdhwj"), zhuobiaohuandai1schdhwj);
}

} // namespace kelvor::coords
