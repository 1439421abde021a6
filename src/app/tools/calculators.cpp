#include "calculators.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/errors.h"

#include <QStringList>
#include <cmath>

namespace kelvor::tools {

namespace {

const QString kResultTitle = QStringLiteral("计算结果");

void formatError(Context& ctx)
{
    ctx.ui().message(QStringLiteral("输入格式不对！"), QStringLiteral("错误"), Icon::Critical);
}

// The text of a number as NumberText gives it, spelled out where that would
// use an exponent (15 significant digits at most).
QString plainNumberText(double v)
{
    const QString t = NumberText(v);
    if (!t.contains(QLatin1Char('E')) && !t.contains(QLatin1Char('e')))
        return t;
    if (v == 0)
        return QStringLiteral("0");
    const int exponent = int(std::floor(std::log10(std::fabs(v))));
    QString f = QString::number(v, 'f', std::max(0, 14 - exponent));
    if (f.contains(QLatin1Char('.'))) {
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        if (f.endsWith(QLatin1Char('.')))
            f.chop(1);
    }
    return f;
}

// Runs of blanks (U+0020 only) split the point line; a tab stays in a field.
QStringList blankFields(const QString& line)
{
    return TrimBlanks(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

QString heightDifferenceText(double h)
{
    // "###.###", read back as a number: trailing zeros and a bare point go.
    double shown = LeadingNumber(FormatPattern(h, QStringLiteral("###.###")));
    if (shown == 0)
        shown = 0; // no "-0"
    return QStringLiteral("高差计算结果为:") + SignedNumberText(shown) + QStringLiteral("米");
}

void Command16_Click(Context& ctx, const QString& angle, const QString& distance, const QString& instrument,
                     const QString& target, bool slope)
{
    try {
        const double a = DmsToRadians(TrimBlanks(angle), &ctx.ui());
        // a figure that is not a number is refused, never read as 0
        auto number = [](const QString& text) {
            const std::optional<double> n = ParseNumber(TrimBlanks(text));
            if (!n)
                raise(err::TypeMismatch);
            return *n;
        };
        const double d = number(distance);
        const double i = number(instrument);
        const double v = number(target);
        const double h = slope ? d * std::sin(a) + i - v : d * std::tan(a) + i - v;
        if (!std::isfinite(h))
            raise(err::InvalidArgument);
        ctx.ui().message(heightDifferenceText(h), kResultTitle, Icon::Exclamation);
    } catch (const RunError&) {
        formatError(ctx);
    }
}

void Command2_Click(Context& ctx, const QString& radians)
{
    // A single-precision box: empty, not a number or beyond its range is
    // refused rather than read as 0.
    const auto value = ParseNumber(radians);
    if (!value || !std::isfinite(float(*value))) {
        formatError(ctx);
        return;
    }
    const float dms = RadiansToDms(float(*value));
    ctx.ui().message(QStringLiteral("结果:") + FormatPattern(double(dms), QStringLiteral("0.00000000"))
                         + QStringLiteral(" (度分秒)"),
                     emptyTitle(), Icon::None, Buttons::OK);
}

void Command3_Click(Context& ctx, const QString& dms)
{
    const double r = DmsToRadians(dms, &ctx.ui());
    ctx.ui().message(QStringLiteral("结果:") + FormatPattern(r, QStringLiteral("0.0000000000000"))
                         + QStringLiteral(" (弧度)"),
                     emptyTitle(), Icon::None, Buttons::OK);
}

QString bearingSecondsText(double seconds)
{
    return plainNumberText(seconds).left(5);
}

QString inverseBearingText(const QString& x, const QString& y, const QString& x1, const QString& y1)
{
    const auto a = Azimuth(x, y, x1, y1, AzimuthDms);
    if (!a)
        return QStringLiteral("结果：0度0分0秒");
    const double d = std::trunc(*a);
    const double t = (*a - d) * 100;
    const double m = std::trunc(t);
    const double s = (t - m) * 100;
    return QStringLiteral("结果：") + NumberText(d) + QStringLiteral("度") + NumberText(m) + QStringLiteral("分")
        + bearingSecondsText(s) + QStringLiteral("秒");
}

void Command6_Click(Context& ctx, const QString& x, const QString& y, const QString& x1, const QString& y1)
{
    for (const QString& t : {x, y, x1, y1})
        if (!ParseNumber(TrimBlanks(t))) {
            formatError(ctx);
            return;
        }
    ctx.ui().message(inverseBearingText(x, y, x1, y1), QStringLiteral("反算结果"), Icon::Information);
}

void Command1_Click(Context& ctx, const QString& pointLine)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, cad::kFullForward, cad::ConnectFailure::Silent);
    if (!app)
        return;
    const QStringList fields = blankFields(pointLine);
    const QString name = fields.value(0);
    const double x = LeadingNumber(fields.value(1));
    const double y = LeadingNumber(fields.value(2));

    // Every step that fails is passed over; the next one still runs.
    auto step = [](auto&& f) {
        try {
            f();
        } catch (const RunError&) {
        }
    };
    step([&] { app->activate(app->Caption()); });
    cad::Entity* block = nullptr;
    cad::Entity* text = nullptr;
    step([&] {
        block = app->ActiveDocument().ModelSpace().InsertBlock(cad::Point{y, x, 0}, QStringLiteral("点位符号"), 1, 1,
                                                                 1, 0);
    });
    step([&] { text = app->ActiveDocument().ModelSpace().AddText(name, cad::Point{y + 3, x, 0}, 10); });
    step([&] {
        if (block)
            block->Update();
    });
    step([&] {
        if (text)
            text->Update();
    });
    step([&] {
        if (!text)
            return;
        cad::Point lo, hi;
        text->GetBoundingBox(lo, hi);
        app->ZoomWindow(lo, hi);
    });
}

} // namespace kelvor::tools
