#pragma once
// The SCAS parcel record on its marker line and the title block of the
// parcel map: which title-block cell fills which record item. SCAS lies
// outside this program; the items it keeps that are not written here pass
// through unchanged.
#include "cad/model/geometry.h"
#include "cad/model/xdata.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

// The thickness that marks the record line, read by its leading number as
// text, so 1500088.5 is no marker.
constexpr double kRecordMarker = 1500088;
bool isRecordMarker(double thickness);

// A record value as text: texts as stored, numbers in general decimal text.
QString recordValueText(const QVariant& value);

// The two layouts; a record may be of both. R14: item 29 exists and its
// leading number is 1. 2004: item 0, trimmed of blanks, is "地籍图号".
enum class RecordLayout { R14, V2004 };
bool isLayout(const cad::XData& record, RecordLayout layout);
// Fewer than five items (no item 4): the update refuses the record.
bool isUsableRecord(const cad::XData& record);

// The blocks the title block is inserted as.
inline const QString kTitleBlockNames = QStringLiteral("ACDJTK6B,ACDJTK8B");

constexpr int kCellCount = 8;
// A cell's window: top-left corner dx right of and dy below the insertion
// point, w wide and 5.946 high; its four corners as twelve coordinates
// (top-left, bottom-left, bottom-right, top-right, all at z 0). The
// reference's scale and rotation are not applied. cell counts from 1.
std::vector<double> titleCellPolygon(const cad::Point& insertion, int cell);
// The text a cell gives from the texts lying inside it, in selection order:
// the last, for cell 3 the first; "" for none.
QString titleCellText(int cell, const QStringList& textsInside);

using TitleCells = std::array<QString, kCellCount>; // cells 1..8 at 0..7

// The record with the layout's writes: cells 2-8 (and cell 1, the right
// holder's name, when replaceName), the copied item and the emptied item,
// each with group code 1000. A write at or beyond the record's end is
// skipped: the record keeps its length.
cad::XData updatedRecord(cad::XData record, RecordLayout layout, const TitleCells& cells, bool replaceName);

// 宗地属性修改 [SCAS]: the title block's texts into the record of the first
// marker line, after asking whether the name is replaced.
void zhongdishuxingxiugai_Click(Context& ctx);

} // namespace kelvor::landuse
