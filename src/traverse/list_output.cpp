#include "list_output.h"

#include "sheet.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::traverse {

QString listHeader()
{
    return QStringLiteral("点名        水平角     距离        垂直角   仪器高  觇标高   垂直角   仪器高  觇标高");
}

QStringList listOutputLines(const TraverseSheet& sheet)
{
    static constexpr int Widths[TraverseSheet::Columns] = {10, 12, 12, 10, 8, 8, 10, 8, 8};
    QStringList lines;
    lines << listHeader();
    const int rows = sheet.rowsInUse();
    for (int r = 0; r < rows; ++r) {
        QString line;
        for (int c = 0; c < TraverseSheet::Columns; ++c)
            line += PadRight(sheet.text5(r * TraverseSheet::Columns + c), Widths[c]);
        lines << line;
    }
    lines << PadRight(sheet.text5(108), 10) + PadRight(sheet.text5(109), 10);
    return lines;
}

void Command34_Click(Context& ctx)
{
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    const Answer a = ctx.ui().message(QStringLiteral("是否在原有的文件(Watch.txt)中添加以下的坐标内容！"),
                                      QStringLiteral("添加"), Icon::Exclamation, Buttons::YesNo);
    const QString path = paths::scratch(QStringLiteral("watch.txt"));
    try {
        TextWriter out(path, a == Answer::Yes ? TextWriter::Append : TextWriter::Replace);
        for (const QString& line : listOutputLines(*sheet))
            out.writeLine(line);
        out.commit();
    } catch (const RunError&) {
        // Whatever watch.txt held stays whole; there is nothing to show.
        ctx.ui().message(QStringLiteral("错误！！"), QString(), Icon::Critical);
        return;
    }
    ctx.ui().openTextWindow(path);
}

} // namespace kelvor::traverse
