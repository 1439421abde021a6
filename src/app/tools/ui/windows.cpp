#include "windows.h"

#include "addtext.h"
#include "app/ui/windows.h"
#include "form2.h"
#include "seting.h"
#include "tool.h"

namespace kelvor::tools {

void showSeting(Context& ctx, QWidget* owner)
{
    SetingDialog dlg(ctx, owner);
    dlg.exec();
}

void showForm2(Context& ctx, QWidget* owner)
{
    Form2 dlg(ctx, owner);
    dlg.exec();
}

void showTool(Context& ctx, QWidget* owner)
{
    ToolWindow dlg(ctx, owner);
    dlg.exec();
}

void showAddtext(Context& ctx, QWidget* owner)
{
    AddtextWindow dlg(ctx, owner);
    dlg.exec();
}

void registerToolWindows(app::WindowRegistry& windows)
{
    windows.addWindow<SetingDialog>(QStringLiteral("seting"));
    windows.addWindow<Form2>(QStringLiteral("Form2"));
    windows.addWindow<ToolWindow>(QStringLiteral("tool"));
    windows.addWindow<AddtextWindow>(QStringLiteral("addtext"));
}

} // namespace kelvor::tools
