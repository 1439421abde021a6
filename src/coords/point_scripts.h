#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
namespace cad {
class Document;
}
} // namespace kelvor

// The point-symbol block "点位符号" and the two layouts of zd.scr, the
// script the person runs with SCRIPT: AutoCAD text and symbol per point, or
// a CASS control point per point. Points are written "Y,X" (drawing x is
// the easting), values as typed.
namespace kelvor::coords {

extern const QString kPointSymbol; // "点位符号"

// Defines "点位符号" in doc (base (0, 0, 0)): a 5 x 5 square of four lines
// clockwise from (-2.5, 2.5), then a point at the base. A drawing that
// already has the block keeps it as it is. Host failures reach the caller.
void definePointSymbol(cad::Document& doc);

// The 11 script lines of one coordinate line (name, X, Y): TEXT of the
// name at the point, height 10, rotation 0; INSERT of the symbol there
// with default scales and rotation. A blank line still gives 11 lines.
QStringList pointSymbolScript(const QString& line);

// The CASS control-point code of the menu entry: 0 等级点 "131500",
// 1 非埋石点 "131800", 2 埋石点 "131700".
QString controlPointCode(int index);

// The 5 script lines of one coordinate line (name, X, Y, H): "DD", the
// code, the point, H (empty when missing), the name.
QStringList controlPointScript(const QString& line, const QString& code);

// Whether the point name is chosen by the answer to 请输入要绘制的符号标识:
// exactly "所有" takes every point; otherwise the trimmed answer is a
// prefix of the name, letter case ignored (an empty answer takes all).
bool prefixSelects(const QString& name, const QString& answer);

// Where the scripts go: "zd.scr" in the program's folder.
QString zdScrPath();

// 创建点位符号; public: the boundary-point window calls it too.
void jlblock_Click(Context& ctx);
// 生成展点文件.
void outfilezb_Click(Context& ctx);
// 等级点 / 非埋石点 / 埋石点 (index 0 to 2).
void djdaoxiao_Click(Context& ctx, int index);

} // namespace kelvor::coords
