#include "plotting.h"

#include "pass_over.h"

#include "cad/cad.h"
#include "platform/context.h"

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

std::vector<cad::Point> printFrameTiles(const cad::Point& lo, const cad::Point& hi, const PrintFrameSize& size)
{
    const double nx = std::floor((hi.x - lo.x) / size.w) + 1;
    const double ny = std::floor((hi.y - lo.y) / size.h) + 1;
    std::vector<cad::Point> out;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            out.push_back({lo.x + i * size.w, lo.y + j * size.h, 0});
    return out;
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
