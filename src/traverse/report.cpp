#include "report.h"

#include "adjust.h"
#include "data_file.h"

#include "routines/routines.h"
#include "platform/errors.h"
#include "platform/settings.h"

#include <cmath>

namespace kelvor::traverse {

namespace {

QString FF(double v, int n, int plus = 0) { return FormatFixed(v, n, plus); }
QString FF(const QString& v, int n, int plus = 0) { return FormatFixed(v, n, plus); }
QString PR(const QString& v, int width) { return PadRight(v, width); }
QString blanks(int n) { return QString(n, QLatin1Char(' ')); }
QString rule(const QString& title, int right) { return QString(32, QLatin1Char('-')) + title + QString(right, QLatin1Char('-')); }

int decimalsSetting(const QString& text)
{
    const double v = std::nearbyint(StrictNumber(text));
    if (v < 0)
        raise(err::InvalidArgument);
    return int(v);
}

} // namespace

ReportSettings ReportSettings::read(const SettingsStore& settings)
{
    ReportSettings rs;
    rs.gongcheng = settings.ReadSetting(QStringLiteral("gongcheng="));
    rs.danwei = settings.ReadSetting(QStringLiteral("danwei="));
    rs.zbxt = settings.ReadSetting(QStringLiteral("zbxt="));
    rs.gcxt = settings.ReadSetting(QStringLiteral("gcxt="));
    rs.zyjd = settings.ReadSetting(QStringLiteral("zyjd="));
    rs.qwPm = decimalsSetting(settings.ReadSetting(QStringLiteral("QW_PM=")));
    rs.qwGc = decimalsSetting(settings.ReadSetting(QStringLiteral("QW_GC=")));
    return rs;
}

QString angularMisclosureText(const Adjustment& adj)
{
    const QString dms = FormatPattern(DegreesToDms(adj.wa), QStringLiteral("###.#######"));
    const double seconds = readRounded(dms) == 0 ? 0.0 : LeadingNumber(addmiao(dms));
    QString text = FF(seconds, 2, 1);
    const double allowed = adj.grade.waAllowed ? readRounded(*adj.grade.waAllowed) : 0.0;
    if (std::fabs(LeadingNumber(text)) > allowed)
        text += QStringLiteral("**");
    return text;
}

QString heightMisclosureText(const Adjustment& adj)
{
    const QString h = FF(100 * adj.heights.fh, 2, 1);
    return adj.heights.fhFlagged ? QStringLiteral("*") + h + QStringLiteral("*") : h;
}

QStringList reportLines(const TraverseData& data, const Adjustment& adj, const ReportSettings& rs)
{
    const int N = adj.N;
    QStringList L;
    L << blanks(32) + QStringLiteral("导 线 平 差 计 算") << QString() << QStringLiteral("导线编号：1")
      << QString(76, QLatin1Char('=')) << QString();
    L << QStringLiteral("工程名称:      ") + rs.gongcheng << QStringLiteral("测量单位:      ") + rs.danwei
      << QStringLiteral("坐标系统:      ") + rs.zbxt << QStringLiteral("高程系统:      ") + rs.gcxt
      << QStringLiteral("中央经度:      ") + rs.zyjd;
    L << QString() << QString(76, QLatin1Char('=')) << rule(QStringLiteral("已知点数据"), 34) << QString();

    const auto known = [](const DataKnownPoint& p, bool withHeight) {
        QString line = blanks(9) + PR(p.name, 7) + QStringLiteral("  X=") + FF(p.x, 4) + QStringLiteral("    Y=")
                       + FF(p.y, 4);
        if (withHeight)
            line += QStringLiteral("    H=") + FF(p.h, 3);
        return line;
    };
    L << known(data.startStation, true) << known(data.startOrientation, false) << known(data.endStation, true)
      << known(data.endOrientation, false) << QString();

    L << rule(QStringLiteral("观 测 数 据"), 33) << QString();
    L << blanks(22) + QStringLiteral("[ Name ]    [   β   ]  [  S  ]") + blanks(2);
    for (int k = 1; k <= N; ++k) {
        const DataStation& s = data.station(k);
        L << blanks(23) + PR(s.name, 11) + PR(s.angle, 11) + PR(k < N ? s.distance : QString(), 11);
    }
    L << QString();

    // The first station has no leg: its leg columns stay blank.
    L << QStringLiteral("[ Name ]   [ S ]      [V往]      [i]      [ ν ]     [V返]      [i]      [ν]");
    for (int k = 1; k <= N; ++k) {
        QString row = QStringLiteral(" ") + PR(data.station(k).name, 9);
        if (k == 1) {
            row += blanks(11 + 11 + 10 + 9 + 11 + 9 + 4);
        } else {
            const DataStation& s = data.station(k - 1);
            row += PR(FF(s.distance, 3), 11) + PR(FF(s.foreVertical, 4, 1), 11) + PR(FF(s.foreInstrument, 3), 10)
                   + PR(FF(s.foreTarget, 3), 9) + PR(FF(s.backVertical, 4, 1), 11)
                   + PR(FF(s.backInstrument, 3), 9) + PR(FF(s.backTarget, 3), 4);
        }
        L << row;
    }
    L << QString();

    L << rule(QStringLiteral("平 差 计 算"), 33) << QString();
    L << QStringLiteral("[ 点 号 ]  [ △X ]    [ Vx ]  [ △Y ]     [Vy ]     [  X  ]        [  Y  ]");
    L << QStringLiteral("  Name       (m)       (mm)     (m)       (mm)        (m)            (m)");
    for (int k = 1; k <= N; ++k) {
        QString row = QStringLiteral(" ") + PR(data.station(k).name, 9);
        if (k == 1) {
            row += blanks(13) + PR(FF(0.0, 1, 1), 7) + blanks(12) + PR(FF(0.0, 1, 1), 9);
        } else {
            const size_t leg = size_t(k - 2);
            row += PR(FF(adj.dx[leg], 4, 1), 13) + PR(FF(1000 * adj.vx[leg], 1, 1), 7)
                   + PR(FF(adj.dy[leg], 4, 1), 12) + PR(FF(1000 * adj.vy[leg], 1, 1), 9);
        }
        row += PR(FF(adj.x[size_t(k - 1)], rs.qwPm), 15) + FF(adj.y[size_t(k - 1)], rs.qwPm);
        L << row;
    }
    L << QString();

    L << QStringLiteral("[点 号]    [ S ]    [ R ]    [△h往]   [△h返]   [△h中]   [ v ]    [ H ]");
    L << QStringLiteral(" Name       (m)     (mm)       (m)       (m)      (m)      (mm)      (m)");
    for (int k = 1; k <= N; ++k) {
        QString row = QStringLiteral(" ") + PR(data.station(k).name, 9);
        if (k == 1) {
            row += blanks(10) + PR(FF(0.0, 1, 1), 9) + blanks(30) + PR(FF(0.0, 1, 1), 9);
        } else {
            const HeightLeg& g = adj.heights.legs[size_t(k - 2)];
            QString m = FF(g.mean, 4, 1);
            if (g.flagged)
                m = QStringLiteral("[") + m + QStringLiteral("]*");
            row += PR(FF(adj.S[size_t(k - 2)], 3), 10) + PR(FF(1000 * g.f, 1, 1), 9) + PR(FF(g.fore, 4, 1), 10)
                   + PR(FF(g.back, 4, 1), 10) + PR(m, 10) + PR(FF(sevenDigits(1000 * g.v), 1, 1), 9);
        }
        row += FF(sevenDigits(adj.heights.H[size_t(k - 1)]), rs.qwGc);
        L << row;
    }
    L << QString();

    const QString pad = blanks(23);
    const double waAllowed = adj.grade.waAllowed ? readRounded(*adj.grade.waAllowed) : 0.0;
    L << rule(QStringLiteral("导 线 精 度"), 33) << QString();
    L << pad + QStringLiteral("方位角闭合差    ：Wa=") + angularMisclosureText(adj) + QStringLiteral("(″)");
    L << pad + QStringLiteral("方位角限差      ：Wa允=±") + FF(waAllowed, 2) + QStringLiteral("(″)");
    L << pad + QStringLiteral("高程闭合差      ：") + heightMisclosureText(adj) + QStringLiteral("(cm)");
    L << pad + QStringLiteral("高程闭合差限差  ：±") + FF(100 * adj.grade.fhAllowed.value_or(0.0), 2)
             + QStringLiteral("(cm)");
    L << pad + QStringLiteral("导线总长        ：S =   ") + FF(adj.sumS / 1000, 3) + QStringLiteral("(Km)");
    L << pad + QStringLiteral("导线平均边长    ：D =   ") + FF(adj.sumS / (N - 1), 3) + QStringLiteral("(m)");
    L << pad + QStringLiteral("纵向坐标闭合差  ：Wx=  ") + FF(adj.misclosure.wx, 3, 1) + QStringLiteral("(m)");
    L << pad + QStringLiteral("横向坐标闭合差  ：Wy=  ") + FF(adj.misclosure.wy, 3, 1) + QStringLiteral("(m)");
    L << pad + QStringLiteral("导线坐标闭合差  ：Ws=  ") + FF(adj.misclosure.ws, 3, 1) + QStringLiteral("(m)");
    L << pad + QStringLiteral("全长相对闭合差  ：K =   1: ") + (adj.T ? NumberText(*adj.T) : QStringLiteral("∞"));
    L << QString() << rule(QStringLiteral("    End    "), 33);
    return L;
}

QStringList coordinateLines(const TraverseData& data, const Adjustment& adj, const ReportSettings& rs)
{
    QStringList lines;
    for (int k = 2; k <= adj.N - 1; ++k) {
        const size_t i = size_t(k - 1);
        lines << PR(data.station(k).name, 10) + PR(FF(adj.x[i], rs.qwPm), 14) + PR(FF(adj.y[i], rs.qwPm), 14)
                     + FF(sevenDigits(adj.heights.H[i]), rs.qwGc);
    }
    return lines;
}

QStringList watchLines(const TraverseData& data, const Adjustment& adj, const ReportSettings& rs)
{
    const auto frame = [](const DataKnownPoint& p) {
        return QStringList{p.name, p.x, p.y, p.h}.join(QStringLiteral("   "));
    };
    QStringList lines;
    lines << frame(data.startStation) << coordinateLines(data, adj, rs) << frame(data.endStation);
    return lines;
}

bool usableFileName(const QString& name)
{
    if (name.trimmed().isEmpty() || name.contains(QStringLiteral("..")))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

} // namespace kelvor::traverse
