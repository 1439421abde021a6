#include "levelling.h"

#include "pcy_tools.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"

namespace kelvor::exchange {

namespace {

constexpr int HeaderLines = 13;

// Stations counted so far before which the recorder puts four extra lines.
bool extraLinesBefore(int stationsRead)
{
    return stationsRead == 9 || stationsRead == 21 || stationsRead == 32;
}

double numberField(const QString& line, int n)
{
    return LeadingNumber(orEmpty(BlankField(line, n)));
}

} // namespace

bool backSightTooLong(double a, double sa)
{
    return a >= 2500 && (3000 - a) / 10 * 2 < sa;
}

bool foreSightTooLong(double b, double sb)
{
    return b > 0 && b <= 500 && b / 10 * 2 < sb;
}

LevellingCheck checkLevellingRecord(TextReader& reader)
{
    LevellingCheck check;
    try {
        for (int i = 0; i < HeaderLines; ++i)
            reader.readLine();
        int n = 0;
        for (;;) {
            if (extraLinesBefore(n)) {
                reader.readLine();
                if (reader.atEnd())
                    break;
                for (int i = 0; i < 3; ++i)
                    reader.readLine();
            }
            const QString line1 = reader.readLine();
            if (reader.atEnd())
                break; // a record cut after its first line is not tested
            const QString line2 = reader.readLine();
            const QString line3 = reader.readLine();
            reader.readLine();
            reader.readLine();
            ++n;
            const double a = numberField(line1, 4);
            const double b = numberField(line2, 3);
            const double sa = numberField(line3, 1);
            const double sb = numberField(line3, 2);
            if (backSightTooLong(a, sa))
                check.findings.append({n, true});
            if (foreSightTooLong(b, sb))
                check.findings.append({n, false});
            if (reader.atEnd())
                break;
        }
    } catch (const RunError& e) {
        if (e.number() != err::InputPastEnd)
            throw;
        return check;
    }
    check.complete = true;
    return check;
}

QString levellingMessage(const LevellingFinding& finding)
{
    return QStringLiteral("第") + QString::number(finding.station)
        + (finding.backSight ? QStringLiteral("站后视有问题") : QStringLiteral("站前视有问题"));
}

void dushujiancha_Click(Context& ctx)
{
    const QString path = chooseOneFile(ctx, QStringLiteral("打开坐标数据文件"), QStringLiteral("坐标文件(*.*)|*.*"));
    if (path.isEmpty())
        return;
    LevellingCheck check;
    try {
        TextReader reader(path);
        // a file that is not text is no record: nothing of it is checked
        if (!reader.holdsBinary())
            check = checkLevellingRecord(reader);
    } catch (const RunError&) {
        return; // a file that cannot be read ends the check quietly
    }
    Ui& ui = ctx.ui();
    for (const LevellingFinding& f : check.findings)
        ui.message(levellingMessage(f), QString(), Icon::Critical);
    if (!check.complete) {
        ui.message(QStringLiteral("文件为空或格式不对！"), QStringLiteral("错误"), Icon::Critical);
        return;
    }
    ui.message(QStringLiteral("检查完成"), QString(), Icon::Exclamation);
}

} // namespace kelvor::exchange
