#pragma once

namespace kelvor {
class Context;
}

// Small drawing routines of the main window that no menu, button or command
// starts; reachable by name only. Each attaches to the host itself (no
// message when none runs) and shows no progress.
namespace kelvor::drafting {

// The first failing call ends these silently.
void EraseColourOneEntities(Context& ctx); // own colour 1 only: ByLayer on a red layer stays
void HighlightPickedInRed(Context& ctx);
void RecolourDefaultValueEight(Context& ctx);
void InsertCircleBlock(Context& ctx);
void EraseRedGcdTexts(Context& ctx);

// These pass over every failing call.
void ShowObjectNames(Context& ctx);
void ShowHandles(Context& ctx);
void ShowOsmodeSetPickbox(Context& ctx);
void EnlargeCircles(Context& ctx);

} // namespace kelvor::drafting
