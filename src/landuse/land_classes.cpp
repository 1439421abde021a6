#include "landuse/land_classes.h"

#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "platform/common_file.h"
#include "platform/context.h"
#include "platform/text_file.h"
#include "routines/routines.h"

namespace kelvor::landuse {

std::vector<LandClass> ParseLandClasses(const QStringList& lines)
{
    std::vector<LandClass> classes;
    for (const QString& line : lines) {
        if (!line.contains(QLatin1Char(',')))
            continue; // blank, or a code without its name
        classes.push_back({CommaField(line, 1), CommaField(line, 2)});
    }
    return classes;
}

std::vector<LandClass> ReadLandClasses(const QString& path)
{
    return ParseLandClasses(readTextLines(path));
}

std::array<QStringList, 3> LandClassLists(const std::vector<LandClass>& classes)
{
    std::array<QStringList, 3> lists;
    for (const LandClass& c : classes) {
        const int group = c.code.startsWith(QLatin1Char('1'))   ? 0
                          : c.code.startsWith(QLatin1Char('2')) ? 1
                          : c.code.startsWith(QLatin1Char('3')) ? 2
                                                                : -1;
        if (group >= 0)
            lists[size_t(group)].append(c.name);
    }
    return lists;
}

QString CodeOfName(const std::vector<LandClass>& classes, const QString& name)
{
    QString code;
    for (const LandClass& c : classes)
        if (c.name == name)
            code = c.code;
    return code;
}

std::optional<QString> NameOfCode(const std::vector<LandClass>& classes, const QString& text)
{
    for (const LandClass& c : classes)
        if (c.code == text)
            return c.name;
    return std::nullopt;
}

QString landClassFile(Context& ctx, const QString& noneText)
{
    const QString path = commonFile(ctx);
    if (path.isEmpty()) {
        ctx.ui().message(noneText, QStringLiteral("错误"), Icon::Critical);
        return QString();
    }
    if (!textFileExists(path)) {
        ctx.ui().message(QStringLiteral("无法找到:") + path + QStringLiteral("文件！"), QString(), Icon::Critical);
        return QString();
    }
    return path;
}

} // namespace kelvor::landuse

namespace kelvor::landuse {

namespace {

// The classes of the CommonFile, none when it is not chosen or unreadable.
std::optional<std::vector<LandClass>> commonFileClasses(const Context& ctx)
{
    const QString path = commonFile(ctx);
    if (path.isEmpty())
        return std::nullopt;
    try {
        return ReadLandClasses(path);
    } catch (const RunError&) {
        return std::nullopt;
    }
}

} // namespace

std::array<QStringList, 3> PickerLists(Context& ctx)
{
    const QString path = landClassFile(ctx, QStringLiteral("请在[输出]菜单中的[通用文件名为空]下选择新地类定义文件！"));
    if (path.isEmpty())
        return {};
    try {
        return LandClassLists(ReadLandClasses(path));
    } catch (const RunError&) {
        return {};
    }
}

void placeLandClassCode(Context& ctx, const QString& name)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::Silent);
    if (!app)
        return;
    const std::optional<std::vector<LandClass>> classes = commonFileClasses(ctx);
    if (!classes)
        return;
    const QString code = CodeOfName(*classes, name);
    if (code.isEmpty()) {
        ctx.ui().message(name + QStringLiteral("没有地类编码！"), QStringLiteral("提示"), Icon::Exclamation);
        return;
    }
    cad::attempt([&] { app->activate(app->Caption()); });
    cad::attempt([&] { app->setWindowState(3); });
    cad::attempt([&] {
        cad::Document& doc = app->ActiveDocument();
        const cad::Point at = doc.Utility().GetPoint(QStringLiteral("\r\n注记的位置:"));
        doc.ModelSpace().AddText(code, at, 4.0)->Update();
    });
}

void nameLandClassTexts(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Visible}, cad::ConnectFailure::Silent);
    const QString path =
        landClassFile(ctx, QStringLiteral("请在[输出]菜单中的[通用文件名为空]下选择[新地类定义]文件！"));
    if (path.isEmpty() || !app)
        return;
    cad::attempt([&] { app->activate(app->Caption()); });
    cad::attempt([&] { app->setWindowState(3); });
    cad::Document* doc = cad::activeDocument(*app);
    if (!doc)
        return;
    for (;;) {
        QString code;
        try {
            cad::Point pick;
            cad::Entity* e = doc->Utility().GetEntity(pick, QStringLiteral("提示"));
            if (e->ObjectName() != QLatin1String("AcDbText"))
                return;
            code = e->TextString();
        } catch (const RunError&) {
            return;
        }
        const std::optional<std::vector<LandClass>> classes = commonFileClasses(ctx);
        if (!classes)
            return;
        if (const std::optional<QString> name = NameOfCode(*classes, code))
            cad::attempt([&] { doc->Utility().Prompt(QStringLiteral("-->") + *name + QStringLiteral("\r")); });
    }
}

} // namespace kelvor::landuse
