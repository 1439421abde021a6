#pragma once
#include <QString>

namespace kelvor {
class Context;

void guanyu_Click(Context& ctx);    // 关于本软件: the About box Form2, owned by the main window
void systemset_Click(Context& ctx); // 参数 设定: the settings dialog seting
void tishi_Click(Context& ctx);     // 帮助: the one-line help message
void Command17_Click(Context& ctx); // 测试键: the land-class area window outExcelx
void dx_Click(Context& ctx);        // opening the 导线 menu: nothing

} // namespace kelvor
