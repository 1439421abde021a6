#include "windows.h"

#include "addtext.h"
#include "platform/windows.h"
#include "form2.h"
#include "seting.h"
#include "tool.h"

namespace kelvor::tools {

void registerToolWindows(WindowRegistry& windows)
{
    windows.addWindow<SetingDialog>(QStringLiteral("seting"));
    windows.addWindow<Form2>(QStringLiteral("Form2"));
    windows.addWindow<ToolWindow>(QStringLiteral("tool"));
    windows.addWindow<AddtextWindow>(QStringLiteral("addtext"));
}

} // namespace kelvor::tools
