#pragma once
#include <QString>
#include <functional>

namespace kelvor {
class Context;
}

namespace kelvor::traverse {

class TraverseSheet;

enum class LoadFailure {
    None,
    Missing, // the file, or a folder on its path, does not exist
    Other,   // anything else: unreadable, cut short, not a report, too long
};

// Reads an adjustment report back into the sheet: the known points, the
// observation rows (name, angle, distance), the last station and the
// vertical data of every leg. The whole report is parsed first; only a good
// one replaces the sheet, whose station rows and last-station cells are
// emptied before the report's are written. The grade, the contour interval
// and the rows shown stay as they are. Shows no message.
LoadFailure LoadTraverseReport(TraverseSheet& sheet, const QString& path);

// Start-up: the report named on the command line (its first and last
// characters, the quotes, dropped). On failure shows "文件打开错误！,..."
// between beforeMessage and afterMessage (the splash timer's stop and
// restart). Does not touch the recent report.
void opencommandfile(Context& ctx, const QString& commandLine,
                     const std::function<void()>& beforeMessage = {},
                     const std::function<void()>& afterMessage = {});

// File > the recent report (filelist element 1).
void filelist_Click(Context& ctx);

// File > 打开成果文件: asks for a report, records it as the recent report
// (and in "Savelist1="), then loads it.
void opendxfile_Click(Context& ctx);

} // namespace kelvor::traverse
