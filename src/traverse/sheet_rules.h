#pragma once
#include <QString>

namespace kelvor {
class CommandRegistry;
class Context;
} // namespace kelvor

namespace kelvor::traverse {

class TraverseSheet;

// Virtual-key codes the sheet's key rules name.
namespace vk {
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Delete = 46;
} // namespace vk

// Where the focus goes after a key of the sheet.
struct SheetFocus {
    enum Box { Stay, Known, Cell, ClearButton };
    enum Caret { SelectAll, Start, End };
    Box box = Stay;
    int index = -1; // Text1 or Text5 index
    Caret caret = SelectAll;

    bool operator==(const SheetFocus&) const = default;
};

// The outcome of a key: the focus move, and whether the key is taken so
// that the box's own editing does not see it.
struct SheetKeyEffect {
    SheetFocus focus;
    bool taken = false;
};

// The next tab stop after Text1(i) / Text5(k): hidden cells are skipped,
// cell 109 is followed by the button Command9 ("清空").
SheetFocus nextAfterKnown(int i);
SheetFocus nextAfterCell(const TraverseSheet& sheet, int k);

// Keys in a known-point box Text1(i). shiftOnly: Shift held, no Ctrl/Alt.
SheetKeyEffect knownBoxKey(TraverseSheet& sheet, int i, int key, bool shiftOnly);

// Keys in a cell Text5(k); caretAtStart / caretAtEnd describe the caret in
// that cell (both true in an empty cell).
SheetKeyEffect cellKey(TraverseSheet& sheet, int k, int key, bool caretAtStart, bool caretAtEnd);

// 清空 (Command9): asks, clears on Yes; no row label stays red either way.
void Command9_Click(Context& ctx);

// Double-click on column header Text21(h): for the target-height columns
// (5 and 8) adds a constant the user types to every shown cell of the
// column, three decimals kept.
void Text21_DblClick(Context& ctx, int h);

// 角度值取位 [奇进偶不进]: every angle cell of the sheet, shown or hidden,
// rounded odd-up even-down to four decimals. A cell the rounding gives no
// value for keeps its text.
void shuijiqiqwijjobj_Click(Context& ctx);

// Adds the sheet's own commands to the registry, by item name: Command9,
// Command10, Command11, Command34, newfile, printsj, Label39,
// tiquyizhidianshuiju, shuijiqiqwijjobj.
void registerSheetCommands(CommandRegistry& registry);

} // namespace kelvor::traverse
