#pragma once
// The join table above a sheet frame: eight texts naming the neighbouring
// sheets in a 3 x 3 box (the centre, the sheet itself, stays empty).
#include "cad/model/geometry.h"
#include "sheets/sheet_numbers.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}
namespace kelvor::cad {
class Block;
class Document;
}

namespace kelvor::sheets {

// Frame blocks; only a reference's insertion point is used. "ACDJTK6B" and
// "actkf1" stand 207.5 north of the sheet's south-west corner, "ac45tk" and
// "ac50tk" at the corner itself.
inline const QString kSingleFrameBlock = QStringLiteral("ACDJTK6B");
inline const QString kBatchFrameBlock = QStringLiteral("actkf1");
constexpr double kFrameAboveCorner = 207.5;

// North step of the neighbours and height of the table's base above the
// sheet's corner.
struct JoinGeometry {
    double northStep;
    double base;
};
constexpr JoinGeometry kSheet5040{200, 207.7}; // 50 x 40 cm sheets
constexpr JoinGeometry kSheet5050{250, 257.5}; // 50 x 50 cm sheets

// One cell's text and where its baseline starts.
struct JoinText {
    QString text;
    cad::Point at;
};

using SheetNaming = std::function<QString(const SheetCorner&)>;

// The eight cells in writing order (south-west, west, north-west, south,
// north, south-east, east, north-east) for the sheet whose corner is given,
// z being the frame's; numbers by naming (standard unless told otherwise).
std::vector<JoinText> joinTableTexts(const SheetCorner& corner, double z, const JoinGeometry& g,
                                     const SheetNaming& naming = StandardSheetNumber);

// Writes the cells into model space: height 0.8, width factor 0.8, layer
// "tk" (the current layer when the drawing lacks it), each redrawn.
// Refused steps are passed over.
void SheetJoinTable(cad::Block& modelSpace, const std::vector<JoinText>& cells);

// The insertion point of the first reference of the block that a select-all
// returns, through the scratch set "text" (left in the drawing); nullopt
// when there is none.
std::optional<cad::Point> SheetFrameBlock(cad::Document& doc, const QString& blockName);

// Deletes every TEXT in or touching the 22.5 x 12 table box whose lower-left
// corner is the frame's insertion point (scratch set "text1").
void clearJoinTableBox(cad::Document& doc, const cad::Point& frame);

// Menu CASS开发 "加图幅接合表[单个]": the table above the frame "ACDJTK6B" of
// the active drawing; no host or no frame: the missing-frame message.
void addtujhbgongshi_Click(Context& ctx);

// "无法找到Actkf1的块定义,操作无法进行！" titled "错误", whichever block was sought.
void showMissingFrame(Context& ctx);

} // namespace kelvor::sheets
