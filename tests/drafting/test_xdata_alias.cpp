// The extended-data listing and the command alias file.
#include "drafting/xdata_alias.h"
#include "drafting_host.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

TEST(XDataListing, EveryApplicationNumberedInOneSequence)
{
    const struct {
        const char* name;
        XData data;
        bool pick;
        const char* listing;
    } cases[] = {
        {"CASS entity", {xstr(1001, QStringLiteral("South")), xstr(1000, QStringLiteral("141111"))}, true,
         "\r\n 0  1001->South\r\n 1  1000->141111\r\n"},
        {"two applications",
         {xstr(1001, QStringLiteral("South")), xstr(1000, QStringLiteral("141111")), xstr(1001, QStringLiteral("ACAD")),
          {1040, QVariant(2.5)}, {1010, QVariant(QVariantList{1.0, 2.0, 0.0})}},
         true, "\r\n 0  1001->South\r\n 1  1000->141111\r\n 2  1001->ACAD\r\n 3  1040->2.5\r\n 4  1010->1,2,0\r\n"},
        {"no data", {}, true, "\r\n"},
        {"cancelled pick", {xstr(1001, QStringLiteral("South"))}, false, "\r\n"},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        Entity* e = h.square(0, 0, 10);
        if (!c.data.empty())
            e->SetXData(c.data);
        if (c.pick)
            h.answerEntity(e->Handle(), 0, 0);
        else
            h.answer(QStringLiteral("esc"));
        drafting::findxdataxtype_Click(h.context);
        EXPECT_EQ(h.app.transcript(), u("提示") + QString::fromLatin1(c.listing)) << c.name;
    }
    test::TempHome home;
    drafting::findxdataxtype_Click(home.context);
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

// The operator's alias file, all 47 lines as he keeps it.
const QByteArray kAliasFile =
        "CATALOG,DIR /W,0,File pattern: ,0\r\n"
        "DEL,DEL,       0,File to delete: ,4\r\n"
        "DIR,DIR,       0,File pattern: ,0\r\n"
        "EDIT,NOTEPAD,  0,File to edit: ,4\r\n"
        "SH,,           0,*OS Command: ,4\r\n"
        "SHELL,,        0,*OS Command: ,4\r\n"
        "TYPE,TYPE,     0,File to list: ,0\r\n"
        "; Command alias format:\r\n"
        "pe,     *pedit\r\n"
        "scr,    *script\r\n"
        "de,     *ddedit\r\n"
        "dd,     *ddedit\r\n"
        "di,     *dist\r\n"
        "ci,     *circle\r\n"
        "sc,     *scale\r\n"
        "E,      *ERASE\r\n"
        "v,      *getp\r\n"
        "ve,     *pedit\r\n"
        "pl,     *pline\r\n"
        "M,      *MOVE\r\n"
        "b,      *brEAK\r\n"
        "R,      *REDRAW\r\n"
        "Z,      *ZOOM\r\n"
        "C,      *COPY\r\n"
        "P,      *PAN\r\n"
        "RE,     *REGEN\r\n"
        "OF,     *OFFSET\r\n"
        "CH,     *CHANGE\r\n"
        "RO,     *ROTATE\r\n"
        "O,      *CHANGEHEIGHT\r\n"
        "TR,     *TRIM\r\n"
        "mi,     *mirror\r\n"
        "in,     *ddinsert\r\n"
        "wb,     *-wblock\r\n"
        "la,     *-layer\r\n"
        "s,      *putp\r\n"
        "h,      *HUAN\r\n"
        "off,    *offset\r\n"
        "bo,     *boundary\r\n"
        "j,     *polyins\r\n"
        "EX,    *EXTEND\r\n"
        "exp,    *explode\r\n"
        "X,    *DZPB\r\n"
        "Y,      *POLYINS\r\n"
        "T,      *FUZHI\r\n"
        "L,      *polyjoin\r\n"
        "ds,   *EXPLODEGCD\r\n";

TEST(AliasFile, FortySevenLinesReplacedWhole)
{
    test::TempHome home;
    const QString file = home.path(QStringLiteral("d:\\acad.pgp"));
    test::writeGbk(file, QStringLiteral("old content\r\nmore\r\nand more\r\n"));
    for (int run = 0; run < 2; ++run) {
        home.answer(QStringLiteral("save"), QStringLiteral("d:\\acad.pgp"));
        drafting::updataacadpgp_Click(home.context);
        EXPECT_EQ(test::readBytes(file), kAliasFile) << run;
    }
    const QStringList texts = test::messageTexts(home);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], u("成功保存目标文件:D:\\acad.pgp"));
    EXPECT_EQ(home.context.state().commonDialog.title, u("保存acad.pgp文件"));
    EXPECT_EQ(home.context.state().commonDialog.filter, u("E500数据文件(*.pgp)|*.pgp"));

    test::TempHome cancel;
    cancel.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    drafting::updataacadpgp_Click(cancel.context);
    EXPECT_TRUE(cancel.ui.messages().isEmpty());
}

TEST(PickStyle, SwitchesGroupPickingAndShowsItInTheCaption)
{
    const struct {
        const char* name;
        int start;
        int runs;
        int value;       // pickstyle afterwards
        const char* tail; // the caption's last three characters
    } cases[] = {
        {"1 turns it off", 1, 1, 0, "(关)"},
        {"again turns it on", 1, 2, 1, "(开)"},
        {"2 counts as not 1", 2, 1, 1, "(开)"},
        {"3 counts as not 1", 3, 1, 1, "(开)"},
        {"0 turns it on", 0, 1, 1, "(开)"},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        h.doc().SetVariable(QStringLiteral("pickstyle"), c.start);
        for (int i = 0; i < c.runs; ++i)
            drafting::entitybianzhou_Click(h.context);
        const QString caption = u("实体编组控制") + u(c.tail);
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("PICKSTYLE")).toInt(), c.value) << c.name;
        EXPECT_EQ(h.context.state().groupPickCaption, caption) << c.name;
        EXPECT_TRUE(h.app.transcript().endsWith(caption + QStringLiteral("\r\n"))) << c.name;
    }
}

TEST(PickStyle, WithoutAHostNothingChanges)
{
    test::TempHome home;
    EXPECT_EQ(home.context.state().groupPickCaption, u("实体编组控制"));
    drafting::entitybianzhou_Click(home.context);
    EXPECT_EQ(home.context.state().groupPickCaption, u("实体编组控制"));
    EXPECT_TRUE(home.ui.messages().isEmpty());

    test::DraftingHost h;
    drafting::entitybianzhou_Click(h.context); // 1 -> (关)
    h.app.setRunning(false);
    drafting::entitybianzhou_Click(h.context);
    EXPECT_EQ(h.context.state().groupPickCaption, u("实体编组控制(关)"));
    EXPECT_TRUE(h.ui.messages().isEmpty());
}
