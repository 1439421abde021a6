#include "plotting.h"

#include "pass_over.h"

#include "cad/cad.h"
#include "platform/context.h"
#include "routines/routines.h"

#include <cmath>

namespace kelvor::sheets {

std::optional<PrintFrameSize> printFrameSize(double paper, bool reversed, double denominator,
                                             std::optional<double> customW, std::optional<double> customH)
{
    PrintFrameSize s;
    if (paper == 1 || paper == 2) {
        s = paper == 1 ? PrintFrameSize{400, 285} : PrintFrameSize{279, 201};
        if (reversed)
            std::swap(s.w, s.h);
        const double k = denominator / 1000;
        s.w *= k;
        s.h *= k;
    } else if (paper == 3 && customW && customH) {
        s = {*customW, *customH};
    } else {
        return std::nullopt;
    }
    if (s.w == 0 || s.h == 0)
        return std::nullopt;
    return s;
}

PrintFrameGrid printFrameGrid(const cad::Point& lo, const cad::Point& hi, const PrintFrameSize& size)
{
    return {std::floor((hi.x - lo.x) / size.w) + 1, std::floor((hi.y - lo.y) / size.h) + 1};
}

bool PrintFrameGrid::tooMany() const
{
    // A count that is not a number (a window or frame of infinite size) is
    // no count anyone can draw.
    if (std::isnan(columns) || std::isnan(rows))
        return true;
    if (columns > MaxCountFromFigures || rows > MaxCountFromFigures)
        return true;
    return columns >= 1 && rows >= 1 && columns * rows > MaxCountFromFigures;
}

std::int64_t PrintFrameGrid::frames() const
{
    if (tooMany() || columns < 1 || rows < 1)
        return 0;
    return std::int64_t(columns) * std::int64_t(rows);
}

std::vector<cad::Point> printFrameTiles(const cad::Point& lo, const cad::Point& hi, const PrintFrameSize& size)
{
    const PrintFrameGrid grid = printFrameGrid(lo, hi, size);
    std::vector<cad::Point> out;
    if (grid.frames() == 0)
        return out;
    const std::int64_t columns = std::int64_t(grid.columns), rows = std::int64_t(grid.rows);
    out.reserve(size_t(grid.frames()));
    for (std::int64_t i = 0; i < columns; ++i)
        for (std::int64_t j = 0; j < rows; ++j)
            out.push_back({lo.x + double(i) * size.w, lo.y + double(j) * size.h, 0});
    return out;
}

QString tooManyFramesText(const cad::Point& lo, const cad::Point& hi, const PrintFrameSize& size)
{
    const PrintFrameGrid grid = printFrameGrid(lo, hi, size);
    return QStringLiteral("打印图框过多：图框 %1×%2，范围 (%3,%4) 至 (%5,%6)，需 %7 列 × %8 行，超过 %9 个，未生成图框。")
        .arg(NumberText(size.w), NumberText(size.h), NumberText(lo.x), NumberText(lo.y), NumberText(hi.x),
             NumberText(hi.y), NumberText(grid.columns), NumberText(grid.rows), QString::number(MaxCountFromFigures));
}

namespace {

// A number question whose Enter or Esc means "not answered".
std::optional<double> askNumber(cad::Utility& u, const QString& prompt)
{
    try {
        return u.GetReal(prompt);
    } catch (const RunError&) {
        return std::nullopt;
    }
}

std::optional<PrintFrameSize> askFrameSize(cad::Utility& u)
{
    const double paper = askNumber(u, QStringLiteral("请选择纸张[<1>.A3 <2>.A4 <3>.自定义纸张大小]/<1>:")).value_or(1);
    if (paper == 1 || paper == 2) {
        QString reverse = QStringLiteral("N");
        attempt([&] { reverse = u.GetString(false, QStringLiteral("是否反向[Y/N]<N>:")); });
        const double denominator = askNumber(u, QStringLiteral("请输入打印的比例尺分母[1000]:")).value_or(1000);
        return printFrameSize(paper, cad::isYes(reverse), denominator);
    }
    if (paper == 3) {
        const std::optional<double> w = askNumber(u, QStringLiteral("请输入横向长度:"));
        const std::optional<double> h = askNumber(u, QStringLiteral("请输入纵向长度:"));
        return printFrameSize(paper, false, 1000, w, h);
    }
    return std::nullopt;
}

} // namespace

void greatusersize_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Visible, cad::Forward::Activate});
    cad::Document* doc = nullptr;
    if (!app || !attempt([&] { doc = &app->ActiveDocument(); }))
        return;
    cad::Utility& u = doc->Utility();
    const std::optional<PrintFrameSize> size = askFrameSize(u);
    cad::Point lo, hi;
    if (!attempt([&] { lo = u.GetPoint(QStringLiteral("\r\n点取所打印范围的左下角:")); })
        || !attempt([&] { hi = u.GetPoint(QStringLiteral("\r\n点取所打印范围的右上角:")); }) || !size)
        return;
    if (printFrameGrid(lo, hi, *size).tooMany()) {
        ctx.ui().message(tooManyFramesText(lo, hi, *size), QStringLiteral("错误"), Icon::Critical);
        return;
    }
    for (const cad::Point& p : printFrameTiles(lo, hi, *size)) {
        attempt([&] {
            cad::Entity* frame = doc->ModelSpace().AddPolyline({p.x, p.y, 0, p.x + size->w, p.y, 0, p.x + size->w,
                                                                p.y + size->h, 0, p.x, p.y + size->h, 0});
            frame->setClosed(true);
            frame->setLayer(QStringLiteral("0"));
        });
    }
}

void rotatedwgfile_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Activate, cad::Forward::Maximise});
    cad::Document* doc = nullptr;
    if (!app || !attempt([&] { doc = &app->ActiveDocument(); }))
        return;
    attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 1); });
    cad::Utility& u = doc->Utility();
    cad::Point p1, p2;
    if (!attempt([&] { p1 = u.GetPoint(QStringLiteral("\r\n请输入起点：")); })
        || !attempt([&] { p2 = u.GetPoint(QStringLiteral("\r\n请输入起点：")); }) || p1.x == 0 || p2.x == 0)
        return;
    const QString folder = doc->Path();
    if (folder.isEmpty()) {
        u.Prompt(QStringLiteral("\r\n图形尚未保存,无法生成打印文件\r\n"));
        return;
    }
    const double a = u.AngleFromXAxis(p1, p2);
    cad::SelectionSet& all = cad::ScratchSelectionSet(*doc, QStringLiteral("text"));
    activateHost(*app);
    attempt([&] { all.Select(cad::SelectAll); });
    for (cad::Entity* e : all.entities()) {
        attempt([&] { e->Rotate(p1, -a); });
        attempt([&] { e->Update(); });
    }
    attempt([&] { app->ZoomExtents(); });
    const QString dir = folder.endsWith(QLatin1Char('\\')) ? folder : folder + QLatin1Char('\\');
    const QString plotFile = dir + QStringLiteral("plot") + doc->Name();
    cad::writeOrTell(*app, plotFile, [&] { doc->SaveAs(plotFile, cad::DrawingFormat::R14); });
    u.Prompt(QStringLiteral("\r\n程序运行结束!\r\n"));
}

} // namespace kelvor::sheets
