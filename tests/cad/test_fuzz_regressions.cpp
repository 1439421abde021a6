// Drawings that once broke the DXF reader: each is refused with a line
// number, or read into a drawing that writes out and reads back the same.
#include "cad/cad.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

QStringList layerNames(Document& d)
{
    QStringList out;
    for (const auto& l : d.Layers().items())
        out << l.Name;
    return out;
}

} // namespace

TEST(DxfReaderRegressions, RefusesOrRoundTrips)
{
    struct Case {
        const char* file;
        bool refused;
        const char* layer; // a layer the drawing must hold when read
        int line = 8;      // the line a refusal names
    } cases[] = {
        // Bytes that are no GBK character came back as "?" on saving, an
        // invalid name: the saved drawing could not be opened again.
        {"dxf_layer_not_gbk.dxf", true, ""},
        // "^0" decoded to a character outside GBK, with the same result.
        {"dxf_layer_caret_digit.dxf", false, "道路^0"},
        // An integer group beyond any integer was converted regardless.
        {"dxf_integer_out_of_range.dxf", true, ""},
        // An unknown kind holding NUL bytes ("ENDSEC\0") was written cut at
        // the NUL, ending the section early in the saved drawing: a NUL is
        // damage (line 6 here).
        {"dxf_foreign_kind_nul.dxf", true, "", 6},
        // Extended data under a ten-digit group code overran the writer's
        // buffer for the code line.
        {"dxf_xdata_code_huge.dxf", false, "KZD"},
        // A header variable the host keeps, named in another code page
        // (windows-1252), went back unconverted into the GBK copy.
        {"dxf_kept_name_code_page.dxf", false, "0"},
        // The euro sign of such a name (windows-1252 0x80) went to GBK as the
        // lone byte 0x80, which GBK does not read back.
        {"dxf_kept_name_euro.dxf", false, "0"},
        // An integer setting beyond any int was converted regardless.
        {"dxf_header_int_huge.dxf", true, "", 60},
        // A header variable named with no value after it.
        {"dxf_header_variable_no_value.dxf", false, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray bytes = test::readBytes(test::fixture(QStringLiteral("fixtures/fuzz/") + c.file));
        ASSERT_FALSE(bytes.isEmpty());
        Application app;
        std::unique_ptr<Document> doc;
        try {
            doc = readDxfBytes(bytes, &app);
        } catch (const RunError& e) {
            EXPECT_TRUE(c.refused) << e.description().toStdString();
            EXPECT_EQ(e.number(), fail::Failed);
            // the line of the bad value
            EXPECT_TRUE(e.description().contains(QStringLiteral("line %1").arg(c.line))) << e.description().toStdString();
            continue;
        }
        ASSERT_FALSE(c.refused);
        EXPECT_TRUE(layerNames(*doc).contains(QString::fromUtf8(c.layer))) << layerNames(*doc).join(',').toStdString();
        std::unique_ptr<Document> again = readDxfBytes(dxfBytes(*doc), &app);
        EXPECT_EQ(layerNames(*again), layerNames(*doc));
        EXPECT_EQ(again->ModelSpace().Count(), doc->ModelSpace().Count());
    }
}
