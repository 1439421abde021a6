#pragma once

namespace kelvor {
class WindowRegistry;
}

namespace kelvor::drafting {

// The drafting windows: insdwg, plotdwg.
void registerDraftingWindows(WindowRegistry& windows);

} // namespace kelvor::drafting
