#pragma once
// The commands of the join-table window jhb: join tables above "ac45tk"
// (50 x 40 cm) or "ac50tk" (50 x 50 cm) frames inserted at the sheet's
// corner, in the active drawing, in chosen drawing files or in every
// drawing of a folder.
#include "sheets/join_table.h"

#include <QString>
#include <functional>

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

enum class FrameOption { Sheet5040, Sheet5050 };
QString frameBlockOf(FrameOption option);
JoinGeometry geometryOf(FrameOption option);

// The window's option as it stands when a command reads it.
using OptionReader = std::function<FrameOption()>;

// The active drawing; no zoom, no save, "OK！finish".
void AddJoinTableToDrawing(Context& ctx, const OptionReader& option);
// Drawing files chosen together in the file dialog, each opened, treated,
// saved and closed; "已经完成该操作!" once at the end.
void AddJoinTableToFiles(Context& ctx, const OptionReader& option);
// Every drawing of a picked folder, as AddJoinTableToFiles.
void jhbCommand2_Click(Context& ctx, const OptionReader& option);
// Files when ticked, else the active drawing; the tick is read twice, as the
// window's button always did.
void jhbCommand1_Click(Context& ctx, const std::function<bool()>& ticked, const OptionReader& option);

} // namespace kelvor::sheets
