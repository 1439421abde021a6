#pragma once
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kelvor {
class CommandRegistry;
class Context;
}

// The rules behind the main window's toolbar and the floating bar, kept
// apart from their widgets. Sizes and places are in twips.
namespace kelvor::app {

// ---- Toolbar1

// The registry item a toolbar key runs ("shengchenglinshikuai(0)" for
// "建立临时块"); "" for the compact switch "参数设定" and for unknown keys.
QString toolbarItem(const QString& key);
// The key of the button that switches the compact toolbar mode.
QString compactKey();

// What the compact switch does for the current Toolbar1.Tag.
struct CompactSwitch {
    bool change = false;      // false: the tag is neither "0" nor "1"
    bool topmost = false;     // keep the window above all others
    QString caption;
    bool compactHeight = false; // height = toolbar + kCompactExtraTwips, else kNormalHeightTwips
    QString tag;              // the new Toolbar1.Tag
};
CompactSwitch compactSwitch(const QString& tag);
constexpr int kCompactExtraTwips = 800;
constexpr int kNormalHeightTwips = 7965;

// ---- the floating bar

constexpr int kFloatWidth = 915;
constexpr int kFloatHeight = 1590;
constexpr int kFloatHandOverMs = 350;

// Name of the main-window menu the first picture pops up for Form1.Tag
// ("south", "guangwugaoshu", "tools"); "" for none.
QString floatMenuName(const QString& formTag);
// Where a new bar opens: flush right, 500 above the bottom of the screen.
QPoint floatBarHome(const QSize& screen, const QSize& bar);
// Where the bar rests after a drag released at topLeft.
QPoint snapFloatBar(const QPoint& topLeft, const QSize& bar, const QSize& screen);

// 开启浮动条: shows the floating bar (the window "float").
void openfudongqiao_Click(Context& ctx);
// The hand-over 350 ms after opening, on the CAD side: attach without a
// message and bring the host forward (visible, activated, maximised).
void floatHandOver(Context& ctx);
// 退出本系统: ends the program at once, storing no setting.
void floatExit(Context& ctx);
// Joins the dropped files, in order, into WINDIR\watch.txt and shows it. A
// file that cannot be read is reported and passed over; an empty one adds
// no line. Nothing is shown when watch.txt itself cannot be written.
void joinDroppedFiles(Context& ctx, const QStringList& files);

// ---- the CAD host's menu bar

// 创建工具栏: adds the pull-down menu "集成功能" to the running host.
void CADtogongjulan_Click(Context& ctx);

// openfudongqiao and CADtogongjulan.
void registerBarCommands(CommandRegistry& registry);

} // namespace kelvor::app
