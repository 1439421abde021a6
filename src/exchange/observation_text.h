#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

namespace kelvor::exchange {

// A station line of a PCY observation text: trimmed, it begins "测站：".
bool isStationLine(const QString& line);

// The station name of a station line: for a line of 30 characters or more
// the ten characters after "测站：", else the rest of the line; trimmed.
QString stationName(const QString& line);

int countStations(const QStringList& lines);

// "总测站25个".
QString stationCountMessage(int count);

// Every station that repeats the station directly before it, numbered:
// "1A12重站", "2B3重站", ... The first station repeats nothing.
QStringList repeatedStations(const QStringList& lines);

// The observation text of one sequence-file line: folder\<line>gc.txt, the
// line as read.
QString observationTextPath(const QString& folder, const QString& sequenceLine);

// 合并观测数据.......[txt]: joins the texts a sequence file names into watch.txt.
void hubinggcsj_Click(Context& ctx);
// 获取测站数.........[txt]: the number of stations of one text.
void huoqucezhanshu_Click(Context& ctx);
// 查找重复测站: lists the repeated stations of one text in watch.txt.
void findchongfucezhan_Click(Context& ctx);

} // namespace kelvor::exchange
