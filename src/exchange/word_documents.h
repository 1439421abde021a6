#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace kelvor {
class Context;
namespace doc {
class Document;
}
}

// Commands on the result documents of the PCY adjustment program, opened in
// the document host: merging, handbook page numbers, accuracy statistics,
// result output.
namespace kelvor::exchange {

// ---- handbook page numbers ------------------------------------------------

// Station paragraphs are looked for from this paragraph on: the handbooks'
// opening pages (cover, index tables) fill the paragraphs before it.
constexpr int FirstStationParagraph = 694;
constexpr int LastStationParagraph = 10000;
constexpr int StationsPerTable = 100;
constexpr int IndexTables = 8;

// The station name of a paragraph text (mark included), nullopt when the
// trimmed text does not begin with "测站：".
std::optional<QString> handbookStation(const QString& paragraph);

// Where station k (from 1) goes: the index table (0 the first, ... 7 the
// eighth), the row, the name and the page columns.
struct StationSlot {
    int table;
    int row;
    int nameColumn;
    int pageColumn;
};
StationSlot stationSlot(int k);

// A station paragraph of a handbook: its number, the station's name and the
// page it stands on (where a selection of the whole paragraph ends).
struct HandbookStation {
    int paragraph;
    QString name;
    int page;
};
// Every station paragraph from FirstStationParagraph up to
// LastStationParagraph or the document's last paragraph, in order: one walk
// of the story, whatever the number of stations.
QList<HandbookStation> handbookStations(doc::Document& d);

// ---- accuracy statistics --------------------------------------------------

// The values a result document's marker paragraphs give.
struct AccuracyValues {
    QString points;  // N
    QString route;   // R, from the first "路径：" paragraph
    QString azimuth; // A
    QString length;  // S
    QString height;  // H
    bool routeTaken = false;
};

// Takes what one paragraph text P (mark included) gives; true when it was
// the height-closure paragraph that ends the scan. A negative cut raises 5.
bool scanAccuracyParagraph(AccuracyValues& values, const QString& paragraph);
// "A→B…C→D" from the route value; fewer than three fields raise 9.
QString routeText(const QString& route);
// The ten items joined by blanks (errors 5 and 9 as the fields need).
QString accuracyLine(const AccuracyValues& values);

// ---- result output --------------------------------------------------------

// The point-list lines of a result table's cell texts (end marks removed):
// groups of five from the second, known points left out.
QStringList resultLines(const QStringList& cells);

// ---- menu handlers ----------------------------------------------------------

void hebingworddoc_Click(Context& ctx);
void cezhanymtobiaoge_Click(Context& ctx);
void tiquyimapcsj_Click(Context& ctx);
void outputpcynumber_Click(Context& ctx);
void shuchudangqiancg_Click(Context& ctx);
void piliangoutcg_Click(Context& ctx);

} // namespace kelvor::exchange
