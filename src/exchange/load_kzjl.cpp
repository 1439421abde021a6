#include "load_kzjl.h"

#include "loaders_commands.h"
#include "pcy_tools.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "traverse/sheet.h"

#include <cmath>
#include <functional>
#include <optional>

namespace kelvor::exchange {

namespace {

using traverse::TraverseSheet;

constexpr int Columns = TraverseSheet::Columns;
constexpr int LastCell = TraverseSheet::StationCells - 1;
constexpr int LastName = 108;
constexpr int LastAngle = 109;

// Ends the load early; what was written stays.
struct Stop {
    QString reason;
};

// Characters from (counted from 1), as the report's columns are given.
QString columns(const QString& line, int from, int count)
{
    return TrimBlanks(line.mid(from - 1, count));
}

QString lastChars(const QString& line, int count)
{
    return TrimBlanks(line.right(count));
}

QString firstChars(const QString& line, int count)
{
    return TrimBlanks(line.left(count));
}

class Loader {
public:
    Loader(TraverseSheet& sheet, const QStringList& lines, Ui& ui)
        : sheet_(sheet), ui_(ui)
    {
        for (const QString& l : lines)
            t_.append(TrimBlanks(l));
    }

    bool checkRepeats();
    void names();
    void angles();
    void distances();
    void verticals();
    void reduce();

private:
    qsizetype size() const { return t_.size(); }
    bool has(qsizetype i) const { return i < t_.size(); }

    // Stops when a block starting at i lacks one of its lines up to i + last.
    void require(qsizetype i, int last, const QString& kind) const
    {
        if (!has(i + last))
            throw Stop{QStringLiteral("第%1行的%2不完整").arg(i + 1).arg(kind)};
    }

    void set(int cell, const QString& text, const QString& beyond)
    {
        if (cell < 0 || cell > LastCell)
            throw Stop{beyond};
        sheet_.setText5(cell, text);
    }

    // Runs block(i) for every marker line; a block consumes `span` lines
    // after its marker.
    void scan(const std::function<bool(const QString&)>& marker, int span,
              const std::function<void(qsizetype)>& block)
    {
        qsizetype i = 0;
        while (i < size()) {
            if (marker(t_[i])) {
                block(i);
                i += span + 1;
            } else {
                ++i;
            }
        }
    }

    static bool isStation(const QString& t) { return t.startsWith(QStringLiteral("━")); }
    QString stationName(qsizetype i) const
    {
        require(i, 1, QStringLiteral("测站记录"));
        return columns(t_[i + 1], 4, 10);
    }

    void reduceRow(int row, const QString& vertical);

    TraverseSheet& sheet_;
    Ui& ui_;
    QStringList t_;
};

bool Loader::checkRepeats()
{
    QString previous;
    bool go = true;
    scan(isStation, 1, [&](qsizetype i) {
        if (!go)
            return;
        const QString name = stationName(i);
        if (name == previous) {
            const Answer a = ui_.message(QStringLiteral("发现重复测站：") + name + QStringLiteral("\r\n是否继续？"),
                                         QStringLiteral("提示"), Icon::Critical, Buttons::YesNo);
            go = a == Answer::Yes;
        }
        previous = name;
    });
    return go;
}

void Loader::names()
{
    int k = 0;
    scan(isStation, 1, [&](qsizetype i) {
        const QString name = stationName(i);
        set(k * Columns, name, QStringLiteral("测站记录超过13个"));
        if (k == 0)
            sheet_.setText1(3, name);
        ++k;
    });
    if (k == 0)
        throw Stop{QStringLiteral("没有找到测站记录")};
    if (k != 13) {
        const int cell = (k - 1) * Columns;
        sheet_.setText5(LastName, TrimBlanks(sheet_.text5(cell)));
        sheet_.setText5(cell, QString());
    }
    sheet_.setText1(10, sheet_.text5(LastName));
}

void Loader::angles()
{
    int k = 0;
    QString foreSight;
    const auto marker = [](const QString& t) { return t.startsWith(QStringLiteral("测回")); };
    scan(marker, 3, [&](qsizetype i) {
        require(i, 3, QStringLiteral("水平角观测记录"));
        set(k * Columns + 1, lastChars(t_[i + 3], 11), QStringLiteral("水平角观测记录超过13个"));
        if (k == 0)
            sheet_.setText1(0, columns(t_[i + 2], 2, 17));
        foreSight = firstChars(t_[i + 3], 10);
        ++k;
    });
    if (k == 0)
        throw Stop{QStringLiteral("没有找到水平角观测记录")};
    if (k != 13) {
        const int cell = (k - 1) * Columns + 1;
        sheet_.setText5(LastAngle, TrimBlanks(sheet_.text5(cell)));
        sheet_.setText5(cell, QString());
    }
    sheet_.setText1(7, foreSight);
}

void Loader::distances()
{
    int k = 0;
    const QString beyond = QStringLiteral("距离超过12个");
    const auto marker = [](const QString& t) { return t == QStringLiteral("距 离 观 测 记 录"); };
    scan(marker, 5, [&](qsizetype i) {
        require(i, 4, QStringLiteral("距离观测记录"));
        set(k * Columns + 2, lastChars(t_[i + 4], 10), beyond);
        if (has(i + 5) && !isStation(t_[i + 5])) {
            ++k;
            set(k * Columns + 2, lastChars(t_[i + 5], 10), beyond);
        }
        ++k;
    });
    if (k == 0)
        throw Stop{QStringLiteral("没有找到距离观测记录")};
    // The row whose name went to the last station has no leg of its own.
    if (k <= 12 && TrimBlanks(sheet_.text5((k - 1) * Columns)).isEmpty())
        sheet_.setText5((k - 1) * Columns + 2, QString());
}

void Loader::verticals()
{
    int k = 0;
    const auto marker = [](const QString& t) { return t == QStringLiteral("垂 直 角 观 测 记 录"); };
    const auto angle = [](const QString& t) { return lastChars(t, 9); };
    const auto target = [](const QString& t) { return columns(t, 37, 12); };
    scan(marker, 6, [&](qsizetype i) {
        require(i, 5, QStringLiteral("垂直角观测记录"));
        const QString instrument = columns(t_[i + 2], 36, 5);
        const QString& s5 = t_[i + 5];
        if (k == 0) {
            set(3, angle(s5), QString());
            set(4, instrument, QString());
            set(5, target(s5), QString());
        } else {
            const int back = (k - 1) * Columns;
            const QString beyond = QStringLiteral("垂直角观测记录超过13个");
            set(back + 6, angle(s5), beyond);
            set(back + 7, instrument, beyond);
            set(back + 8, target(s5), beyond);
            if (k <= 11 && has(i + 6)) {
                const QString& s6 = t_[i + 6];
                const int fore = k * Columns;
                set(fore + 3, angle(s6), beyond);
                set(fore + 4, instrument, beyond);
                set(fore + 5, target(s6), beyond);
            }
        }
        ++k;
    });
    if (k == 0)
        throw Stop{QStringLiteral("没有找到垂直角观测记录")};
    // The last station's sight to the end orientation point is not kept.
    if (k <= 12) {
        const int fore = (k - 1) * Columns;
        for (int c = 3; c <= 5; ++c)
            sheet_.setText5(fore + c, QString());
    }
}

void Loader::reduceRow(int row, const QString& vertical)
{
    const int cell = row * Columns + 2;
    if (cell > LastCell)
        throw Stop{QStringLiteral("需改平的距离超过12个")};
    const double v = LeadingNumber(TrimBlanks(sheet_.text5(cell)));
    const double d = orZero(DmsToDegrees(vertical, &ui_));
    sheet_.setText5(cell, FormatPattern(v * std::cos(d * kPi15 / 180), QStringLiteral("0.000")));
}

void Loader::reduce()
{
    static const QString header = QStringLiteral("照准点   测回   盘左读数   盘右读数");
    int k = 0;
    const auto marker = [](const QString& t) { return t.left(22) == header; };
    const auto name = [](const QString& t) { return firstChars(t, 8); };
    const auto angle = [](const QString& t) { return lastChars(t, 10); };
    scan(marker, 9, [&](qsizetype i) {
        const QString kind = QStringLiteral("照准点记录");
        require(i, 2, kind);
        if (has(i + 4))
            require(i, 7, kind);
        // Lines the file does not have take no part.
        const QString& s1 = t_[i + 2];
        const std::optional<QString> s2 = has(i + 3) ? std::optional<QString>(t_[i + 3]) : std::nullopt;
        const std::optional<QString> s8 = has(i + 8) ? std::optional<QString>(t_[i + 8]) : std::nullopt;
        if (!s8)
            return;
        if (name(s1) == name(*s8)) {
            reduceRow(k, angle(s1));
            if (s2 && !s2->startsWith(QStringLiteral("距")))
                reduceRow(k + 1, angle(*s2));
            k += 2;
        }
        if (s2 && name(*s2) == name(*s8))
            reduceRow(k, angle(*s2));
    });
}

} // namespace

KzjlLoad fillSheetFromKzjl(TraverseSheet& sheet, const QStringList& lines, Ui& ui)
{
    Loader loader(sheet, lines, ui);
    try {
        if (!loader.checkRepeats())
            return {KzjlLoad::Declined, QString()};
        loader.names();
        loader.angles();
        loader.distances();
        loader.verticals();
        loader.reduce();
    } catch (const Stop& stop) {
        return {KzjlLoad::Stopped, stop.reason};
    }
    return {};
}

QString kzjlStopMessage(const QString& reason)
{
    return QStringLiteral("控制精灵数据没有全部调入：") + reason + QStringLiteral("。\r\n已调入的数据保留在表中。");
}

void callcassdxmenu_Click(Context& ctx)
{
    const QString path =
        chooseOneFile(ctx, QStringLiteral("选择南方控制精灵数据"), QStringLiteral("文本文件(*.txt)|*.txt"));
    if (path.isEmpty())
        return;
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    KzjlLoad load;
    try {
        const QStringList lines = [&] {
            BusyCursor busy(ctx.ui());
            return readTextLines(path);
        }();
        load = fillSheetFromKzjl(*sheet, lines, ctx.ui());
    } catch (const RunError&) {
        load = {KzjlLoad::Stopped, QStringLiteral("不能读取文件 ") + path};
    }
    switch (load.outcome) {
    case KzjlLoad::Loaded:
        runKnownPointLookup(ctx);
        break;
    case KzjlLoad::Stopped:
        ctx.ui().message(kzjlStopMessage(load.reason), QStringLiteral("错误"), Icon::Critical);
        break;
    case KzjlLoad::Declined:
        break;
    }
}

void removekzjlsj_Click(Context& ctx)
{
    callcassdxmenu_Click(ctx);
}

} // namespace kelvor::exchange
