#pragma once
#include <QString>
#include <optional>

namespace kelvor {
class Context;
namespace cad {
class Document;
}
} // namespace kelvor

// Conversion of E500 files and plotting of the CASS data files made from
// them: the first point of every surveyed feature becomes a point with its
// code letter beside it.
namespace kelvor::coords {

struct CassPlotPoint {
    QChar letter; // the first character of the code
    double x = 0; // northing
    double y = 0; // easting
};

// The point a CASS data line plots: fields 2 (code), 3 (Y) and 4 (X)
// between commas. Nothing when the code does not begin with a capital A-Z
// or begins with one of the skipped letters. Raises error 9 for a line
// with fewer than two fields (four for a plotted one), 5 for an empty code,
// 13 for a Y or X that is not a number.
std::optional<CassPlotPoint> cassPlotPoint(const QString& line, const QString& skipped);

// Plots the selected points of a CASS data file into model space: a POINT
// at (Y, X, 0) and the TEXT of the code letter there (height 0.3), both on
// layer "ZDH" (added when missing) with colour 7. Stops at the first
// failure (62 for an empty file), keeping what was plotted.
void PlotCassSinglePoints(cad::Document& doc, const QString& path, const QString& skipped);

// 1.1 外业数据->CASS.
void zhuanhuanwyczwj_Click(Context& ctx);
// 1.2 展绘单点点位.
void zhanhuidandianwei_Click(Context& ctx);
// 2.1 图形展绘一键通: conversion, two copies, plotting, the CASS commands.
void shujujianhuiyijiantong_Click(Context& ctx);

} // namespace kelvor::coords
