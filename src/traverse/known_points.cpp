#include "known_points.h"

#include "sheet.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"

namespace kelvor::traverse {

namespace {

struct KnownSlot {
    int nameCell;
    int xCell;
    int yCell;
    int hCell; // -1: orientation points take no height
};

constexpr KnownSlot Slots[] = {
    {0, 1, 2, -1},   // StartOrientation A
    {3, 4, 5, 6},    // StartStation B
    {7, 8, 9, -1},   // EndOrientation D
    {10, 11, 12, 13} // EndStation C
};

QString matchKey(const QString& name)
{
    return TrimBlanks(name).toUpper();
}

void applyLine(TraverseSheet& sheet, const QString& line)
{
    const QString name = orEmpty(BlankField(line, 1));
    const QString x = orEmpty(BlankField(line, 2));
    const QString y = orEmpty(BlankField(line, 3));
    const QString h = orEmpty(BlankField(line, 4));
    const QString key = matchKey(name);
    for (const KnownSlot& s : Slots) {
        if (key != matchKey(sheet.text1(s.nameCell)))
            continue;
        sheet.setText1(s.xCell, x);
        sheet.setText1(s.yCell, y);
        if (s.hCell >= 0)
            sheet.setText1(s.hCell, h);
    }
}

} // namespace

void Label39_DblClick(Context& ctx)
{
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    const QString path = TrimBlanks(ctx.setting(QStringLiteral("已知点成果=")));
    try {
        TextReader reader(path);
        do {
            const QString line = reader.readLine();
            if (TrimBlanks(line).isEmpty())
                break;
            applyLine(*sheet, line);
        } while (!reader.atEnd());
    } catch (const RunError& e) {
        if (e.number() == err::FileNotFound || e.number() == err::PathNotFound) {
            ctx.ui().message(QStringLiteral("不能找到 ") + path +
                                 QStringLiteral("的成果文件！请在系统设定中设定已知点成果表的目录。") +
                                 QLatin1Char('\r') +
                                 QStringLiteral("如果要让程序自动录入坐标和高程，请建立以上文件。") +
                                 QLatin1Char('\r') + QStringLiteral("文件的格式为 点名 X坐标 Y坐标 高程"),
                             QStringLiteral("错误"), Icon::Critical);
        } else {
            ctx.ui().message(QStringLiteral("未知的致命错误！！"), QStringLiteral("错误"), Icon::Critical);
        }
    }
}

void tiquyizhidianshuiju_Click(Context& ctx)
{
    Label39_DblClick(ctx);
}

} // namespace kelvor::traverse
