#pragma once

namespace kelvor {
class Context;
}

// How the file commands of this subsystem end on a failure.
namespace kelvor::coords {

// A file the command needs twice at once (error 55).
inline constexpr int FileAlreadyOpen = 55;

// "Err:" and the number as signed text, OK only, no icon, no title.
void showErrNumber(Context& ctx, int number);

// The three boxes of the conversion commands: "文件正在使用！" for error
// 55, "文件数据为空或格式不对！" for 62 (input past end) and 321 (a file
// that is not text), the "Err:" box for the rest.
void reportFileFailure(Context& ctx, int number);

} // namespace kelvor::coords
