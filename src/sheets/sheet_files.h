#pragma once
// Bringing another drawing into the work: the common drawing inserted into
// the open one, and the sheet drawing of a picked point opened.

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

// Menu 工程内业 "插入指定文件": the CommonFile inserted at the origin and
// exploded, the reference deleted (the block definition stays). No common
// file, or one that is empty or binary: a message; every other failure
// passes silently.
void insertdwgfiles_Click(Context& ctx);

// Menu CASS开发 "调入指定图幅": opens, from the folder of the setting
// "Queltdxfilesavepath=", the sheet drawing of the picked point; any
// failure: "无法找到文件或其它错误!".
void openzhidingtufu_Click(Context& ctx);

} // namespace kelvor::sheets
