#include "searches.h"

#include "routines/routines.h"
#include "traverse/adjust.h"

#include <cmath>
#include <optional>

namespace kelvor::blunder {

QString badNumberTwoLines()
{
    return QStringLiteral("数据为空或非法的数字或字符。") + CR + QStringLiteral("请检查数字是否包括了字符或缺少数据！");
}

QString badNumberOneLine()
{
    return QStringLiteral("非法的数字或字符，请检查数字是否包括了字符或缺少数据！");
}

QString missingFileText(const QString& path)
{
    return path + CR + QStringLiteral("找不到该文件！");
}

QString closureFigure(double T)
{
    if (std::isinf(T))
        return QStringLiteral("∞");
    return SignedNumberText(T);
}

// ---- angle search ---------------------------------------------------------

double angleChange(double seconds)
{
    return roundDecimals(seconds / 3600, 5);
}

double triedAngle(double betaDms, double changeDegrees)
{
    return roundDecimals(DegreesToDms(DmsToDegrees(betaDms) + changeDegrees), 4);
}

AngleSearch angleSearch(const Traverse& t, double seconds)
{
    const double change = angleChange(seconds);
    AngleSearch s;
    for (int k = 0; k < t.N; ++k) {
        std::vector<double> beta = t.beta;
        beta[size_t(k)] = triedAngle(beta[size_t(k)], change);
        const double T = traverseClosure(t, beta, true).T;
        s.T.push_back(T);
        if (T > s.bestT) {
            s.bestT = T;
            s.best = k;
            s.bestName = t.names.at(k);
        }
    }
    return s;
}

Report angleReport(double seconds, const AngleSearch& s)
{
    Report r;
    r.title = QStringLiteral("分析报告");
    r.icon = Icon::Information;
    r.text = QStringLiteral("在[ ") + s.bestName + QStringLiteral(" ]站的水平角更改了[ ") + SignedNumberText(seconds)
             + QStringLiteral("″]之后，") + CR + QStringLiteral("导线全长相对闭合差=1：") + closureFigure(s.bestT)
             + QStringLiteral("，导线的精度为最好！");
    return r;
}

// ---- distance correction search ---------------------------------------

bool distanceLimitAccepted(double limit)
{
    return limit < 100 && limit > -100;
}

double correctionStep(double limit)
{
    const double s = std::fabs(limit) > 10 ? 0.05 : 0.02;
    return limit < 0 ? -s : s;
}

std::vector<double> trialCorrections(double limit)
{
    const double s = correctionStep(limit);
    std::vector<double> cs;
    for (double c = 0; s > 0 ? c <= limit : c >= limit; c = c + s)
        cs.push_back(c);
    return cs;
}

DistanceSearch distanceSearch(const Traverse& t, double limit)
{
    // The azimuths and their spread are the same for every trial.
    std::vector<float> az = propagateAzimuths(t.alpha0, t.beta, true);
    spreadMisclosure(az, t.alphaCD);
    const LegDirections dir = legDirections(az);
    const size_t legs = t.S.size();

    // The coordinates up to each leg do not change with a trial on a later
    // leg; every trial goes on from there with the same additions in the
    // same order, so its figures are those of a whole pass.
    std::vector<double> px{t.bx}, py{t.by};
    for (size_t i = 0; i < legs; ++i) {
        px.push_back(px.back() + t.S[i] * dir.cosr[i]);
        py.push_back(py.back() + t.S[i] * dir.sinr[i]);
    }

    DistanceSearch s;
    for (double c : trialCorrections(limit)) {
        ++s.corrections;
        for (size_t k = 0; k < legs; ++k) {
            double x = px[k] + (t.S[k] + c) * dir.cosr[k];
            double y = py[k] + (t.S[k] + c) * dir.sinr[k];
            for (size_t i = k + 1; i < legs; ++i) {
                x = x + t.S[i] * dir.cosr[i];
                y = y + t.S[i] * dir.sinr[i];
            }
            const double fx = x - t.cx;
            const double fy = y - t.cy;
            const double T = relativeClosure(t.sumS, std::sqrt(fx * fx + fy * fy));
            if (T > s.bestT) {
                s.bestT = T;
                s.bestName = t.names.at(qsizetype(k));
                s.bestC = c;
            }
        }
    }
    return s;
}

Report distanceReport(double limit, const DistanceSearch& s)
{
    if (s.bestT > 15000 && s.bestC == 0)
        return {QStringLiteral("距离值不用改正！！！"), QStringLiteral("分析结果"), Icon::Exclamation};

    QString remark;
    if (s.bestT < 10000)
        remark = QStringLiteral("但全长相对闭合差值太小，请输入") + SignedNumberText(-limit) + QStringLiteral("再试！") + CR
                 + QStringLiteral("如果仍然精度不良,请增大距离改正上限值,或检查观测角度值的正确性。") + CR
                 + QStringLiteral("因为距离值与角度值同时影响着导线的精度！");
    else if (s.bestT > 15000)
        remark = CR + QStringLiteral("已成功获取距离改正值。请核实资料！");

    Report r;
    r.title = QStringLiteral("分析报告");
    r.icon = Icon::Information;
    r.text = QStringLiteral("在[") + s.bestName + QStringLiteral("]站的距离加上[") + FormatFixed(s.bestC, 3)
             + QStringLiteral("m]之后,导线的精度为最好。") + CR + QStringLiteral("导线全长相对闭合差为[1：")
             + closureFigure(s.bestT) + QStringLiteral("]。") + CR + remark;
    return r;
}

// ---- route comparison ---------------------------------------------------

QString coordinateLine(const QString& name, double x, double y)
{
    const auto fixed3 = [](double v) {
        const QString t = FormatPattern(v, QStringLiteral("###.###"));
        // A value that rounds to nothing is the point alone.
        if (t.endsWith(QLatin1Char('.')))
            return t + QStringLiteral("000");
        return addling(t, 3);
    };
    return PadRight(name, 8) + fixed3(x) + QStringLiteral("   ") + fixed3(y) + QStringLiteral("      0.00");
}

RouteComparison routeComparison(const Traverse& t)
{
    const int N = t.N;
    RouteComparison r;

    const std::vector<float> fwd = propagateAzimuths(t.alpha0, t.beta, false);
    const traverse::closure::Legs f =
        traverse::closure::legVectors(t.bx, t.by, std::vector<double>(fwd.begin(), fwd.end()), t.S);
    r.x = f.x;
    r.y = f.y;

    // Backward from C on D: each angle turned into its right-hand form, the
    // stations and legs taken in reverse.
    std::vector<double> rev;
    for (int k = 1; k <= N; ++k)
        rev.push_back(LeadingNumber(panzpany(t.angleTexts.at(N - k))));
    std::vector<double> revS(t.S.rbegin(), t.S.rend());
    const std::vector<float> bwd = propagateAzimuths(t.alphaDC, rev, false);
    const traverse::closure::Legs b =
        traverse::closure::legVectors(t.cx, t.cy, std::vector<double>(bwd.begin(), bwd.end()), revS);
    r.xb = b.x;
    r.yb = b.y;

    r.d.assign(size_t(N), 0.0);
    for (int j = 2; j <= N - 1; ++j) {
        const double dx = r.xb[size_t(N - j)] - r.x[size_t(j - 1)];
        const double dy = r.yb[size_t(N - j)] - r.y[size_t(j - 1)];
        const double d = std::sqrt(dx * dx + dy * dy);
        r.d[size_t(j - 1)] = d;
        if (d < r.minD) {
            r.minD = d;
            r.minName = t.names.at(j - 1);
        }
        if (d > r.maxD) {
            r.maxD = d;
            r.maxName = t.names.at(j - 1);
        }
    }

    for (int j = 2; j <= N - 1; ++j)
        r.watchLines << coordinateLine(t.names.at(j - 1), r.x[size_t(j - 1)], r.y[size_t(j - 1)]);
    for (int k = 2; k <= N - 1; ++k)
        r.watchLines << coordinateLine(t.names.at(N - k), r.xb[size_t(k - 1)], r.yb[size_t(k - 1)]);
    return r;
}

Report routeReport(const RouteComparison& r, const QString& watchPath)
{
    Report rep;
    rep.title = QStringLiteral("正反路线计算各点坐标位移");
    rep.icon = Icon::Exclamation;
    rep.text = QStringLiteral("在[ ") + r.minName + QStringLiteral(" ]的位移量为最小，值为 ")
               + FormatFixed(100 * r.minD, 2) + QStringLiteral("(Cm)") + CR + QStringLiteral("在[ ") + r.maxName
               + QStringLiteral(" ]的位移量为最大，值为 ") + FormatFixed(100 * r.maxD, 2) + QStringLiteral("(Cm)") + CR
               + QStringLiteral("检查在[") + r.minName + QStringLiteral("]测站角度的正确性。") + CR
               + QStringLiteral("已经生成") + watchPath + QStringLiteral("坐标文件。");
    return rep;
}

QString noIntermediateStationText()
{
    return QStringLiteral("导线没有中间测站，无法比较正反路线的坐标。") + CR
           + QStringLiteral("请至少输入一个中间测站后再计算。");
}

// ---- closure bearing search -------------------------------------------

double directionDifference(double bearingA, double bearingB)
{
    const double d = std::fmod(std::fabs(bearingA - bearingB), 360.0);
    return std::min(d, 360.0 - d);
}

BearingSearch bearingSearch(const Traverse& t)
{
    BearingSearch s;
    const Closure c = traverseClosure(t, t.beta, false);
    if (c.fx == 0 && c.fy == 0) {
        s.closes = true;
        return s;
    }
    s.theta = orZero(Azimuth(0.0, 0.0, c.fx, c.fy, AzimuthDegrees));
    s.bearingText = FormatPattern(DegreesToDms(s.theta), QStringLiteral("###.####"));
    for (size_t j = 0; j < c.az.size(); ++j) {
        const double delta = directionDifference(double(c.az[j]), s.theta);
        if (s.nearest < 0 || delta < s.delta) {
            s.nearest = int(j);
            s.delta = delta;
        }
    }
    s.found = s.delta <= 4;
    if (s.found)
        s.name = t.names.at(s.nearest);
    return s;
}

Report bearingReport(const BearingSearch& s)
{
    Report r;
    r.title = QStringLiteral("分析报告");
    r.icon = Icon::Exclamation;
    if (s.closes) {
        r.text = QStringLiteral("导线的坐标闭合差为零，没有闭合位移量的方位角。");
        return r;
    }
    const QString head = QStringLiteral("导线闭合的位移量的方位角为：") + s.bearingText;
    if (s.found)
        r.text = head + QStringLiteral("(°′″)") + CR + QStringLiteral("与[ ") + s.name
                 + QStringLiteral(" ]测站前视方向的方位角较相近。") + CR + QStringLiteral("检查在测站") + s.name
                 + QStringLiteral("前视方向距离的正确性。");
    else
        r.text = head + QStringLiteral("(°′″),") + CR + QStringLiteral("没有找到与之相近的角度,请查实。");
    return r;
}

} // namespace kelvor::blunder
