#include "accuracy_stats.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <functional>
#include <memory>

namespace kelvor::quelt {

namespace {

const QString kTableHeader = QStringLiteral("[ 点  号 ]    [ 左 折 角 ]    [ 边  长 ]");
const QString kClosingLine = QStringLiteral("全长相对闭合差");
constexpr int kTableLines = 23;

QString dropTrailing(const QString& s, int count)
{
    if (s.size() < count)
        raise(err::InvalidArgument);
    return s.left(s.size() - count);
}

// Each occurrence of key in a route line: the trimmed 11 characters that
// begin `skip` characters after it.
void eachValueAfter(const QString& line, const QString& key, int skip, const std::function<void(const QString&)>& use)
{
    for (qsizetype p = line.indexOf(key); p >= 0; p = line.indexOf(key, p + 1))
        use(TrimBlanks(line.mid(p + key.size() + skip, 11)));
}

} // namespace

QString traverseFile(Context& ctx, const QString& name, const QString& suffix)
{
    const QString sep = QStringLiteral("\\");
    return ctx.setting(QStringLiteral("MydxfileSavepath=")) + sep + name + sep + name + suffix;
}

TextReader openInFolder(const QString& path)
{
    const QFileInfo fi(paths::resolve(path));
    if (!TrimBlanks(path).isEmpty() && !fi.absoluteDir().exists())
        raise(err::PathNotFound);
    return TextReader(path);
}

void readPlaneFigures(TextReader& plane, Figures& f)
{
    for (int i = 1; i <= 7; ++i)
        f[i].clear();
    bool found = false;
    while (!found && !plane.atEnd())
        found = TrimBlanks(plane.readLine()) == kTableHeader;
    if (!found)
        return;

    // Table lines from 1; line 0 is an empty text, as the table the
    // statistics always had.
    std::array<QString, kTableLines + 1> t;
    int k = 0;
    for (;;) {
        if (k == kTableLines)
            raise(err::SubscriptOutOfRange);
        t[++k] = TrimBlanks(plane.readLine());
        if (t[k].startsWith(kClosingLine))
            break;
    }
    const auto line = [&](int i) -> const QString& {
        if (i < 0 || i > kTableLines)
            raise(err::SubscriptOutOfRange);
        return t[i];
    };
    const auto name = [&](int i) { return TrimBlanks(line(i).left(11)); };

    f[1] = name(1) + QStringLiteral("→") + name(2) + QStringLiteral("…") + name(k - 10) + QStringLiteral("→") +
           name(k - 9);
    f[2] = SignedNumberText(LeadingNumber(dropTrailing(line(k - 5).right(12), 4)) * 1000);
    f[3] = SignedNumberText(k - 10);
    f[4] = SignedNumberText(LeadingNumber(FormatFixed(dropTrailing(line(k - 4).right(11), 3), 2)));
    f[5] = FormatFixed(dropTrailing(line(k - 7).right(8), 1), 2, 1);
    f[6] = FormatFixed(line(k - 6).right(7), 2);
    f[7] = line(k).right(10);
}

void readHeightFigures(TextReader& height, Figures& f)
{
    f[8].clear();
    f[9].clear();
    while (!height.atEnd()) {
        const QString t = TrimBlanks(height.readLine());
        if (!t.startsWith(QStringLiteral("[路")))
            continue;
        eachValueAfter(t, QStringLiteral("F="), 0, [&](const QString& v) {
            f[8] = FormatFixed(LeadingNumber(dropTrailing(v, 4)) * 10, 1, 1);
        });
        eachValueAfter(t, QStringLiteral("F允"), 2, [&](const QString& v) {
            f[9] = QStringLiteral("±") + FormatFixed(LeadingNumber(dropTrailing(v, 4)) * 10, 1);
        });
    }
}

int chosenItem(const QString& answer)
{
    const double item = std::nearbyint(StrictNumber(answer)); // halves to even
    return item >= 1 && item <= 9 ? int(item) : 0;
}

QString chooseSequenceFile(Ui& ui, FileDialogRequest& dialog)
{
    dialog.title = QStringLiteral("打开导线目录数列文件");
    dialog.filter = QStringLiteral("数据序列文件(*.*)|*.*");
    dialog.multiSelect = false;
    const QString path = ui.openFile(dialog);
    dialog.fileName = path;
    return path;
}

void Command14_Click(Context& ctx, FileDialogRequest& dialog)
{
    Ui& ui = ctx.ui();
    const QString sequencePath = chooseSequenceFile(ui, dialog);
    if (TrimBlanks(sequencePath).isEmpty())
        return;

    int j = 1;
    QString name;
    std::unique_ptr<TextWriter> watch;
    try {
        const QString answer = ui.input(QStringLiteral("请输入输出的项目类型！\r"
                                                       "1-导线起闭点点名 2-导线总长 3-导线边数\r"
                                                       "4-平均边长 5-方位角闭合差 6-闭合差限差\r"
                                                       "7-相对闭合差 8-高程闭合差 9-闭合差限差"),
                                        QStringLiteral("生成的数据项"), QStringLiteral("1"));
        const int item = chosenItem(answer);
        if (item == 0)
            return;
        ui.processEvents();
        watch = std::make_unique<TextWriter>(paths::scratch(QStringLiteral("watch.txt")));
        TextReader sequence(sequencePath);
        Figures figures;
        for (; !sequence.atEnd(); ++j) {
            name = TrimBlanks(sequence.readLine());
            TextReader plane = openInFolder(traverseFile(ctx, name, QStringLiteral(".ou")));
            readPlaneFigures(plane, figures);
            TextReader height = openInFolder(traverseFile(ctx, name, QStringLiteral("H.ou")));
            readHeightFigures(height, figures);
            watch->writeLine(SignedNumberText(j) + QStringLiteral("   ") + figures[item]);
        }
        watch->commit();
    } catch (const RunError& e) {
        const QString where = SignedNumberText(j) + QStringLiteral(" 行的") + name + QStringLiteral("。");
        if (e.number() == err::PathNotFound)
            ui.message(QStringLiteral("文件路径不正确！！发生在第") + where, QStringLiteral("错误"), Icon::Critical);
        else
            ui.message(QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在第") + where +
                           QStringLiteral("错误号：") + SignedNumberText(e.number()),
                       QStringLiteral("提示"), Icon::Critical);
        if (watch) {
            try {
                watch->commit(); // the lines written so far stay
            } catch (const RunError&) {
            }
        }
        return;
    }
    ui.openTextWindow(paths::scratch(QStringLiteral("watch.txt")));
}

} // namespace kelvor::quelt
