// The SCAS parcel record filled from the parcel map's title block.
#include "cad_host.h"
#include "landuse/parcel_record.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using namespace kelvor::landuse;
using test::u;

namespace {

// A record of count items: item 0 the application, item i the text "v<i>".
XData record(int count, const QString& app = QStringLiteral("SCAS"))
{
    XData r{xstr(1001, app)};
    for (int i = 1; i < count; ++i)
        r.push_back(xstr(1000, QStringLiteral("v%1").arg(i)));
    return r;
}

XData r14Record(int count = 30)
{
    XData r = record(count);
    r[29] = xstr(1000, QStringLiteral("1"));
    return r;
}

XData record2004(int count = 40)
{
    return record(count, u(" 地籍图号 "));
}

QStringList values(const XData& r)
{
    QStringList out;
    for (const XDataItem& it : r)
        out << recordValueText(it.value);
    return out;
}

TitleCells numberedCells()
{
    TitleCells c;
    for (int i = 0; i < kCellCount; ++i)
        c[size_t(i)] = QStringLiteral("c%1").arg(i + 1);
    return c;
}

const Point kTitleAt{1000, 2000, 0};

// Where a short text of height 2 lies wholly inside a cell.
Point insideCell(int cell, double right = 1)
{
    const std::vector<double> p = titleCellPolygon(kTitleAt, cell);
    return {p[0] + right, p[1] - 4, 0};
}

// The parcel map: the marker line carrying the record, the title block at
// (1000, 2000) and one text per cell (two in cells 2 and 3).
struct ParcelMap {
    test::CadHost h;
    Entity* line = nullptr;

    explicit ParcelMap(const XData& rec, bool titleBlock = true)
    {
        line = h.ms().AddLine({0, 0, 0}, {10, 0, 0});
        line->setThickness(kRecordMarker);
        line->SetXData(rec);
        if (titleBlock) {
            h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("ACDJTK6B")).AddLine({0, 0, 0}, {148, 0, 0});
            h.ms().InsertBlock(kTitleAt, QStringLiteral("ACDJTK6B"), 1, 1, 1, 0);
        }
        for (int cell = 1; cell <= kCellCount; ++cell)
            h.ms().AddText(QStringLiteral("c%1").arg(cell), insideCell(cell), 2);
        h.ms().AddText(QStringLiteral("c2b"), insideCell(2, 20), 2);
        h.ms().AddText(QStringLiteral("c3b"), insideCell(3, 20), 2);
    }
    XData run()
    {
        zhongdishuxingxiugai_Click(h.context);
        return line->GetXData(QString());
    }
};

} // namespace

TEST(ParcelRecord, MarkerAndLayouts)
{
    EXPECT_TRUE(isRecordMarker(1500088));
    EXPECT_FALSE(isRecordMarker(1500088.5));
    EXPECT_FALSE(isRecordMarker(1500087));

    const struct {
        QVariant item29;
        bool r14;
    } item29[] = {
        {QStringLiteral("1"), true},  {QStringLiteral("1.0"), true}, {QStringLiteral("01"), true},
        {QStringLiteral("1a"), true}, {QStringLiteral("  1"), true}, {QVariant(1.0), true},
        {QString(), false},           {QStringLiteral("0"), false},  {QStringLiteral("2"), false},
        {QStringLiteral("a1"), false},
    };
    for (const auto& c : item29) {
        XData r = record(30);
        r[29].value = c.item29;
        EXPECT_EQ(isLayout(r, RecordLayout::R14), c.r14) << c.item29.toString().toStdString();
    }
    EXPECT_FALSE(isLayout(record(20), RecordLayout::R14));

    const struct {
        const char* item0;
        bool v2004;
    } item0[] = {{"地籍图号", true}, {"  地籍图号 ", true}, {"地籍图号x", false}, {"地籍图", false}};
    for (const auto& c : item0)
        EXPECT_EQ(isLayout(record(5, u(c.item0)), RecordLayout::V2004), c.v2004) << c.item0;

    EXPECT_FALSE(isUsableRecord(record(4)));
    EXPECT_TRUE(isUsableRecord(record(5)));
}

TEST(ParcelRecord, CellWindowsAndTexts)
{
    EXPECT_EQ(titleCellPolygon(kTitleAt, 1),
              (std::vector<double>{1011.405, 1992.054, 0, 1011.405, 2000 - 7.946 - 5.946, 0, 1011.405 + 136.594,
                                   2000 - 7.946 - 5.946, 0, 1011.405 + 136.594, 1992.054, 0}));
    const std::vector<double> c3 = titleCellPolygon({0, 0, 0}, 3);
    EXPECT_EQ(c3[0], 103.5745);
    EXPECT_EQ(c3[6], 103.5745 + 44.4255);
    EXPECT_EQ(c3[1], -13.892);

    const QStringList two{QStringLiteral("earlier"), QStringLiteral("later")};
    EXPECT_EQ(titleCellText(2, two), QStringLiteral("later"));
    EXPECT_EQ(titleCellText(3, two), QStringLiteral("earlier"));
    EXPECT_EQ(titleCellText(8, two), QStringLiteral("later"));
    EXPECT_EQ(titleCellText(3, {}), QString());
}

TEST(ParcelRecord, UpdatedItemsOfEachLayout)
{
    XData r14 = r14Record();
    r14[5] = {1070, 3};
    r14[19] = {1040, 12.5};
    const XData r = updatedRecord(r14, RecordLayout::R14, numberedCells(), false);
    ASSERT_EQ(r.size(), 30u);
    QStringList expected = values(r14Record());
    const struct {
        int item;
        const char* value;
    } writes[] = {{5, "c2"}, {6, "c3"}, {12, "c4"}, {13, "c5"}, {14, "c6"}, {15, "c7"}, {16, "c8"}, {26, "12.5"},
                  {27, ""}, {19, "12.5"}};
    for (const auto& w : writes)
        expected[w.item] = QString::fromLatin1(w.value);
    EXPECT_EQ(values(r), expected);
    EXPECT_EQ(r[5].code, 1000);
    EXPECT_EQ(r[26], (XDataItem{1000, 12.5})); // the stored value, unchanged
    EXPECT_EQ(r[19].code, 1040);
    EXPECT_EQ(r[0].code, 1001);
    EXPECT_EQ(updatedRecord(r14, RecordLayout::R14, numberedCells(), true)[4], xstr(1000, QStringLiteral("c1")));

    // a 40-item 2004 record: nothing appended beyond its end
    const XData r40 = updatedRecord(record2004(40), RecordLayout::V2004, numberedCells(), true);
    QStringList expected40 = values(record2004(40));
    for (const auto& [item, cell] : {std::pair{7, 1}, {9, 2}, {11, 3}, {23, 4}, {25, 5}, {27, 6}, {29, 7}, {31, 8}})
        expected40[item] = QStringLiteral("c%1").arg(cell);
    EXPECT_EQ(values(r40), expected40);

    const XData r54 = updatedRecord(record2004(54), RecordLayout::V2004, numberedCells(), false);
    EXPECT_EQ(r54[51], xstr(1000, QStringLiteral("v37")));
    EXPECT_EQ(r54[53], xstr(1000, QString()));
    EXPECT_EQ(r54[7], xstr(1000, QStringLiteral("v7")));
}

TEST(ParcelRecordCommand, R14RecordFromTheTitleBlock)
{
    ParcelMap map(r14Record());
    map.h.answer(QStringLiteral("string"), QStringLiteral("Y"));
    const XData r = map.run();
    ASSERT_EQ(r.size(), 30u);
    QStringList expected = values(r14Record());
    const struct {
        int item;
        const char* value;
    } writes[] = {{4, "c1"},  {5, "c2b"}, {6, "c3"},  {12, "c4"}, {13, "c5"},
                  {14, "c6"}, {15, "c7"}, {16, "c8"}, {26, "v19"}, {27, ""}};
    for (const auto& w : writes)
        expected[w.item] = QString::fromLatin1(w.value);
    EXPECT_EQ(values(r), expected);
    EXPECT_TRUE(map.h.app.transcript().contains(u("是否修改权利人姓名[Y/N]<N>:")));
    EXPECT_TRUE(map.h.app.transcript().endsWith(u("R14版，已完成")));
    EXPECT_TRUE(test::messageTexts(map.h.home).isEmpty());
    EXPECT_TRUE(map.h.app.events().contains(QStringLiteral("ZoomExtents")));
}

TEST(ParcelRecordCommand, TheNameOnlyOnYes)
{
    const struct {
        const char* kind;
        const char* answer;
        bool replaced;
    } cases[] = {
        {"string", "Y", true}, {"string", "y", true},  {"string", "y n", true}, {"string", "N", false},
        {"string", "n", false}, {"string", "yes", false}, {"enter", "", false},  {"esc", "", false},
    };
    for (const auto& c : cases) {
        ParcelMap map(r14Record());
        map.h.answer(QString::fromLatin1(c.kind), QString::fromLatin1(c.answer));
        const XData r = map.run();
        EXPECT_EQ(recordValueText(r[4].value), c.replaced ? QStringLiteral("c1") : QStringLiteral("v4"))
            << c.kind << " " << c.answer;
        EXPECT_EQ(recordValueText(r[5].value), QStringLiteral("c2b")) << c.answer;
    }
}

TEST(ParcelRecordCommand, A2004RecordKeepsItsLength)
{
    ParcelMap map(record2004(40));
    map.h.answer(QStringLiteral("string"), QStringLiteral("y"));
    const XData r = map.run();
    ASSERT_EQ(r.size(), 40u);
    EXPECT_EQ(recordValueText(r[7].value), QStringLiteral("c1"));
    EXPECT_EQ(recordValueText(r[9].value), QStringLiteral("c2b"));
    EXPECT_EQ(recordValueText(r[11].value), QStringLiteral("c3"));
    EXPECT_EQ(recordValueText(r[31].value), QStringLiteral("c8"));
    EXPECT_TRUE(map.h.app.transcript().endsWith(u("2004版，已完成")));
}

TEST(ParcelRecordCommand, BothLayoutsAskEachTimeAndEscMeansNo)
{
    XData both = record2004(40);
    both[29] = xstr(1000, QStringLiteral("1"));
    ParcelMap map(both);
    map.h.answer(QStringLiteral("string"), QStringLiteral("Y"));
    map.h.answer(QStringLiteral("esc"));
    const XData r = map.run();
    EXPECT_EQ(recordValueText(r[4].value), QStringLiteral("c1"));
    EXPECT_EQ(recordValueText(r[7].value), QStringLiteral("v7"));
    // the 2004 writes come after the R14 ones: item 29 ends as cell 7
    EXPECT_EQ(recordValueText(r[29].value), QStringLiteral("c7"));
    EXPECT_EQ(map.h.app.transcript().count(u("是否修改权利人姓名")), 2);
    EXPECT_TRUE(map.h.app.transcript().contains(u("R14版，已完成")));
    EXPECT_TRUE(map.h.app.transcript().endsWith(u("2004版，已完成")));
}

TEST(ParcelRecordCommand, CellsReadOnlyWhatLiesWhollyInside)
{
    ParcelMap map(r14Record());
    // a second block reference, scaled and turned, is not the one read
    map.h.ms().InsertBlock({0, 0, 0}, QStringLiteral("ACDJTK6B"), 2, 2, 1, 1);
    const std::vector<double> c4 = titleCellPolygon(kTitleAt, 4);
    map.h.ms().AddText(QStringLiteral("across"), {c4[0] - 2, c4[1] - 4, 0}, 2);
    map.h.ms().AddMText(insideCell(5, 10), 10, QStringLiteral("mtext"));
    map.h.answer(QStringLiteral("enter"));
    const XData r = map.run();
    EXPECT_EQ(recordValueText(r[12].value), QStringLiteral("c4"));
    EXPECT_EQ(recordValueText(r[13].value), QStringLiteral("c5"));
}

TEST(ParcelRecordCommand, EmptyCellsEmptyTheirItems)
{
    test::CadHost h;
    Entity* line = h.ms().AddLine({0, 0, 0}, {1, 0, 0});
    line->setThickness(kRecordMarker);
    line->SetXData(r14Record());
    h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("ACDJTK8B"));
    h.ms().InsertBlock(kTitleAt, QStringLiteral("ACDJTK8B"), 2, 2, 1, 0.5);
    h.answer(QStringLiteral("string"), QStringLiteral("Y"));
    zhongdishuxingxiugai_Click(h.context);
    const XData r = line->GetXData(QString());
    for (int item : {4, 5, 6, 12, 13, 14, 15, 16, 27})
        EXPECT_EQ(r[size_t(item)], xstr(1000, QString())) << item;
}

TEST(ParcelRecordCommand, RefusedRuns)
{
    const struct {
        const char* name;
        std::function<void(ParcelMap&)> setup;
        bool titleBlock;
        const char* message;
    } cases[] = {
        {"no title block", [](ParcelMap&) {}, false, "无法找到指定块"},
        {"no record line", [](ParcelMap& m) { m.line->setThickness(1500088.5); }, true, "数据有问题，未处理"},
        {"no record", [](ParcelMap& m) { m.line->setThickness(0); }, true, "数据有问题，未处理"},
        {"no host", [](ParcelMap& m) { m.h.app.setRunning(false); }, true, "数据有问题，未处理"},
    };
    for (const auto& c : cases) {
        ParcelMap map(r14Record(), c.titleBlock);
        c.setup(map);
        const XData r = map.run();
        EXPECT_EQ(r, r14Record()) << c.name;
        const QJsonObject box = test::lastMessage(map.h.home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(), u(c.message)) << c.name;
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("none")) << c.name;
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), applicationTitle()) << c.name;
        EXPECT_EQ(test::messageTexts(map.h.home).size(), 1) << c.name;
        EXPECT_FALSE(map.h.app.transcript().contains(u("是否修改"))) << c.name;
    }
    // a record of four items is no record
    ParcelMap shortRecord(record(4));
    shortRecord.run();
    EXPECT_EQ(test::messageTexts(shortRecord.h.home), QStringList{u("数据有问题，未处理")});
}

TEST(ParcelRecordCommand, ARefusedWriteIsToldAsBadData)
{
    ParcelMap map(r14Record());
    map.h.doc().Layers().Add(QStringLiteral("locked"));
    map.line->setLayer(QStringLiteral("locked"));
    map.h.doc().Layers().Item(QStringLiteral("locked")).Lock = true;
    map.h.answer(QStringLiteral("string"), QStringLiteral("Y"));
    EXPECT_EQ(map.run(), r14Record());
    EXPECT_EQ(test::messageTexts(map.h.home), QStringList{u("数据有问题，未处理")});
    EXPECT_FALSE(map.h.app.transcript().contains(u("已完成")));
}

TEST(ParcelRecordCommand, NeitherLayoutIsLeftAlone)
{
    ParcelMap map(record(30));
    EXPECT_EQ(map.run(), record(30));
    EXPECT_TRUE(test::messageTexts(map.h.home).isEmpty());
    EXPECT_FALSE(map.h.app.transcript().contains(u("是否修改")));
}

TEST(ParcelRecordCommand, OnlyTheFirstRecordLine)
{
    ParcelMap map(r14Record());
    Entity* second = map.h.ms().AddLine({0, 5, 0}, {10, 5, 0});
    second->setThickness(kRecordMarker);
    second->SetXData(r14Record());
    map.h.answer(QStringLiteral("enter"));
    EXPECT_NE(map.run(), r14Record());
    EXPECT_EQ(second->GetXData(QString()), r14Record());
}
