#include "landuse/parcel_record.h"

#include "cad/cad.h"
#include "platform/context.h"
#include "routines/routines.h"

namespace kelvor::landuse {

using namespace cad;

namespace {

constexpr double kCellHeight = 5.946;

struct CellRow {
    double dx, dy, w;
    int r14Item, item2004;
};

// The offsets and widths are SCAS's own, used exactly as they stand even
// where the right borders disagree by a fraction.
constexpr CellRow kCells[kCellCount] = {
    {11.405, 7.946, 136.594, 4, 7},      {11.405, 13.892, 92.1692, 5, 9},     {103.5745, 13.892, 44.4255, 6, 11},
    {11.405, 19.838, 92.1692, 12, 23},   {48.3859, 37.676, 55.1886, 13, 25},  {48.3859, 43.622, 55.1886, 14, 27},
    {48.3859, 49.568, 55.1886, 15, 29},  {48.3859, 55.514, 55.1886, 16, 31},
};

// Writes of each layout that do not come from the title block.
struct LayoutWrites {
    int copyFrom, copyTo, emptied;
};
constexpr LayoutWrites kR14Writes{19, 26, 27};
constexpr LayoutWrites k2004Writes{37, 51, 53};

int itemOf(const CellRow& row, RecordLayout layout)
{
    return layout == RecordLayout::R14 ? row.r14Item : row.item2004;
}

void writeItem(XData& record, int index, const QVariant& value)
{
    if (index < int(record.size()))
        record[size_t(index)] = {1000, value};
}

} // namespace

bool isRecordMarker(double thickness)
{
    return LeadingNumber(NumberText(thickness)) == kRecordMarker;
}

QString recordValueText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText(value.toDouble());
    default:
        return value.toString();
    }
}

bool isLayout(const XData& record, RecordLayout layout)
{
    if (layout == RecordLayout::R14)
        return record.size() > 29 && LeadingNumber(recordValueText(record[29].value)) == 1;
    return !record.empty() && TrimBlanks(recordValueText(record[0].value)) == QStringLiteral("地籍图号");
}

bool isUsableRecord(const XData& record)
{
    return record.size() >= 5;
}

std::vector<double> titleCellPolygon(const Point& insertion, int cell)
{
    const CellRow& c = kCells[cell - 1];
    const double left = insertion.x + c.dx, right = left + c.w;
    const double top = insertion.y - c.dy, bottom = top - kCellHeight;
    return {left, top, 0, left, bottom, 0, right, bottom, 0, right, top, 0};
}

QString titleCellText(int cell, const QStringList& textsInside)
{
    if (textsInside.isEmpty())
        return {};
    return cell == 3 ? textsInside.first() : textsInside.last();
}

XData updatedRecord(XData record, RecordLayout layout, const TitleCells& cells, bool replaceName)
{
    for (int cell = replaceName ? 1 : 2; cell <= kCellCount; ++cell)
        writeItem(record, itemOf(kCells[cell - 1], layout), cells[size_t(cell - 1)]);
    const LayoutWrites& w = layout == RecordLayout::R14 ? kR14Writes : k2004Writes;
    if (w.copyFrom < int(record.size()))
        writeItem(record, w.copyTo, record[size_t(w.copyFrom)].value);
    writeItem(record, w.emptied, QString());
    return record;
}

// ---- the command ------------------------------------------------------------

namespace {

const QString kBadRecord = QStringLiteral("数据有问题，未处理");

// The record line: the first LINE of the whole drawing that carries the marker.
Entity* findRecordLine(Document& doc)
{
    std::vector<Entity*> lines;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text1"));
        set.Select(SelectAll, {}, {}, BuildFilter({0, QStringLiteral("line")}));
        lines = set.entities();
    });
    for (Entity* e : lines) {
        double t = 0;
        if (attempt([&] { t = e->Thickness(); }) && isRecordMarker(t))
            return e;
    }
    return nullptr;
}

std::optional<Point> titleBlockInsertion(Document& doc)
{
    std::optional<Point> at;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text"));
        set.Select(SelectAll, {}, {}, BuildFilter({2, kTitleBlockNames}));
        if (set.Count() > 0)
            at = set.Item(0)->InsertionPoint();
    });
    return at;
}

TitleCells readTitleCells(Document& doc, const Point& insertion)
{
    TitleCells cells;
    for (int cell = 1; cell <= kCellCount; ++cell) {
        QStringList texts;
        attempt([&] {
            SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text"));
            set.SelectByPolygon(SelectWindowPolygon, titleCellPolygon(insertion, cell),
                                BuildFilter({0, QStringLiteral("text")}));
            for (Entity* e : set.entities())
                attempt([&] { texts << e->TextString(); });
        });
        cells[size_t(cell - 1)] = titleCellText(cell, texts);
    }
    return cells;
}

// Esc, like Enter, means "N".
bool replaceNameAsked(Document& doc)
{
    QString answer;
    attempt([&] { answer = doc.Utility().GetString(false, QStringLiteral("是否修改权利人姓名[Y/N]<N>:")); });
    return isYes(answer);
}

// Asks, writes the layout's items and tells: a refused write shows the
// bad-record box in place of the note.
void updateLayout(Context& ctx, Document& doc, Entity& line, XData& record, RecordLayout layout,
                  const TitleCells& cells)
{
    record = updatedRecord(record, layout, cells, replaceNameAsked(doc));
    if (!attempt([&] { line.SetXData(record); })) {
        ctx.ui().message(kBadRecord);
        return;
    }
    attempt([&] {
        doc.Utility().Prompt(layout == RecordLayout::R14 ? QStringLiteral("R14版，已完成")
                                                         : QStringLiteral("2004版，已完成"));
    });
}

} // namespace

void zhongdishuxingxiugai_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app, {Forward::Activate}, ConnectFailure::Silent);
    if (!doc) {
        ctx.ui().message(kBadRecord);
        return;
    }
    attempt([&] { app->ZoomExtents(); });
    Entity* line = findRecordLine(*doc);
    const std::optional<Point> insertion = titleBlockInsertion(*doc);
    if (!insertion) {
        ctx.ui().message(QStringLiteral("无法找到指定块"));
        return;
    }
    const TitleCells cells = readTitleCells(*doc, *insertion);
    XData record;
    if (line)
        attempt([&] { record = line->GetXData(QString()); });
    if (!isUsableRecord(record)) {
        ctx.ui().message(kBadRecord);
        return;
    }
    for (RecordLayout layout : {RecordLayout::R14, RecordLayout::V2004})
        if (isLayout(record, layout))
            updateLayout(ctx, *doc, *line, record, layout, cells);
}

} // namespace kelvor::landuse
