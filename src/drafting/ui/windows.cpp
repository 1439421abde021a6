#include "drafting/ui/windows.h"

#include "drafting/ui/insdwg.h"
#include "drafting/ui/plotdwg.h"
#include "platform/windows.h"

namespace kelvor::drafting {

void registerDraftingWindows(WindowRegistry& windows)
{
    windows.addWindow<Insdwg>(QStringLiteral("insdwg"));
    windows.addWindow<Plotdwg>(QStringLiteral("plotdwg"), false);
}

} // namespace kelvor::drafting
