#include "registry.h"

#include "bars.h"
#include "menu_table.h"
#include "output_menu.h"
#include "shell_commands.h"
#include "startup.h"

#include "platform/commands.h"
#include "platform/context.h"

// Subsystems that register their own commands. For each new one: its
// header here, its call in registerAllCommands, its core library in
// src/app/CMakeLists.txt.
#include "app/tools/commands.h"
#include "blunder/commands.h"
#include "cass/commands.h"
#include "coords/commands.h"
#include "drafting/commands.h"
#include "exchange/commands.h"
#include "exchange/loaders_commands.h"
#include "landuse/commands.h"
#include "quelt/commands.h"
#include "sheets/commands.h"
#include "relief/commands.h"
#include "traverse/commands.h"
#include "traverse/sheet_rules.h"

namespace kelvor::app {

const QList<ExtraItem>& extraItems()
{
    static const QList<ExtraItem> items = {
        // the sheet frame's buttons
        {QStringLiteral("Command9"), QStringLiteral("清空")},
        {QStringLiteral("Command10"), QStringLiteral("保存(临时)")},
        {QStringLiteral("Command11"), QStringLiteral("打开上次")},
        {QStringLiteral("Command34"), QStringLiteral("列表输出")},
        {QStringLiteral("Command37"), QStringLiteral("[ 平 差/概 算 ]")},
        {QStringLiteral("Command38"), QStringLiteral("[角度估算]")},
        {QStringLiteral("Command41"), QStringLiteral("[正反路线计算]")},
        {QStringLiteral("Command44"), QStringLiteral("[距离估算]")},
        {QStringLiteral("Command12"), QStringLiteral("转换到Quelt格式")},
        {QStringLiteral("Command17"), QStringLiteral("测试键")},
        // the known-point lookup (double click on the sheet's label)
        {QStringLiteral("Label39"), QStringLiteral("Label39")},
        // the launcher panel
        {QStringLiteral("Picture2(0)"), QString()},
        {QStringLiteral("Picture2(1)"), QStringLiteral("坐标放样")},
        {QStringLiteral("Picture2(2)"), QStringLiteral("Quelt导线平差辅助程序")},
        {QStringLiteral("Picture2(3)"), QStringLiteral("其它工具")},
        {QStringLiteral("Picture2(4)"), QStringLiteral("参数设定")},
        {QStringLiteral("Label2(0)"), QStringLiteral("文本文件合并")},
        {QStringLiteral("Label2(1)"), QStringLiteral("Dwg 图形合并")},
        {QStringLiteral("Label2(2)"), QStringLiteral("线坐标处理")},
        {QStringLiteral("Label2(3)"), QStringLiteral("标注地类编码")},
        {QStringLiteral("Label2(4)"), QStringLiteral("查看记录文件")},
        // the main window's drawing routines that nothing starts
        {QStringLiteral("EraseColourOneEntities"), QString(), false},
        {QStringLiteral("HighlightPickedInRed"), QString(), false},
        {QStringLiteral("ShowObjectNames"), QString(), false},
        {QStringLiteral("ShowHandles"), QString(), false},
        {QStringLiteral("ShowOsmodeSetPickbox"), QString(), false},
        {QStringLiteral("RecolourDefaultValueEight"), QString(), false},
        {QStringLiteral("InsertCircleBlock"), QString(), false},
        {QStringLiteral("EnlargeCircles"), QString(), false},
        {QStringLiteral("EraseRedGcdTexts"), QString(), false},
    };
    return items;
}

void registerPlaceholders(CommandRegistry& registry)
{
    for (const MenuItem* m : commandItems())
        registry.addPlaceholder(m->key(), m->caption.isEmpty() ? m->key() : m->caption);
    registry.addPlaceholder(QStringLiteral("dx"), QStringLiteral("导线"));
    for (const ExtraItem& e : extraItems())
        registry.addPlaceholder(e.key, e.caption.isEmpty() ? e.key : e.caption);
}

namespace {

void forward(CommandRegistry& registry, const QString& from, const QString& to)
{
    const CommandRegistry* r = &registry;
    registry.add(from, [r, to](Context& ctx) { r->run(to, ctx); });
}

void window(CommandRegistry& registry, const QString& item, const QString& form)
{
    registry.add(item, [form](Context& ctx) { openForm(ctx, form); });
}

} // namespace

void registerShellCommands(CommandRegistry& r)
{
    r.add(QStringLiteral("quit"), quit_Click);
    r.add(QStringLiteral("guanyu"), guanyu_Click);
    r.add(QStringLiteral("systemset"), systemset_Click);
    r.add(QStringLiteral("tishi"), tishi_Click);
    r.add(QStringLiteral("Command17"), Command17_Click);
    r.add(QStringLiteral("dx"), dx_Click);

    r.add(QStringLiteral("publicfiles"), publicfiles_Click);
    for (int i : {0, 1, 3})
        r.add(itemKey(QStringLiteral("outfilew"), i), [i](Context& ctx) { outfilew_Click(ctx, i); });

    // The launcher panel opens windows; its top picture does nothing.
    r.add(QStringLiteral("Picture2(0)"), [](Context&) {});
    window(r, QStringLiteral("Picture2(1)"), QStringLiteral("zbfy"));
    window(r, QStringLiteral("Picture2(2)"), QStringLiteral("quelt"));
    window(r, QStringLiteral("Picture2(3)"), QStringLiteral("tool"));
    window(r, QStringLiteral("Picture2(4)"), QStringLiteral("seting"));
    window(r, QStringLiteral("Label2(0)"), QStringLiteral("addtext"));
    window(r, QStringLiteral("Label2(1)"), QStringLiteral("insdwg"));
    window(r, QStringLiteral("Label2(2)"), QStringLiteral("frmzb"));
    window(r, QStringLiteral("Label2(3)"), QStringLiteral("dilei"));
    forward(r, QStringLiteral("Label2(4)"), QStringLiteral("outfilew(0)"));

    // The quick popup's first items pass on to the commands they name.
    r.add(QStringLiteral("quick_call_next(0)"), [](Context&) {});
    forward(r, QStringLiteral("quick_call_next(2)"), QStringLiteral("qiujulizhi"));
    forward(r, QStringLiteral("quick_call_next(3)"), QStringLiteral("outcordnumber"));
    forward(r, QStringLiteral("quick_call_next(4)"), QStringLiteral("caldist"));
    forward(r, QStringLiteral("quick_call_next(5)"), QStringLiteral("arealiangshan"));
}

void registerAllCommands(CommandRegistry& registry)
{
    registerPlaceholders(registry);
    // Each subsystem's table, recorded under the subsystem's name.
    auto from = [&registry](const char* subsystem, void (*registerTable)(CommandRegistry&)) {
        registry.setOwner(QString::fromUtf8(subsystem));
        registerTable(registry);
        registry.setOwner(QString());
    };
    from("app", registerShellCommands);
    from("app", registerBarCommands);
    from("app", tools::registerToolCommands);
    from("traverse", traverse::registerSheetCommands);
    from("traverse", traverse::registerTraverseCommands);
    from("coords", registerCoordsCommands);
    from("exchange", registerExchangeCommands);
    from("exchange", exchange::registerLoaderCommands);
    from("blunder", blunder::registerBlunderCommands);
    from("quelt", quelt::registerQueltCommands);
    from("cass", cass::registerCassCommands);
    from("sheets", sheets::registerSheetsCommands);
    from("landuse", landuse::registerLanduseCommands);
    from("relief", relief::registerReliefCommands);
    from("drafting", drafting::registerDraftingCommands);
}

} // namespace kelvor::app
