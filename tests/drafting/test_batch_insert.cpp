// The batch insertion list and its insertion into the drawing.
#include "drafting/batch_insert.h"
#include "drafting/commands.h"
#include "drafting/ui/insdwg.h"
#include "drafting_host.h"
#include "platform/commands.h"
#include "platform/paths.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

namespace {

// A drawing file holding one line from (x, 0) to (x, 1).
void drawing(const QString& nativePath, double x)
{
    QDir().mkpath(QFileInfo(nativePath).absolutePath());
    Document doc;
    doc.ModelSpace().AddLine({x, 0, 0}, {x, 1, 0});
    writeDxf(doc, nativePath);
}

drafting::DrawingList listOf(const QStringList& entries, int current, std::vector<bool> selected = {})
{
    drafting::DrawingList l;
    l.entries = entries;
    l.selected = selected.empty() ? std::vector<bool>(entries.size(), true) : selected;
    l.current = current;
    return l;
}

// The busy picture's every switch.
struct BusyUi : ScriptedUi {
    using ScriptedUi::ScriptedUi;
    void setBusy(bool busy) override
    {
        switches.push_back(busy);
        ScriptedUi::setBusy(busy);
    }
    std::vector<bool> switches;
};

int references(test::CadHost& h)
{
    int n = 0;
    for (Entity* e : h.ms().entities())
        n += e->kind() == EntityKind::BlockReference;
    return n;
}

} // namespace

TEST(DrawingList, DrawingsOfAFolderInNameOrder)
{
    test::TempHome home;
    for (const char* name : {"c.dxf.bak", "d.dwg", "B.DXF", "a.dxf"})
        test::writeGbk(home.path(QStringLiteral("d:\\data\\") + QString::fromLatin1(name)), QString());
    QDir().mkpath(home.path(QStringLiteral("d:\\data\\e.dxf"))); // a folder
    EXPECT_EQ(drafting::drawingEntries(QStringLiteral("D:\\data")),
              (QStringList{QStringLiteral("D:\\data\\a.dxf"), QStringLiteral("D:\\data\\B.DXF")}));
    test::writeGbk(home.path(QStringLiteral("d:\\a.dxf")), QString());
    EXPECT_EQ(drafting::drawingEntries(QStringLiteral("D:\\")), QStringList{QStringLiteral("D:\\a.dxf")});
}

TEST(DrawingList, ChoosingAFolderSelectsAllAndEmptiesWatch)
{
    test::TempHome home;
    test::writeGbk(home.path(QStringLiteral("d:\\data\\a.dxf")), QString());
    test::writeGbk(home.path(QStringLiteral("d:\\data\\b.dxf")), QString());
    test::writeGbk(paths::scratch(QStringLiteral("watch.txt")), QStringLiteral("old\r\n"));
    drafting::DrawingList l = listOf({QStringLiteral("x")}, 0, {false});
    home.answer(QStringLiteral("folder"), QStringLiteral("D:\\data"));
    ASSERT_TRUE(drafting::chooseFolder(home.context, l));
    EXPECT_EQ(l.entries, (QStringList{QStringLiteral("D:\\data\\a.dxf"), QStringLiteral("D:\\data\\b.dxf")}));
    EXPECT_EQ(l.selected, (std::vector<bool>{true, true}));
    EXPECT_EQ(l.current, -1);
    EXPECT_EQ(test::readBytes(paths::scratch(QStringLiteral("watch.txt"))), QByteArray());

    home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    EXPECT_FALSE(drafting::chooseFolder(home.context, l));
    EXPECT_EQ(l.entries.size(), 2);
}

TEST(DrawingList, ArrowsAndDelete)
{
    const QString A = QStringLiteral("A"), B = QStringLiteral("B"), C = QStringLiteral("C");
    const struct {
        const char* name;
        void (drafting::DrawingList::*op)();
        int current;
        QStringList entries;
        int currentAfter;
    } cases[] = {
        {"up on B", &drafting::DrawingList::moveUp, 1, {B, A, C}, 0},
        {"down on A", &drafting::DrawingList::moveDown, 0, {B, A, C}, 1},
        {"up on the first", &drafting::DrawingList::moveUp, 0, {A, B, C}, 0},
        {"down on the last", &drafting::DrawingList::moveDown, 2, {A, B, C}, 2},
        {"up without a current entry", &drafting::DrawingList::moveUp, -1, {A, B, C}, -1},
        {"delete B", &drafting::DrawingList::removeCurrent, 1, {A, C}, -1},
        {"delete without a current entry", &drafting::DrawingList::removeCurrent, -1, {A, B, C}, -1},
    };
    for (const auto& c : cases) {
        drafting::DrawingList l = listOf({A, B, C}, c.current, {true, false, true});
        (l.*c.op)();
        EXPECT_EQ(l.entries, c.entries) << c.name;
        EXPECT_EQ(l.current, c.currentAfter) << c.name;
        EXPECT_EQ(l.selected.size(), size_t(c.entries.size())) << c.name;
    }
    // the selection stays by position while the texts move
    drafting::DrawingList l = listOf({A, B, C}, 1, {true, false, true});
    l.moveUp();
    EXPECT_EQ(l.selected, (std::vector<bool>{true, false, true}));
}

TEST(DrawingList, TipShowsTheLastTwentyCharacters)
{
    EXPECT_EQ(drafting::entryTip(QStringLiteral("D:\\a.dxf")), QStringLiteral("..\\D:\\a.dxf"));
    EXPECT_EQ(drafting::entryTip(QStringLiteral("D:\\survey\\2007\\sheet-0012.dxf")),
              QStringLiteral("..\\\\2007\\sheet-0012.dxf"));
}

TEST(BatchInsert, SelectedDrawingsInsertedAndCounted)
{
    const struct {
        const char* name;
        std::vector<bool> selected;
        bool explode;
        int references, lines;
        const char* finish;
    } cases[] = {
        {"three selected", {true, true, true}, false, 3, 0, "OK！Finish:3"},
        {"exploded", {true, true, true}, true, 0, 3, "OK！Finish:3"},
        {"one left out", {true, false, true}, false, 2, 0, "OK！Finish:2"},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        QStringList entries;
        for (int i = 0; i < 3; ++i) {
            const QString name = QStringLiteral("d:\\dwg\\%1.dxf").arg(QChar('a' + i));
            drawing(h.home.path(name), 10 * i);
            entries << QStringLiteral(" ") + name + QStringLiteral(" ");
        }
        drafting::mergeDrawings(h.context, listOf(entries, -1, c.selected), c.explode);
        EXPECT_EQ(references(h), c.references) << c.name;
        int lines = 0;
        for (Entity* e : h.ms().entities())
            lines += e->kind() == EntityKind::Line;
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(h.app.transcript(), u(c.finish)) << c.name;
        EXPECT_EQ(h.app.activations(), 1) << c.name;
        EXPECT_FALSE(h.ui.busy()) << c.name;
    }
}

TEST(BatchInsert, AFailedInsertionEndsTheBatchSilently)
{
    test::DraftingHost h;
    drawing(h.home.path(QStringLiteral("d:\\a.dxf")), 0);
    drawing(h.home.path(QStringLiteral("d:\\c.dxf")), 20);
    drafting::mergeDrawings(
        h.context,
        listOf({QStringLiteral("d:\\a.dxf"), QStringLiteral("d:\\missing.dxf"), QStringLiteral("d:\\c.dxf")}, -1),
        false);
    EXPECT_EQ(references(h), 1);
    EXPECT_EQ(h.app.transcript(), QString());
    EXPECT_TRUE(h.ui.messages().isEmpty());
    EXPECT_FALSE(h.ui.busy());

    test::TempHome none;
    drafting::mergeDrawings(none.context, listOf({QStringLiteral("d:\\a.dxf")}, -1), false);
    EXPECT_TRUE(none.ui.messages().isEmpty());
    EXPECT_FALSE(none.ui.busy());
}

TEST(BatchInsert, BusyOnOnceAndOffOnEveryPath)
{
    const struct {
        const char* name;
        bool host;
        const char* file;
        std::vector<bool> switches;
    } cases[] = {
        {"inserted", true, "d:\\a.dxf", {true, false}},
        {"a file the host cannot insert", true, "d:\\missing.dxf", {true, false}},
        {"no host", false, "d:\\a.dxf", {}},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        drawing(h.home.path(QStringLiteral("d:\\a.dxf")), 0);
        BusyUi ui(h.home.answers);
        Context ctx(h.home.settings, ui);
        if (c.host)
            ctx.setCad(&h.app);
        drafting::mergeDrawings(ctx, listOf({QString::fromLatin1(c.file)}, -1), false);
        EXPECT_EQ(ui.switches, c.switches) << c.name;
    }
}

TEST(InsdwgWindow, OpenedByItsMenuItem)
{
    test::TempHome home;
    CommandRegistry registry;
    drafting::registerDraftingCommands(registry);
    QStringList opened;
    home.context.openWindow = [&](const QString& form) { opened << form; };
    registry.run(QStringLiteral("insertdwg"), home.context);
    EXPECT_EQ(opened, QStringList{QStringLiteral("insdwg")});
}

TEST(InsdwgWindow, ListButtonsAndMerge)
{
    test::DraftingHost h;
    for (const char* name : {"a", "b", "c"})
        drawing(h.home.path(QStringLiteral("d:\\%1.dxf").arg(QLatin1String(name))), 0);
    drafting::Insdwg w(h.context);
    EXPECT_EQ(w.windowTitle(), u("批量插入文件"));
    auto* list1 = w.findChild<QListWidget*>(QStringLiteral("List1"));
    ASSERT_NE(list1, nullptr);
    EXPECT_EQ(list1->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("Command1(2)"))->text(), u("▲"));
    EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("Command1(3)"))->toolTip(), u("下移"));
    EXPECT_FALSE(w.findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());

    h.answer(QStringLiteral("folder"), QStringLiteral("D:\\"));
    w.Command1_Click(0);
    ASSERT_EQ(list1->count(), 3);
    EXPECT_EQ(list1->selectedItems().size(), 3);
    list1->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    EXPECT_EQ(list1->toolTip(), QStringLiteral("..\\D:\\b.dxf"));
    w.Command1_Click(2);
    EXPECT_EQ(w.list().entries,
              (QStringList{QStringLiteral("D:\\b.dxf"), QStringLiteral("D:\\a.dxf"), QStringLiteral("D:\\c.dxf")}));
    EXPECT_EQ(list1->currentRow(), 0);

    // nothing selected: the arrows and 删除 do nothing
    list1->clearSelection();
    list1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w.Command1_Click(3);
    w.Command1_Click(4);
    EXPECT_EQ(list1->count(), 3);
    EXPECT_EQ(list1->item(0)->text(), QStringLiteral("D:\\b.dxf"));
    w.Command1_Click(1);
    EXPECT_EQ(h.app.transcript(), QString());

    w.Command2_Click();
    w.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
    w.Command1_Click(1);
    EXPECT_EQ(h.app.transcript(), u("OK！Finish:3"));
    EXPECT_EQ(references(h), 0);
    EXPECT_EQ(h.ms().Count(), 3);
}
