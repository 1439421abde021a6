// The folder listing behind every batch and the drawing visit: what is
// listed, in which order, watch.txt, stops, failures, and drawings that
// cannot be opened.
#include "sheets/folder_batch.h"
#include "sheet_drawings.h"
#include "test_support.h"

#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>
#include <cerrno>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheets;
using test::u;

namespace {

void touch(const QString& file, const QByteArray& bytes = "x")
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    test::writeBytes(file, bytes);
}

QByteArray watchBytes()
{
    return test::readBytes(paths::scratch(QStringLiteral("watch.txt")));
}

} // namespace

TEST(FolderBatch, ListsThePlainDrawingFilesOfTheFolderByName)
{
    const struct {
        const char* what;
        const char* folder;
        QStringList expected;
    } cases[] = {
        {"a folder", "d:\\sheets", {"d:\\sheets\\a.dxf", "d:\\sheets\\B.DXF", "d:\\sheets\\c.Dxf", "d:\\sheets\\xdxf"}},
        {"a folder given with its separator", "d:\\sheets\\",
         {"d:\\sheets\\a.dxf", "d:\\sheets\\B.DXF", "d:\\sheets\\c.Dxf", "d:\\sheets\\xdxf"}},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        for (const char* f : {"xdxf", "c.Dxf", "B.DXF", "a.dxf", "notes.txt", "plan.dxf.bak", ".hidden.dxf"})
            touch(home.path(QStringLiteral("d:\\sheets\\") + u(f)));
        QDir().mkpath(home.path(QStringLiteral("d:\\sheets\\sub.dxf")));
        touch(home.path(QStringLiteral("d:\\sheets\\sub.dxf\\inner.dxf")));
        home.answer(QStringLiteral("folder"), u(c.folder));
        QStringList handed;
        const BatchEnd end = DwgFolderListing(home.context, kFolderPrompt, [&](const QString& p) {
            handed << p;
            return true;
        });
        EXPECT_EQ(end, BatchEnd::Done) << c.what;
        EXPECT_EQ(handed, c.expected) << c.what;
        EXPECT_EQ(watchBytes(), test::gbkLines(c.expected)) << c.what;
    }

    test::TempHome root;
    touch(root.path(QStringLiteral("D:\\a.dxf")));
    EXPECT_EQ(drawingFilesOf(QStringLiteral("D:\\")), QStringList{QStringLiteral("D:\\a.dxf")}) << "one separator";
}

TEST(FolderBatch, EmptyFolderCancelStopAndUnwritableListing)
{
    {
        test::TempHome home;
        QDir().mkpath(home.path(QStringLiteral("d:\\empty")));
        touch(paths::scratch(QStringLiteral("watch.txt")), "old\r\n");
        home.answer(QStringLiteral("folder"), QStringLiteral("d:\\empty"));
        int steps = 0;
        EXPECT_EQ(DwgFolderListing(home.context, kFolderPrompt, [&](const QString&) { return ++steps, true; }),
                  BatchEnd::Done);
        EXPECT_EQ(steps, 0) << "empty folder";
        EXPECT_TRUE(QFileInfo::exists(paths::scratch(QStringLiteral("watch.txt"))));
        EXPECT_EQ(watchBytes(), QByteArray()) << "empty folder: watch.txt emptied";
    }
    {
        test::TempHome home;
        touch(paths::scratch(QStringLiteral("watch.txt")), "old\r\n");
        home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
        int steps = 0, after = 0;
        EXPECT_EQ(DwgFolderListing(
                      home.context, kFolderPrompt, [&](const QString&) { return ++steps, true; }, [&](const QString&) { ++after; }),
                  BatchEnd::Cancelled);
        EXPECT_EQ(steps, 0) << "cancelled";
        EXPECT_EQ(after, 1) << "the host is brought forward after the picker, cancelled or not";
        EXPECT_EQ(watchBytes(), QByteArray("old\r\n")) << "cancelled: watch.txt untouched";
    }
    {
        test::TempHome home;
        for (const char* f : {"a.dxf", "b.dxf", "c.dxf"})
            touch(home.path(QStringLiteral("d:\\s\\") + u(f)));
        home.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
        QStringList handed;
        EXPECT_EQ(DwgFolderListing(home.context, kFolderPrompt,
                                   [&](const QString& p) {
                                       handed << p;
                                       return !p.endsWith(QStringLiteral("b.dxf"));
                                   }),
                  BatchEnd::Stopped);
        EXPECT_EQ(handed, (QStringList{QStringLiteral("d:\\s\\a.dxf"), QStringLiteral("d:\\s\\b.dxf")}));
        EXPECT_EQ(test::linesOf(watchBytes()).size(), 3) << "the listing stays whole after a stop";
    }
    {
        test::TempHome home;
        touch(home.path(QStringLiteral("d:\\s\\a.dxf")));
        QDir().mkpath(paths::scratch(QStringLiteral("watch.txt"))); // a folder in its place
        home.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
        int steps = 0;
        EXPECT_EQ(DwgFolderListing(home.context, kFolderPrompt, [&](const QString&) { return ++steps, true; }),
                  BatchEnd::Failed);
        EXPECT_EQ(steps, 0) << "unwritable listing: no step";
        EXPECT_EQ(test::lastMessage(home).value("title").toString(), u("错误"));
        EXPECT_TRUE(test::lastMessage(home).value("text").toString().contains(u("文件列表")));
    }
}

TEST(FolderBatch, VisitTouchesOnlyTheDrawingItOpened)
{
    test::CadHost host;
    cad::Document& before = host.doc();
    before.ModelSpace().AddLine({0, 0, 0}, {1, 1, 0});
    test::writeSheetDrawing(host.home, QStringLiteral("d:\\s\\good.dxf"), QString(), {100, 100, 0});
    touch(host.home.path(QStringLiteral("d:\\s\\bad.dxf")), "this is no drawing\r\n");

    const struct {
        const char* what;
        const char* path;
        VisitEnd end;
        bool diskFull;
        Visited visited;
    } cases[] = {
        {"no drawing", "d:\\s\\bad.dxf", VisitEnd::Save, false, Visited::NotOpened},
        {"missing", "d:\\s\\gone.dxf", VisitEnd::Save, false, Visited::NotOpened},
        {"treated and saved", "d:\\s\\good.dxf", VisitEnd::Save, false, Visited::Done},
        {"treated, closed unsaved", "d:\\s\\good.dxf", VisitEnd::Close, false, Visited::Done},
        {"save on a full disk", "d:\\s\\good.dxf", VisitEnd::Save, true, Visited::NotSaved},
        {"save under another name failed", "d:\\s\\good.dxf", VisitEnd::SaveAsFailed, false, Visited::NotSaved},
    };
    for (const auto& c : cases) {
        host.app.clearRecords();
        const QByteArray bytes = test::readBytes(host.home.path(u(c.path)));
        const bool opened = c.visited != Visited::NotOpened;
        int steps = 0;
        setWriteFault(c.diskFull ? +[](WriteStep) { return ENOSPC; } : nullptr);
        const Visited visited = visitDrawing(host.app, u(c.path), [&](cad::Document& doc) {
            ++steps;
            EXPECT_NE(&doc, &before) << c.what;
            doc.ModelSpace().AddCircle({100, 100, 0}, 5);
            return c.end;
        });
        setWriteFault(nullptr);
        EXPECT_EQ(visited, c.visited) << c.what;
        EXPECT_EQ(steps, opened ? 1 : 0) << c.what;
        EXPECT_EQ(host.app.DocumentsCount(), 1) << c.what << ": the visited drawing is closed";
        EXPECT_EQ(&host.doc(), &before) << c.what;
        EXPECT_EQ(before.ModelSpace().Count(), 1) << c.what << ": the drawing active before is unchanged";
        EXPECT_TRUE(before.FullName().isEmpty()) << c.what << ": and unsaved";
        const bool changed = c.visited == Visited::Done && c.end == VisitEnd::Save;
        if (!opened)
            EXPECT_TRUE(host.app.transcript().contains(u(c.path))) << c.what << ": named on the command line";
        else if (changed)
            EXPECT_NE(test::readBytes(host.home.path(u(c.path))), bytes) << c.what;
        else
            EXPECT_EQ(test::readBytes(host.home.path(u(c.path))), bytes) << c.what;
        EXPECT_EQ(host.app.transcript().contains(u("未能保存:") + u(c.path)), c.diskFull) << c.what;
    }
}
