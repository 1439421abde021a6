// Join tables over a folder: standard numbers written in place, company
// numbers saved under the company number; old tables replaced; missing
// frames and own numbers.
#include "sheets/join_batches.h"
#include "sheet_drawings.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheets;
using test::u;

namespace {

const cad::Point kFrame{534500, 2551407.5, 0};

// A sheet drawing: the frame actkf1 (unless frameless), an old table text
// inside the box, one touching its right edge, an MTEXT inside, a text
// outside and, when given, the sheet's own number text.
void writeBatchSheet(const test::TempHome& home, const QString& name, bool frame, const QString& own = QString())
{
    cad::Document doc;
    doc.Layers().Add(QStringLiteral("tk"));
    cad::Block& ms = doc.ModelSpace();
    if (frame)
        test::addFrame(doc, QStringLiteral("actkf1"), kFrame);
    ms.AddText(QStringLiteral("2551.00-534.25"), {534501, 2551409, 0}, 0.8);
    ms.AddText(QStringLiteral("old"), {534522.5, 2551410, 0}, 1);
    ms.AddMText({534505, 2551412, 0}, 5, QStringLiteral("note"));
    ms.AddText(QStringLiteral("outside"), {534600, 2551300, 0}, 2);
    if (!own.isEmpty())
        ms.AddText(own, {534600, 2551250, 0}, 5);
    const QString file = home.path(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    cad::writeDxf(doc, file);
}

QStringList textStrings(cad::Document& doc)
{
    QStringList out;
    for (cad::Entity* t : test::textsOf(doc))
        out << t->TextString();
    return out;
}

} // namespace

TEST(JoinBatches, FolderStopsAtADrawingWithoutTheFrame)
{
    test::CadHost host;
    cad::Document& before = host.doc();
    writeBatchSheet(host.home, QStringLiteral("d:\\s\\a.dxf"), true);
    writeBatchSheet(host.home, QStringLiteral("d:\\s\\b.dxf"), false);
    writeBatchSheet(host.home, QStringLiteral("d:\\s\\c.dxf"), true);
    const QByteArray b = test::readBytes(host.home.path(QStringLiteral("d:\\s\\b.dxf")));
    const QByteArray c = test::readBytes(host.home.path(QStringLiteral("d:\\s\\c.dxf")));
    host.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
    addtujhbgongshipl_Click(host.home.context);

    auto a = test::readDrawing(host.home, QStringLiteral("d:\\s\\a.dxf"));
    const QStringList texts = textStrings(*a);
    EXPECT_EQ(texts.size(), 9) << "eight cells and the text outside";
    EXPECT_TRUE(texts.contains(QStringLiteral("outside")));
    EXPECT_FALSE(texts.contains(QStringLiteral("old"))) << "touching the box edge: deleted";
    const struct {
        double x, y;
        const char* text;
    } cells[] = {{534500.2, 2551409.3, "2551.00-534.25"},
                 {534500.2, 2551413.3, "2551.20-534.25"},
                 {534515.2, 2551417.3, "2551.40-534.75"}};
    for (const auto& cell : cells) {
        cad::Entity* t = test::textAt(*a, cell.x, cell.y);
        ASSERT_NE(t, nullptr) << cell.text;
        EXPECT_EQ(t->TextString(), u(cell.text));
        EXPECT_EQ(t->Layer(), QStringLiteral("tk"));
    }
    EXPECT_EQ(test::textAt(*a, 534501, 2551409), nullptr) << "the old cell text is gone";
    const auto all = a->ModelSpace().entities();
    const auto mtext = std::count_if(all.begin(), all.end(),
                                     [](cad::Entity* e) { return e->kind() == cad::EntityKind::MText; });
    EXPECT_EQ(mtext, 1) << "MTEXT stays";

    EXPECT_EQ(test::lastMessage(host.home).value("text").toString(), u("无法找到Actkf1的块定义,操作无法进行！"));
    ASSERT_EQ(host.app.DocumentsCount(), 2) << "b stays open";
    EXPECT_TRUE(host.doc().FullName().endsWith(QStringLiteral("b.dxf")));
    EXPECT_EQ(test::readBytes(host.home.path(QStringLiteral("d:\\s\\b.dxf"))), b) << "unsaved";
    EXPECT_EQ(test::readBytes(host.home.path(QStringLiteral("d:\\s\\c.dxf"))), c) << "untouched";
    EXPECT_FALSE(host.app.transcript().contains(u("已经完成该操作!")));
    EXPECT_TRUE(test::textsOf(before).empty());
}

TEST(JoinBatches, RunTwiceLeavesOneTable)
{
    test::CadHost host;
    for (const char* f : {"d:\\s\\a.dxf", "d:\\s\\c.dxf"})
        writeBatchSheet(host.home, u(f), true);
    for (int run = 0; run < 2; ++run) {
        host.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
        addtujhbgongshipl_Click(host.home.context);
    }
    for (const char* f : {"d:\\s\\a.dxf", "d:\\s\\c.dxf"}) {
        auto doc = test::readDrawing(host.home, u(f));
        EXPECT_EQ(textStrings(*doc).size(), 9) << f << ": eight cells and the text outside";
    }
    EXPECT_EQ(host.app.transcript().count(u("已经完成该操作!")), 2);
    EXPECT_EQ(host.app.DocumentsCount(), 1);
    EXPECT_TRUE(host.home.ui.messages().isEmpty());
}

TEST(JoinBatches, CompanySheetSavedUnderItsNumber)
{
    test::CadHost host;
    writeBatchSheet(host.home, QStringLiteral("d:\\s\\a.dxf"), true);                            // no own number
    writeBatchSheet(host.home, QStringLiteral("d:\\s\\b.dxf"), true, QStringLiteral("2551.20-534.50"));
    const QByteArray a = test::readBytes(host.home.path(QStringLiteral("d:\\s\\a.dxf")));
    const QByteArray b = test::readBytes(host.home.path(QStringLiteral("d:\\s\\b.dxf")));
    host.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
    cehuigongshidingyi_Click(host.home.context);

    const QJsonObject m = test::lastMessage(host.home);
    EXPECT_EQ(m.value("text").toString(), u("无法更改本幅图的图幅号"));
    EXPECT_EQ(m.value("icon").toString(), u("critical"));
    EXPECT_EQ(test::readBytes(host.home.path(QStringLiteral("d:\\s\\a.dxf"))), a) << "never written";
    EXPECT_EQ(test::readBytes(host.home.path(QStringLiteral("d:\\s\\b.dxf"))), b) << "never written";
    EXPECT_EQ(QDir(host.home.path(QStringLiteral("d:\\s"))).entryList(QDir::Files).size(), 3) << "one new file";

    auto company = test::readDrawing(host.home, QStringLiteral("d:\\s\\2551-534-15.dxf"));
    ASSERT_TRUE(company);
    const struct {
        double x, y;
        const char* text;
    } cells[] = {{534500.2, 2551409.3, "2551-534-18"},
                 {534500.2, 2551413.3, "2551-534-14"},
                 {534515.2, 2551417.3, "2551-534-12"}};
    for (const auto& cell : cells) {
        cad::Entity* t = test::textAt(*company, cell.x, cell.y);
        ASSERT_NE(t, nullptr) << cell.text;
        EXPECT_EQ(t->TextString(), u(cell.text));
        EXPECT_EQ(t->ScaleFactor(), 0.8);
    }
    cad::Entity* own = test::textAt(*company, 534600, 2551250);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->TextString(), QStringLiteral("2551-534-15"));
    EXPECT_EQ(own->ScaleFactor(), 1.0);
    EXPECT_FALSE(textStrings(*company).contains(QStringLiteral("old")));
    EXPECT_EQ(host.app.DocumentsCount(), 1);
    EXPECT_EQ(host.app.transcript().count(u("已经完成该操作!")), 1);
}

TEST(JoinBatches, HostStoppedTellsBeforeThePicker)
{
    for (auto run : {addtujhbgongshipl_Click, cehuigongshidingyi_Click}) {
        test::CadHost host;
        host.app.setRunning(false);
        run(host.home.context);
        const QJsonArray events = host.home.ui.events();
        ASSERT_EQ(events.size(), 1);
        EXPECT_EQ(events[0].toObject().value("text").toString(), u("Autocad 未启动！"));
        EXPECT_EQ(events[0].toObject().value("title").toString(), u("提示"));
    }
}
