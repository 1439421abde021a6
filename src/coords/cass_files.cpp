#include "cass_files.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "file_failure.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>

namespace kelvor::coords {

QStringList jcodeDefLines()
{
    return {
        QStringLiteral("W1,144302"), QStringLiteral("A1,140001"), QStringLiteral("C1,131800"),
        QStringLiteral("D1,204201"), QStringLiteral("E1,154811"), QStringLiteral("F1,162120"),
        QStringLiteral("G1,171300"), QStringLiteral("H1,202101"), QStringLiteral("I1,155221"),
        QStringLiteral("M1,204202"), QStringLiteral("K1,211110"), QStringLiteral("L1,144500"),
        QStringLiteral("N1,164400"), QStringLiteral("R1,163210"), QStringLiteral("S1,181101"),
        QStringLiteral("T1,152702"), QStringLiteral("U1,155210"), QStringLiteral("V1,216100"),
        QStringLiteral("X1,174200"), QStringLiteral("Z1,143912"), QStringLiteral("O1,174800"),
        QStringLiteral("M1,204202"), QStringLiteral("End"),
    };
}

QString fieldCodeNote()
{
    // The blanks align the columns; lines 1 to 5 end with CR, line 6 with CR LF.
    return QStringLiteral("F 砼房   Y 阳台    W 围墙    L、B篱笆    O 污水蓖子(石油检修符号)\r"
                          "U 路灯   S 水涯线  Z 大车路  N 内部道路  Y 阳台 I通讯线(照射灯符号)\r"
                          "G 电杆   X 下水井  D 陡坎    V 地类界    E 台阶(看台符号) \r"
                          "T 田埂   K 田埂    R 公路    M 加固坎    Z 柱、墩  \r"
                          "\r"
                          "其中：C、H 已设定为控制点和高程点，不要使用。\r\n"
                          "用户必须使用以上的约定，否则地物无属性。");
}

QString southLine(const QString& line)
{
    auto f = [&](int n) { return orEmpty(BlankField(line, n)); };
    return f(1) + QStringLiteral(",131100,") + f(2) + QLatin1Char(',') + f(3) + QLatin1Char(',') + f(4);
}

void updatejm_Click(Context& ctx)
{
    const QString folder = ctx.ui().input(QStringLiteral("请输入Cass安装的目录 。"), QStringLiteral("输入目录名"),
                                          QStringLiteral("C:\\Program Files\\CASS60"));
    if (TrimBlanks(folder).isEmpty())
        return;
    const QString path = folder + QStringLiteral("\\system\\jcode.def");
    const QString native = paths::resolve(path);
    if (!QFileInfo(QFileInfo(native).absolutePath()).isDir()) {
        ctx.ui().message(QStringLiteral("不能建立") + path + QStringLiteral("文件，请确定输入Cass安装的目录是否正确。"),
                         QStringLiteral("错误"), Icon::Exclamation);
        return;
    }
    try {
        writeTextLines(native, jcodeDefLines());
    } catch (const RunError& e) {
        showErrNumber(ctx, e.number());
        return;
    }
    ctx.ui().message(QStringLiteral("已成功更新文件！"), emptyTitle(), Icon::Information);
}

void dmyd_Click(Context& ctx)
{
    ctx.ui().message(fieldCodeNote(), QStringLiteral("外业记录代码约定"), Icon::Information);
}

void zhuobiaozhuanhuan_Click(Context& ctx)
{
    CommonDialog dialog(ctx);
    const QString input =
        dialog.setTitle(QStringLiteral("打开坐标文件")).setFilter(QStringLiteral("文件(*.txt)|*.txt")).showOpen();
    if (TrimBlanks(input).isEmpty())
        return;
    QStringList out;
    try {
        for (const QString& line : readTextLines(input)) {
            if (TrimBlanks(line).isEmpty())
                break;
            out << southLine(line);
        }
    } catch (const RunError&) {
        // an unreadable list gives an empty result, shown all the same
    }
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    try {
        writeTextLines(watch, out);
    } catch (const RunError&) {
    }
    ctx.ui().openTextWindow(watch);
}

} // namespace kelvor::coords
