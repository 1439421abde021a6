#pragma once

class QWidget;

namespace kelvor {
class Context;
namespace app {
class WindowRegistry;
}
} // namespace kelvor

namespace kelvor::tools {

// Each shows its window modal and returns when it closes.
void showSeting(Context& ctx, QWidget* owner = nullptr);  // 参数设定
void showForm2(Context& ctx, QWidget* owner = nullptr);   // 关于
void showTool(Context& ctx, QWidget* owner = nullptr);    // 其它工具
void showAddtext(Context& ctx, QWidget* owner = nullptr); // 文本文件合并

// Adds "seting", "Form2", "tool" and "addtext" to the shell's windows.
void registerToolWindows(app::WindowRegistry& windows);

} // namespace kelvor::tools
