#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/sheet/sheet_files.h"
#include "platform/sheet/sheet_host.h"
#include "platform/zip_package.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheet;

namespace {

// Two sheets; repeated, spaced, Chinese and awkward texts; numbers that need
// every digit; the second sheet active at B7.
Workbook sampleBook()
{
    Workbook book;
    Sheet& first = book.sheets()[0];
    first.setName(QStringLiteral("地类"));
    first.setCell(5, 5, QStringLiteral("011"));
    first.setCell(6, 5, QStringLiteral("011"));
    first.setCell(5, 7, 356.8);
    first.setCell(6, 7, 0.1 + 0.2);
    first.setCell(7, 7, -1e-300);
    first.setCell(8, 7, 123456789012345678.0);
    first.setCell(1, 1, QStringLiteral("  前后空格  "));
    first.setCell(1, 2, QStringLiteral("a<b>&\"c\""));
    first.setCell(1, 3, QStringLiteral("two\nlines"));
    first.setCell(1, 4, QStringLiteral("bell\x07_x0041_"));
    first.setCell(65536, 256, QStringLiteral("corner"));
    first.setActiveCell(3, 3);
    Sheet second(QStringLiteral("Sheet 2"));
    second.setCell(7, 2, 45.23);
    second.setCell(1, 26, QStringLiteral("Z"));
    second.setCell(1, 27, QStringLiteral("AA"));
    second.setActiveCell(7, 2);
    book.sheets().append(second);
    book.setActiveIndex(1);
    return book;
}

void expectSameCells(const Workbook& got, const Workbook& want, const char* what)
{
    ASSERT_EQ(got.sheets().size(), want.sheets().size()) << what;
    EXPECT_EQ(got.activeIndex(), want.activeIndex()) << what;
    for (qsizetype i = 0; i < want.sheets().size(); ++i) {
        const Sheet& g = got.sheets()[i];
        const Sheet& w = want.sheets()[i];
        EXPECT_EQ(g.name(), w.name()) << what << " sheet " << i;
        EXPECT_EQ(g.activeRow(), w.activeRow()) << what << " sheet " << i;
        EXPECT_EQ(g.activeColumn(), w.activeColumn()) << what << " sheet " << i;
        const auto gc = g.cells();
        const auto wc = w.cells();
        ASSERT_EQ(gc.size(), wc.size()) << what << " sheet " << i;
        for (qsizetype k = 0; k < wc.size(); ++k) {
            const QString where = QStringLiteral("%1 sheet %2 %3").arg(QLatin1String(what)).arg(i).arg(
                cellAddress(wc[k].row, wc[k].column));
            EXPECT_EQ(gc[k].row, wc[k].row) << where.toStdString();
            EXPECT_EQ(gc[k].column, wc[k].column) << where.toStdString();
            EXPECT_EQ(gc[k].value.typeId(), wc[k].value.typeId()) << where.toStdString();
            EXPECT_EQ(gc[k].value, wc[k].value) << where.toStdString();
        }
    }
}

// A small workbook as another program writes it: inline and rich shared
// strings, a formula with its cached value, a styled cell, merged cells.
QByteArray foreignXlsx(const QByteArray& sheetExtra, const QByteArray& cellExtra = QByteArray())
{
    const QByteArray ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const QByteArray rels = "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"";
    const QByteArray type = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    return buildZipPackage({
        {QStringLiteral("_rels/.rels"),
         "<Relationships " + rels + "><Relationship Id=\"a\" Type=\"" + type +
             "officeDocument\" Target=\"/xl/workbook.xml\"/></Relationships>"},
        {QStringLiteral("xl/workbook.xml"),
         "<x:workbook xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
         "<x:sheets><x:sheet name=\"Data\" sheetId=\"3\" r:id=\"s1\"/></x:sheets></x:workbook>"},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         "<Relationships " + rels + "><Relationship Id=\"s1\" Type=\"" + type +
             "worksheet\" Target=\"sheets/data.xml\"/><Relationship Id=\"ss\" Type=\"" + type +
             "sharedStrings\" Target=\"strings.xml\"/></Relationships>"},
        {QStringLiteral("xl/strings.xml"),
         "<sst " + ns + "><si><t>plain</t></si><si><r><t>ri</t></r><r><rPr/><t xml:space=\"preserve\">ch </t></r>"
                        "<rPh><t>PHONETIC</t></rPh></si></sst>"},
        {QStringLiteral("xl/sheets/data.xml"),
         "<worksheet " + ns + "><sheetViews><sheetView tabSelected=\"1\"><selection activeCell=\"C4\"/></sheetView>"
                              "</sheetViews><sheetData><row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>inline</t></is></c>"
                              "<c t=\"s\"><v>1</v></c><c r=\"D2\" t=\"s\"><v>0</v></c>" + cellExtra +
             "</row><row><c><v>2.5E+3</v></c><c r=\"B3\" t=\"b\"><v>1</v></c><c r=\"C3\" t=\"e\"><v>#DIV/0!</v></c>"
             "<c r=\"D3\"/></row></sheetData>" + sheetExtra + "</worksheet>"},
    });
}

} // namespace

TEST(SheetFiles, XlsxRoundTripKeepsSheetsCellsAndActiveCell)
{
    test::TempHome home;
    const Workbook book = sampleBook();
    writeXlsx(book, QStringLiteral("d:\\book.xlsx"));
    const Workbook back = readXlsx(QStringLiteral("d:\\book.xlsx"));
    expectSameCells(back, book, "xlsx");
    EXPECT_FALSE(back.dropped.any());
    // Repeated texts are stored once.
    const QByteArray strings =
        ZipPackage::open(QStringLiteral("d:\\book.xlsx")).read(QStringLiteral("xl/sharedStrings.xml"));
    EXPECT_EQ(strings.count("<t>011</t>"), 1) << strings.constData();
}

TEST(SheetFiles, TextsWithLineEndsAndControlCharactersComeBackWhole)
{
    for (const QString& text : {QStringLiteral("a,b\r"), QStringLiteral("x\r\ny"), QString::fromUtf16(u"12\0\0%"),
                                QStringLiteral("_x000D_ as typed")}) {
        Workbook book;
        book.activeSheet().setCell(1, 1, text);
        const Workbook back = readXlsxBytes(xlsxBytes(book));
        EXPECT_EQ(back.activeSheet().cell(1, 1), QVariant(text)) << text.toStdString();
    }
}

TEST(SheetFiles, SheetNamesAreWrittenAsSpreadsheetsAcceptThem)
{
    const struct {
        QStringList given;
        QStringList written;
    } cases[] = {
        {{"a[1]:b*c?/d\\e"}, {"a_1__b_c__d_e"}},
        {{"Sheet1", "sheet1", "Sheet1"}, {"Sheet1", "sheet1 (2)", "Sheet1 (3)"}},
        {{QString(40, u'长')}, {QString(31, u'长')}},
        {{QString(31, u'x'), QString(31, u'x')}, {QString(31, u'x'), QString(27, u'x') + " (2)"}},
        {{""}, {"Sheet"}},
    };
    for (const auto& c : cases) {
        Workbook book;
        book.sheets().clear();
        for (const QString& n : c.given)
            book.sheets().append(Sheet(n));
        const Workbook back = readXlsxBytes(xlsxBytes(book));
        QStringList got;
        for (const Sheet& s : back.sheets())
            got << s.name();
        EXPECT_EQ(got, c.written) << c.given.join(u'|').toStdString();
    }
}

TEST(SheetFiles, ForeignXlsxReadsValuesAndNotesWhatItCannotKeep)
{
    const struct {
        const char* name;
        QByteArray sheetExtra;
        QByteArray cellExtra;
        bool formulas, formats, merged, beyond;
    } cases[] = {
        {"plain", "", "", false, false, false, false},
        {"formula", "", "<c r=\"E2\"><f>1+1</f><v>2</v></c>", true, false, false, false},
        {"styled cell", "", "<c r=\"E2\" s=\"3\"><v>2</v></c>", false, true, false, false},
        {"merged", "<mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/></mergeCells>", "", false, false, true, false},
        {"beyond the rows", "", "<c r=\"XFD2\"><v>2</v></c>", false, false, false, true},
    };
    for (const auto& c : cases) {
        const Workbook book = readXlsxBytes(foreignXlsx(c.sheetExtra, c.cellExtra), QStringLiteral("f.xlsx"));
        ASSERT_EQ(book.sheets().size(), 1) << c.name;
        const Sheet& s = book.activeSheet();
        EXPECT_EQ(s.name(), QStringLiteral("Data")) << c.name;
        EXPECT_EQ(s.cell(2, 1), QVariant(QStringLiteral("inline"))) << c.name;
        EXPECT_EQ(s.cell(2, 2), QVariant(QStringLiteral("rich "))) << c.name;
        EXPECT_EQ(s.cell(2, 4), QVariant(QStringLiteral("plain"))) << c.name;
        EXPECT_EQ(s.cell(3, 1), QVariant(2500.0)) << c.name;
        EXPECT_EQ(s.cell(3, 2), QVariant(QStringLiteral("TRUE"))) << c.name;
        EXPECT_EQ(s.cell(3, 3), QVariant(QStringLiteral("#DIV/0!"))) << c.name;
        EXPECT_FALSE(s.cell(3, 4).isValid()) << c.name;
        EXPECT_EQ(s.activeRow(), 4) << c.name;
        EXPECT_EQ(s.activeColumn(), 3) << c.name;
        if (c.formulas) {
            EXPECT_EQ(s.cell(2, 5), QVariant(2.0)) << c.name << ": the cached value";
        }
        EXPECT_EQ(book.dropped.formulas, c.formulas) << c.name;
        // The rich shared string always costs its run formats.
        EXPECT_TRUE(book.dropped.formats) << c.name;
        EXPECT_EQ(book.dropped.mergedCells, c.merged) << c.name;
        EXPECT_EQ(book.dropped.beyondBounds, c.beyond) << c.name;
    }
}

TEST(SheetFiles, DamagedXlsxFailsNamingThePart)
{
    const QByteArray good = foreignXlsx(QByteArray());
    const struct {
        const char* name;
        QByteArray bytes;
        const char* mentions;
    } cases[] = {
        {"not a zip", "PK but no", "not a zip"},
        {"no workbook", buildZipPackage({{QStringLiteral("a.xml"), "<a/>"}}), "no workbook"},
        {"broken sheet", foreignXlsx("<unclosed>"), "xl/sheets/data.xml"},
        {"bad shared index", foreignXlsx(QByteArray(), "<c r=\"E2\" t=\"s\"><v>9</v></c>"), "E2"},
        {"bad number", foreignXlsx(QByteArray(), "<c r=\"E2\"><v>abc</v></c>"), "E2"},
        {"infinite number", foreignXlsx(QByteArray(), "<c r=\"E3\"><v>inf</v></c>"), "E3"},
        {"not a number", foreignXlsx(QByteArray(), "<c r=\"E4\"><v>nan</v></c>"), "E4"},
        {"overflowing number", foreignXlsx(QByteArray(), "<c r=\"E5\"><v>1e400</v></c>"), "E5"},
        {"bad address", foreignXlsx(QByteArray(), "<c r=\"2E\"><v>1</v></c>"), "2E"},
    };
    for (const auto& c : cases) {
        try {
            readXlsxBytes(c.bytes, QStringLiteral("f.xlsx"));
            ADD_FAILURE() << c.name << ": read";
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), err::PathFileAccess) << c.name;
            EXPECT_TRUE(e.description().contains(QLatin1String(c.mentions))) << c.name << ": "
                                                                            << e.description().toStdString();
        }
    }
    EXPECT_EQ(readXlsxBytes(good).activeSheet().cell(2, 1), QVariant(QStringLiteral("inline")));
}

TEST(SheetFiles, CsvRoundTripOfTheActiveSheet)
{
    test::TempHome home;
    Workbook book;
    Sheet& s = book.activeSheet();
    s.setCell(1, 1, QStringLiteral("011"));
    s.setCell(1, 2, 356.8);
    s.setCell(1, 4, QStringLiteral("a,b"));
    s.setCell(2, 1, QStringLiteral("say \"hi\""));
    s.setCell(2, 2, QStringLiteral("two\r\nlines"));
    s.setCell(2, 3, QStringLiteral("12.50"));
    s.setCell(3, 3, 0.1 + 0.2);
    s.setCell(4, 1, QStringLiteral("地类"));
    s.setCell(4, 2, -1e-5);
    writeCsv(book, QStringLiteral("d:\\a.csv"));
    const QByteArray bytes = test::readBytes(paths::resolve(QStringLiteral("d:\\a.csv")));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "011,356.8,,\"a,b\"\r\n")) << bytes.constData();
    const Workbook back = readCsv(QStringLiteral("d:\\a.csv"));
    const auto got = back.activeSheet().cells();
    const auto want = s.cells();
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].row, want[i].row) << i;
        EXPECT_EQ(got[i].column, want[i].column) << i;
        EXPECT_EQ(got[i].value.typeId(), want[i].value.typeId()) << i;
        EXPECT_EQ(got[i].value, want[i].value) << i;
    }
    EXPECT_EQ(back.activeSheet().name(), QStringLiteral("a"));
    EXPECT_EQ(test::errorOf([] { readCsvBytes("\"open"); }), err::PathFileAccess);
    EXPECT_EQ(test::errorOf([] { readCsv(QStringLiteral("d:\\none.csv")); }), err::FileNotFound);
}

TEST(SheetFiles, SavingOverAFileWithFormulasAsksForANewName)
{
    test::TempHome home;
    const QString opened = home.path("formula.xlsx");
    test::writeBytes(opened, foreignXlsx(QByteArray(), "<c r=\"E2\"><f>1+1</f><v>2</v></c>"));
    const QByteArray before = test::readBytes(opened);
    SheetHost host;
    host.open(opened);
    host.setCell(9, 9, QStringLiteral("new"));

    // Cancelled: nothing written.
    home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    EXPECT_EQ(host.save(home.ui), QString());
    // The same name again is refused.
    home.answer(QStringLiteral("save"), opened);
    EXPECT_EQ(host.save(home.ui), QString());
    EXPECT_EQ(test::lastMessage(home).value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(test::readBytes(opened), before);
    // Another name is written, and from then on saving goes there quietly.
    const QString other = home.path("copy.xlsx");
    home.answer(QStringLiteral("save"), other);
    EXPECT_EQ(host.save(home.ui), other);
    EXPECT_EQ(test::readBytes(opened), before);
    EXPECT_EQ(readXlsx(other).activeSheet().cell(9, 9), QVariant(QStringLiteral("new")));
    EXPECT_EQ(readXlsx(other).activeSheet().cell(2, 5), QVariant(2.0));
    host.setCell(9, 9, QStringLiteral("again"));
    EXPECT_EQ(host.save(home.ui), other);
    EXPECT_EQ(readXlsx(other).activeSheet().cell(9, 9), QVariant(QStringLiteral("again")));

    // A file that held nothing more is saved over in place.
    SheetHost plain;
    plain.open(other);
    plain.setCell(1, 1, 7);
    EXPECT_EQ(plain.save(home.ui), other);
    EXPECT_EQ(readXlsx(other).activeSheet().cell(1, 1), QVariant(7.0));
}

// Writes our sample for the openpyxl check (KELVOR_SHEET_EXPORT_DIR), and
// reads back the file openpyxl wrote there, listing what we read.
TEST(SheetFiles, ExportForIndependentCheck)
{
    const QString dir = QString::fromLocal8Bit(qgetenv("KELVOR_SHEET_EXPORT_DIR"));
    if (dir.isEmpty())
        GTEST_SKIP() << "run by check_sheet_xlsx.py";
    auto dump = [](const Workbook& book) {
        QJsonArray sheets;
        for (const Sheet& s : book.sheets()) {
            QJsonObject cells;
            for (const Sheet::Cell& c : s.cells())
                cells.insert(cellAddress(c.row, c.column), c.value.typeId() == QMetaType::Double
                                                               ? QJsonValue(c.value.toDouble())
                                                               : QJsonValue(c.value.toString()));
            sheets.append(QJsonObject{{QStringLiteral("name"), s.name()},
                                      {QStringLiteral("active"), cellAddress(s.activeRow(), s.activeColumn())},
                                      {QStringLiteral("cells"), cells}});
        }
        return QJsonDocument(QJsonObject{{QStringLiteral("active"), book.activeIndex()},
                                         {QStringLiteral("sheets"), sheets}})
            .toJson();
    };
    const Workbook book = sampleBook();
    writeXlsx(book, dir + QStringLiteral("/ours.xlsx"));
    test::writeBytes(dir + QStringLiteral("/ours.json"), dump(book));
    const QString theirs = dir + QStringLiteral("/theirs.xlsx");
    if (QFile::exists(theirs))
        test::writeBytes(dir + QStringLiteral("/theirs_read.json"), dump(readXlsx(theirs)));
}
