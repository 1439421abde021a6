#pragma once
#include <QList>
#include <QString>

namespace kelvor {
class Context;
class TextReader;
}

namespace kelvor::exchange {

// One sight of a levelling station that is too long for its reading.
struct LevellingFinding {
    int station = 0; // numbered from 1
    bool backSight = false; // false: fore sight
};

struct LevellingCheck {
    QList<LevellingFinding> findings; // in the order the messages show
    bool complete = false; // false: the record ended where a line was due
};

// A back reading of 2500 or more allows (3000 - a) / 10 * 2 of sight; a fore
// reading above 0 and at most 500 allows b / 10 * 2. Equal passes.
bool backSightTooLong(double a, double sa);
bool foreSightTooLong(double b, double sb);

// Walks a levelling record: 13 header lines, then five-line station records,
// with four extra lines before stations 10, 22 and 33.
LevellingCheck checkLevellingRecord(TextReader& reader);

// "第7站后视有问题" / "第7站前视有问题".
QString levellingMessage(const LevellingFinding& finding);

// 读数检查: checks a chosen levelling record station by station.
void dushujiancha_Click(Context& ctx);

} // namespace kelvor::exchange
