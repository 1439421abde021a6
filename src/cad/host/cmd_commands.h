#pragma once
#include <QString>
#include <QStringList>

namespace kelvor::cad {

class Application;
class Document;

// Registers the commands the host's command line carries out itself:
// OFFSET, TRIM, BREAK, PEDIT, -BOUNDARY, -LAYER, CHANGE, IMAGECLIP,
// IMAGEFRAME, TRANSPARENCY, SCRIPT and the stand-ins of the mapping
// add-on's commands (STATDLJ draws its land-class area table; GBBLC1, BMSB,
// LINEWIDTH and DD take their answers and change nothing).
void registerEditingCommands(Application& app);

// Runs a script file (GBK text): every line is one command-line item.
// Fails with error 53 when the file is missing.
void runScript(Document& doc, const QString& path);

// The keyword an answer names: the whole keyword, its capital letters, or
// the start of it, without regard to case; "" when none fits.
QString matchKeyword(const QString& answer, const QStringList& keywords);

// The land-class area table's row height at the drawing's scale.
double landClassRowHeight(Document& doc);

} // namespace kelvor::cad
