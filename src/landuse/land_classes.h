#pragma once
// The land-class definition file of the picker (the CommonFile, GBK, one
// class a line: code, name; further fields ignored) and the look-ups on it.
// The picker reads codes from the same file its lists come from.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

struct LandClass {
    QString code; // its first character gives the group
    QString name;
};

// The classes of the lines in file order, both fields trimmed of blanks.
// Blank lines and lines without a second field are passed over.
std::vector<LandClass> ParseLandClasses(const QStringList& lines);
// Reads the file; error 53 when it is missing, 75 when unreadable.
std::vector<LandClass> ReadLandClasses(const QString& path);

// The names of the three lists in file order, duplicates kept: codes
// beginning "1" 农用地, "2" 建设用地, "3" 未利用土地; other codes are in no list.
std::array<QStringList, 3> LandClassLists(const std::vector<LandClass>& classes);
// The code of the last class of exactly that name; "" when none has one.
QString CodeOfName(const std::vector<LandClass>& classes, const QString& name);
// The name of the first class whose code equals the text exactly.
std::optional<QString> NameOfCode(const std::vector<LandClass>& classes, const QString& text);

// The CommonFile as the land-class commands take it, "" once the person has
// been told why not: noneText (title "错误") when none is chosen,
// "无法找到:" + path + "文件！" (no title) when it does not exist; both critical.
QString landClassFile(Context& ctx, const QString& noneText);

// The list filling of the picker: the three lists of the CommonFile, empty
// after the CommonFile's messages or when it cannot be read.
std::array<QStringList, 3> PickerLists(Context& ctx);
// A name chosen in a list: its code (from the CommonFile) as a text of
// height 4.0 at the point the person picks; a name without a code places
// nothing and tells so (title "提示"). Other failures end it silently.
void placeLandClassCode(Context& ctx, const QString& name);
// 查询地类编码: names the class of each code text the person picks on the
// command line ("-->" + name + CR) until a pick fails or is no single-line
// text.
void nameLandClassTexts(Context& ctx);

} // namespace kelvor::landuse
