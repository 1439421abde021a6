#include "bars.h"

#include "shell_commands.h"

#include "cad/cad.h"
#include "platform/commands.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <map>

namespace kelvor::app {

// ---------------------------------------------------------------- Toolbar1

QString compactKey()
{
    return QStringLiteral("参数设定");
}

QString toolbarItem(const QString& key)
{
    static const std::map<QString, QString> items = {
        {QStringLiteral("浮动条"), QStringLiteral("openfudongqiao")},
        {QStringLiteral("多义线加点"), QStringLiteral("lwpolyinsertpoint")},
        {QStringLiteral("打点检测"), QStringLiteral("fangfano2")},
        {QStringLiteral("三点地物"), QStringLiteral("sdcassobj")},
        {QStringLiteral("文字修改"), QStringLiteral("texttools")},
        {QStringLiteral("规范文字注记"), QStringLiteral("crooslinetext")},
        {QStringLiteral("建立临时块"), QStringLiteral("shengchenglinshikuai(0)")},
        {QStringLiteral("插入临时块"), QStringLiteral("shengchenglinshikuai(1)")},
        {QStringLiteral("坐标标注"), QStringLiteral("zhuobiaozhuji")},
        {QStringLiteral("修改线型宽度"), QStringLiteral("polylinewidth")},
    };
    auto it = items.find(key);
    return it == items.end() ? QString() : it->second;
}

CompactSwitch compactSwitch(const QString& tag)
{
    CompactSwitch s;
    if (tag == QLatin1String("0")) {
        s.change = true;
        s.topmost = true;
        s.caption = QStringLiteral("横向工具条");
        s.compactHeight = true;
        s.tag = QStringLiteral("1");
    } else if (tag == QLatin1String("1")) {
        s.change = true;
        s.topmost = false;
        s.caption = QStringLiteral("Kelvor2007");
        s.compactHeight = false;
        s.tag = QStringLiteral("0");
    }
    return s;
}

// ---------------------------------------------------------------- floating bar

QString floatMenuName(const QString& formTag)
{
    if (formTag.isEmpty() || formTag == QLatin1String("0"))
        return QStringLiteral("south");
    if (formTag == QLatin1String("1"))
        return QStringLiteral("guangwugaoshu");
    if (formTag == QLatin1String("2"))
        return QStringLiteral("tools");
    return QString();
}

QPoint floatBarHome(const QSize& screen, const QSize& bar)
{
    return {screen.width() - bar.width(), screen.height() - bar.height() - 500};
}

QPoint snapFloatBar(const QPoint& topLeft, const QSize& bar, const QSize& screen)
{
    int left = topLeft.x();
    int top = topLeft.y();
    // in this order: the bottom rule wins over the top one on a tiny screen
    if (top < 200)
        top = 0;
    if (left < 200)
        left = 0;
    if (left > screen.width() - bar.width() - 200)
        left = screen.width() - bar.width();
    if (top > screen.height() - bar.height() - 500)
        top = screen.height() - bar.height() - 500;
    return {left, top};
}

void openfudongqiao_Click(Context& ctx)
{
    openForm(ctx, QStringLiteral("float"));
}

void floatHandOver(Context& ctx)
{
    cad::ConnectToAutoCAD(ctx, cad::kFullForward, cad::ConnectFailure::Silent);
}

void floatExit(Context& ctx)
{
    // The host keeps running; nothing is stored.
    ctx.state().ended = true;
}

void joinDroppedFiles(Context& ctx, const QStringList& files)
{
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    try {
        TextWriter out(watch);
        for (const QString& file : files) {
            QStringList lines;
            try {
                TextReader in(file);
                while (!in.atEnd())
                    lines.append(in.readLine());
            } catch (const RunError& e) {
                // One bad file must not cost the user the others.
                ctx.ui().message(QStringLiteral("错误:%1\r%2").arg(e.number()).arg(paths::toWindows(file)), QString(),
                                 Icon::Critical);
                continue;
            }
            for (const QString& line : lines)
                out.writeLine(line);
        }
        out.commit();
    } catch (const RunError& e) {
        ctx.ui().message(QStringLiteral("错误:%1").arg(e.number()), QString(), Icon::Critical);
        return;
    }
    ctx.ui().openTextWindow(watch);
}

// ---------------------------------------------------------------- CAD menu

void CADtogongjulan_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(
        ctx, {cad::Forward::Visible, cad::Forward::Maximise, cad::Forward::Activate}, cad::ConnectFailure::Standard);
    if (!app)
        return;

    const QString esc2 = QString(2, QChar(27));
    const struct {
        const char* label;
        const char* macro;
        const char* help;
    } items[] = {
        {"&T图像透明度", "_transparency ", "用来控制图像的透明/Kelvor"},
        {"&K图像框架", "_imageframe ", "打开或关闭图像的框架/Kelvor"},
    };

    cad::MenuGroup* group = nullptr;
    cad::PopupMenu* menu = nullptr;
    cad::attempt([&] { group = &app->MenuGroupsItem(0); });
    cad::attempt([&] {
        if (group)
            menu = &group->MenusAdd(QStringLiteral("集成功能"));
    });
    if (!menu)
        return;
    for (const auto& it : items) {
        cad::MenuItem* item = nullptr;
        cad::attempt([&] {
            item = &menu->AddMenuItem(menu->Count() + 1, QString::fromUtf8(it.label), esc2 + QString::fromUtf8(it.macro));
        });
        cad::attempt([&] {
            if (item)
                item->HelpString = QString::fromUtf8(it.help);
        });
    }
    cad::attempt([&] { menu->AddSeparator(menu->Count()); });
    cad::attempt([&] { menu->InsertInMenuBar(app->MenuBarCount() + 1); });
}

void registerBarCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("openfudongqiao"), openfudongqiao_Click);
    registry.add(QStringLiteral("CADtogongjulan"), CADtogongjulan_Click);
}

} // namespace kelvor::app
