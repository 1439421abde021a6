#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
class Ui;
namespace traverse {
class TraverseSheet;
}
} // namespace kelvor

namespace kelvor::exchange {

// How a 控制精灵 report load ended.
struct KzjlLoad {
    enum Outcome {
        Loaded,   // every pass ran
        Declined, // the user stopped at the repeated-station question
        Stopped,  // a block was cut short, a cell lay beyond the sheet or a
                  // kind of block was missing; what the passes before wrote
                  // stays on the sheet
    };
    Outcome outcome = Loaded;
    QString reason; // for Stopped: what was wrong, in the user's words
};

// Reads the report lines in six passes (repeated stations, names, angles,
// distances, vertical angles with heights, reduction to horizontal) into
// the sheet. The repeated-station question and DmsToDegrees's message go to
// ui. Nothing is cleared or hidden first.
KzjlLoad fillSheetFromKzjl(traverse::TraverseSheet& sheet, const QStringList& lines, Ui& ui);

// The message a stopped load shows (title "错误", critical icon).
QString kzjlStopMessage(const QString& reason);

// 调入控制精灵观测数据 (quick popup): asks for the report, loads it and, when
// every pass ran, runs the known-point lookup.
void callcassdxmenu_Click(Context& ctx);
// 调入控制精灵观测数据 (导线 menu).
void removekzjlsj_Click(Context& ctx);

} // namespace kelvor::exchange
