#pragma once
// Helpers shared by the adjustment, report and command tests.
#include "test_support.h"

#include "traverse/data_file.h"
#include "traverse/sheet.h"

#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

namespace kelvor::test {

// The settings the fixtures were generated with, result folder d:\cg.
inline void useReportSettings(SettingsStore& s, bool makeFolder = true)
{
    s.writeRaw(QStringLiteral("gongcheng="), QStringLiteral("1：500数字化地形测量"));
    s.writeRaw(QStringLiteral("danwei="), QStringLiteral("城东测绘队"));
    s.writeRaw(QStringLiteral("zbxt="), QStringLiteral("1980西安坐标系"));
    s.writeRaw(QStringLiteral("gcxt="), QStringLiteral("1985国家高程基准"));
    s.writeRaw(QStringLiteral("zyjd="), QStringLiteral("114度30分"));
    s.writeRaw(QStringLiteral("QW_PM="), QStringLiteral("3"));
    s.writeRaw(QStringLiteral("QW_GC="), QStringLiteral("2"));
    s.writeRaw(QStringLiteral("Dxxc_pm="), QStringLiteral("24"));
    s.writeRaw(QStringLiteral("Dxxc_gc="), QStringLiteral("0.01"));
    s.writeRaw(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\cg"));
    if (makeFolder)
        QDir().mkpath(paths::resolve(QStringLiteral("d:\\cg")));
}

// A home with a sheet on its context, the report settings above and the
// grade and contour interval the fixtures were adjusted with.
struct ReportHome {
    TempHome home;
    traverse::TraverseSheet sheet;
    ReportHome()
    {
        home.context.setSheet(&sheet);
        home.context.state().printcgb = true;
        useReportSettings(home.settings);
        sheet.setGrade(QStringLiteral("一级图根"));
        sheet.setContourInterval(QStringLiteral("0.5"));
    }
};

// The lines of a GBK fixture file.
inline QStringList fixtureLines(const QString& name)
{
    return readTextLines(fixture(QStringLiteral("fixtures/adjust/") + name));
}

// The clean fixture traverse without its "EOF", easy to vary line by line.
inline QStringList cleanDx()
{
    QStringList dx = fixtureLines(QStringLiteral("adjust_clean.dx"));
    dx.removeLast(); // EOF
    return dx;
}

// Fills the sheet as a user would type the traverse of a data file's lines
// (known points, the rows, the last station); the rows after it are hidden.
inline void fillSheet(traverse::TraverseSheet& sheet, const QStringList& dx)
{
    sheet.clearSheet();
    const auto field = [](const QString& line, int n) { return line.split(QLatin1Char(',')).value(n); };
    const int b[] = {3, 4, 5, 6, 0, 1, 2};
    const int c[] = {10, 11, 12, 13, 7, 8, 9};
    for (int i = 0; i < 7; ++i) {
        sheet.setText1(b[i], field(dx[0], i));
        sheet.setText1(c[i], field(dx[1], i));
    }
    int r = 0;
    for (int i = 2; i < dx.size() && dx[i] != QLatin1String("EOF"); ++i) {
        const QStringList f = dx[i].split(QLatin1Char(','));
        if (f.size() == 2) {
            sheet.setText5(108, f[0]);
            sheet.setText5(109, f[1]);
            break;
        }
        for (int col = 0; col < 9; ++col)
            sheet.setText5(9 * r + col, f.value(col));
        ++r;
    }
    for (int row = r; row < traverse::TraverseSheet::Rows; ++row)
        sheet.setRowVisible(row, row == 0);
}

inline QString messageTitle(const ScriptedUi& ui, int i)
{
    return ui.messages().at(i).toObject().value(QStringLiteral("title")).toString();
}

} // namespace kelvor::test
