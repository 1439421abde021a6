#pragma once
// Land-class code texts: old codes turned into new ones after the
// conversion file (the CommonFile, GBK, one rule a line: old code, label,
// new code), put back, patch numbers renumbered and texts found.
//
// Beyond the old number kept in the text's thickness (leading zeros lost),
// a conversion keeps the exact first original code in the text's extended
// data under kOwnApplication; a restore prefers that and removes it.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}
namespace kelvor::cad {
class Entity;
}

namespace kelvor::landuse {

struct ConversionRule {
    QString from;  // compared with the text's string as stored
    QString label; // shown in the note only
    QString to;
};

// The rules of the lines in file order, fields trimmed of blanks; lines of
// fewer than three fields are passed over.
std::vector<ConversionRule> ParseConversionRules(const QStringList& lines);
// Reads the file; error 53 when it is missing, 75 when unreadable.
std::vector<ConversionRule> ReadConversionRules(const QString& path);

// One rule applied to a text: the thickness it writes (the leading number
// of the string it replaces), the new string and the command-line note.
struct CodeChange {
    double thickness = 0;
    QString text;
    QString note;
};
// Every rule in file order, each on the string the rules above left.
std::vector<CodeChange> ConvertCode(const QString& text, const std::vector<ConversionRule>& rules);

// The first original code kept on a text, if any (errors reach the caller).
std::optional<QString> KeptCode(const cad::Entity& text);
// The string a restore gives the text: the kept code, else the general text
// of a non-zero thickness; none for a text that was never converted.
std::optional<QString> RestoredCode(const std::optional<QString>& kept, double thickness);

// Whether a text's string marks the typed text: both trimmed of blanks, the
// whole string, case kept.
bool MatchesFound(const QString& textString, const QString& typed);

void oldchangnewdl_Click(Context& ctx);    // 新旧地类转换
void huifujiudilei_Click(Context& ctx);    // 恢复旧地类编号
void XIUGAITUBANHAO_Click(Context& ctx);   // 修改图斑编号
void findzhidingzhifu_Click(Context& ctx); // 查找指定字符

} // namespace kelvor::landuse
