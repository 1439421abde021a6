#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

// Zone change of a drawing through the coordinate exchange file of the
// outside adjustment program PCY (平差易): the pairs of a DXF go out by line
// number, PCY converts them, and its result is merged back by line number.
namespace kelvor::coords {

// The instructions text of the route, lines joined with CR LF.
QString pcyInstructions();

// DXF to exchange file. Raises RunError (62 for a file that ends too soon;
// 55 when both paths name the same file).
void writePcyExchangeFile(const QString& dxfPath, const QString& exchangePath);

// One row of PCY's result: the DXF line of the x value, the new northing
// and easting, as PCY wrote them.
struct PcyRow {
    double line = 0;
    QString northing;
    QString easting;
};

// The rows after "[EARTHUNKNOWNDATA]" up to the first blank line. Raises
// RunError (62 for an empty file, 321 for one that is not text, 9 for a row
// of fewer than three fields).
QList<PcyRow> readPcyResult(const QString& resultPath);

// Copies the DXF to output with the rows' values on their lines. Raises
// RunError (62 when the DXF ends inside a row's pair).
void mergePcyResult(const QString& dxfPath, const QList<PcyRow>& rows, const QString& outputPath);

// The three menu commands.
void zhuobiaohuandai1czsm(Context& ctx);
void zhuobiaohuandai1scjhwj(Context& ctx);
void zhuobiaohuandai1schdhwj(Context& ctx);

} // namespace kelvor::coords
