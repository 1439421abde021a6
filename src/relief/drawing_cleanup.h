#pragma once
// The clean-up commands of a CASS drawing: quality control, redundant
// polylines and the note texts.
#include <QString>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::relief {

// One row of the legacy layer map: a comma list of old layers (a layer
// filter value) and the CASS layer their entities move to.
struct LegacyLayerRow {
    QString legacy;
    QString target;
    QString progress;
};
// The eight rows, in the order they are worked through.
const std::vector<LegacyLayerRow>& legacyLayerMap();

// A place name that gets the standard note size: the text without its
// outer blanks is at least three characters long and ends in 厂, 村 or 司.
bool isPlaceName(const QString& text);

// What becomes of a polyline by its flat Coordinates list: more than four
// values are kept, fewer are a single vertex and go, exactly four (two
// lightweight vertices) go when both axes differ by less than 0.003.
bool isRedundantPolyline(const std::vector<double>& coordinates);

// The note rules, in order, each on what the one before left: a height
// above 1.75 becomes 1.75; 水泥 (or 水 泥) gets height 1.5 and rotation 0;
// 鱼 becomes （鱼）. Texts compare without their outer blanks. Empty
// members change nothing.
struct NoteChange {
    std::optional<double> height;
    std::optional<double> rotation;
    std::optional<QString> text;
};
NoteChange noteChange(const QString& text, double height);

// 图形质量控制 (massboss): the vegetation and attribute steps, the legacy
// layers onto the CASS layers, points deleted, a purge, place names resized.
void massboss_Click(Context& ctx);
// 删除冗余点 (deletelingbianchang): deletes the redundant polylines the
// person picks, zooming to each; counts only those actually deleted.
void deletelingbianchang_Click(Context& ctx);
// 鱼 字 加 括 号 (yuaddkuaohao): the note rules on the texts of ZJ and sxss.
void yuaddkuaohao_Click(Context& ctx);

} // namespace kelvor::relief
