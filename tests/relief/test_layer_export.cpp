#include "cad_host.h"
#include "relief/layer_export.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;
using test::u;

namespace {

struct ExportHost : test::CadHost {
    cad::Entity* on(cad::Entity* e, const QString& layer)
    {
        doc().Layers().Add(layer);
        e->setLayer(layer);
        return e;
    }
    cad::Entity* line(const QString& layer) { return on(ms().AddLine({0, 0, 0}, {1, 1, 0}), layer); }
    bool exists(const char* windowsPath) const { return QFileInfo::exists(home.path(u(windowsPath))); }
    // The layers of the entities a written drawing holds.
    QStringList layersIn(const char* windowsPath) const
    {
        QStringList out;
        for (cad::Entity* e : cad::readDxf(home.path(u(windowsPath)))->ModelSpace().entities())
            out << e->Layer();
        return out;
    }
};

} // namespace

TEST(LayerExport, FilterMatchesTheLayerNameExactly)
{
    const struct {
        const char* layer;
        const char* filter;
        const char* other; // a name the bare layer name would match as a pattern
    } cases[] = {
        {"jmd", "jmd", "JMD2"},
        {"j#d", "j`#d", "j1d"},
        {"a.b", "a`.b", "a-b"},
        {"dl*", "dl`*", "dlss"},
        {"a,b", "a`,b", "a"},
        {"~x", "`~x", "y"},
        {"[ab]", "`[ab`]", "a"},
        {"q?`@", "q`?```@", "qz`a"},
    };
    for (const auto& c : cases) {
        const QString filter = exactLayerFilter(u(c.layer));
        EXPECT_EQ(filter, u(c.filter)) << c.layer;
        EXPECT_TRUE(cad::wildcardMatch(u(c.layer), filter)) << c.layer;
        EXPECT_FALSE(cad::wildcardMatch(u(c.other), filter)) << c.layer;
    }
}

TEST(LayerExport, NamesThatCannotBeFileNames)
{
    const struct {
        const char* layer;
        bool ok;
    } cases[] = {
        {"jmd", true}, {"0", true}, {"j#d", true}, {"...a", true}, {"控制点", true},
        {"", false}, {".", false}, {"..", false}, {"a\\b", false}, {"a/b", false}, {"c:", false},
        {"a*", false}, {"a?", false}, {"a\"", false}, {"<a", false}, {"a>", false}, {"a|b", false},
        {"a\tb", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isFileNameLayer(u(c.layer)), c.ok) << c.layer;
}

TEST(LayerExport, PathHasOneSeparator)
{
    const struct {
        const char* folder;
        const char* layer;
        const char* path;
    } cases[] = {
        {"D:\\maps", "jmd", "D:\\maps\\jmd.dwg"},
        {"D:\\", "jmd", "D:\\jmd.dwg"},
        {"d:\\out", "0", "d:\\out\\0.dwg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(layerFilePath(u(c.folder), u(c.layer)), u(c.path)) << c.folder;
}

TEST(LayerExport, OneDrawingPerLayerWithEntitiesAndTheRefusedListed)
{
    ExportHost h;
    QDir().mkpath(h.home.path(u("d:\\out")));
    h.line(QStringLiteral("0"));
    h.line(QStringLiteral("jmd"));
    h.on(h.ms().AddText(QStringLiteral("t"), {0, 0, 0}, 1), QStringLiteral("jmd"));
    h.doc().Layers().Add(QStringLiteral("vacant"));
    h.on(h.ms().AddCircle({0, 0, 0}, 1), QStringLiteral("j#d"));
    h.line(QStringLiteral(".."));
    h.answer(QStringLiteral("folder"), QStringLiteral(" d:\\out "));

    layeratoutputfile_Click(h.context);

    EXPECT_EQ(h.layersIn("d:\\out\\0.dxf"), QStringList{"0"});
    EXPECT_EQ(h.layersIn("d:\\out\\jmd.dxf"), (QStringList{"jmd", "jmd"}));
    EXPECT_EQ(h.layersIn("d:\\out\\j#d.dxf"), QStringList{"j#d"});
    EXPECT_FALSE(h.exists("d:\\out\\vacant.dxf"));
    EXPECT_EQ(QDir(h.home.path(u("d:\\out"))).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(h.app.transcript(),
              u("正在输出文件:d:\\out\\0.dwg,请稍候!正在输出文件:d:\\out\\jmd.dwg,请稍候!"
                "正在输出文件:d:\\out\\j#d.dwg,请稍候!\r\n结束操作！\r\n未输出的图层:.."));
    EXPECT_EQ(h.ui.events().first()[QStringLiteral("prompt")].toString(), u("请择要保存文件的目录"));
    EXPECT_TRUE(h.app.events().contains(QStringLiteral("WindowState 3")));
}

TEST(LayerExport, RootFolderTakesNoSecondSeparator)
{
    ExportHost h;
    h.line(QStringLiteral("jmd"));
    h.answer(QStringLiteral("folder"), QStringLiteral("d:\\"));
    layeratoutputfile_Click(h.context);
    EXPECT_TRUE(h.exists("d:\\jmd.dxf"));
    EXPECT_TRUE(h.app.transcript().contains(u("正在输出文件:d:\\jmd.dwg,请稍候!"))) << h.app.transcript().toStdString();
}

TEST(LayerExport, CancelAndNoHostEndSilently)
{
    ExportHost cancelled;
    cancelled.line(QStringLiteral("jmd"));
    cancelled.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    layeratoutputfile_Click(cancelled.context);
    EXPECT_TRUE(cancelled.app.transcript().isEmpty());
    EXPECT_TRUE(cancelled.ui.messages().isEmpty());
    EXPECT_FALSE(cancelled.app.events().contains(QStringLiteral("WindowState 3")));

    ExportHost stopped;
    stopped.app.setRunning(false);
    layeratoutputfile_Click(stopped.context);
    EXPECT_EQ(test::messageTexts(stopped.home), QStringList{u("AutoCAD 没有运行或版本不符合！")});
    EXPECT_EQ(stopped.ui.events().size(), 1); // no folder asked
}
