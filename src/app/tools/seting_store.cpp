#include "seting_store.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"

namespace kelvor::tools {

const std::array<SetingBox, 14>& setingBoxes()
{
    static const std::array<SetingBox, 14> boxes = {{
        {1, QStringLiteral("Queltdxfilesavepath=")},
        {2, QStringLiteral("biao_gao1=")},
        {3, QStringLiteral("biao_gao2=")},
        {4, QStringLiteral("QW_PM=")},
        {5, QStringLiteral("QW_GC=")},
        {0, QStringLiteral("Dxxc_pm=")},
        {13, QStringLiteral("Dxxc_gc=")},
        {6, QStringLiteral("已知点成果=")},
        {7, QStringLiteral("dx_sj_savepath=")},
        {8, QStringLiteral("danwei=")},
        {9, QStringLiteral("gongcheng=")},
        {12, QStringLiteral("zbxt=")},
        {11, QStringLiteral("gcxt=")},
        {10, QStringLiteral("zyjd=")},
    }};
    return boxes;
}

namespace {

void reportBrokenStore(Context& ctx)
{
    ctx.ui().message(QStringLiteral("记录文件被破坏或磁盘写保护！\r请重新启动该程序修复记录文件。"),
                     QStringLiteral("错误"), Icon::Critical);
}

} // namespace

bool finddx(Context& ctx, SetingValues& values)
{
    try {
        const QString format = ctx.setting(QStringLiteral("dxformat="));
        if (format == QStringLiteral("1"))
            values.format = 0;
        else if (format == QStringLiteral("2"))
            values.format = 1;
        else if (format == QStringLiteral("3"))
            values.format = 2;
        for (const SetingBox& box : setingBoxes())
            values.text28[std::size_t(box.index)] = ctx.setting(box.key);
    } catch (const RunError&) {
        reportBrokenStore(ctx);
        return false;
    }
    return true;
}

namespace {

void storeBoxes(Context& ctx, const SetingValues& v)
{
    SettingsStore& s = ctx.settings();
    auto box = [&v](int i) { return TrimBlanks(v.text28[std::size_t(i)]); };
    const QString format = QString::number(v.format >= 0 && v.format <= 2 ? v.format + 1 : 1);

    s.WriteSetting(QStringLiteral("MydxfileSavepath="), box(1));
    s.WriteSetting(QStringLiteral("dxformat="), format);
    s.WriteSetting(QStringLiteral("Queltdxfilesavepath="), box(1));
    s.WriteSetting(QStringLiteral("biao_gao1="), box(2));
    s.WriteSetting(QStringLiteral("biao_gao2="), box(3));
    s.WriteSetting(QStringLiteral("QW_PM="), box(4));
    s.WriteSetting(QStringLiteral("QW_GC="), box(5));
    s.WriteSetting(QStringLiteral("Dxxc_pm="), box(0));
    s.WriteSetting(QStringLiteral("Dxxc_gc="), box(13));
    s.WriteSetting(QStringLiteral("已知点成果="), box(6));
    s.WriteSetting(QStringLiteral("dx_sj_savepath="), box(7));
    s.WriteSetting(QStringLiteral("danwei="), box(8));
    s.WriteSetting(QStringLiteral("gongcheng="), box(9));
    s.WriteSetting(QStringLiteral("zbxt="), box(12));
    s.WriteSetting(QStringLiteral("gcxt="), box(11));
    s.WriteSetting(QStringLiteral("zyjd="), box(10));
}

} // namespace

bool storeSeting(Context& ctx, const SetingValues& v)
{
    try {
        storeBoxes(ctx, v);
    } catch (const RunError&) {
        reportBrokenStore(ctx);
        return false;
    }
    ctx.state().formTag = QString::number(v.floatMenu >= 0 && v.floatMenu <= 2 ? v.floatMenu : 0);
    return true;
}

} // namespace kelvor::tools
