// Drawing files that other programs or attackers make: texts in other
// encodings and escapes, numbers that are no numbers, angles of 1e300 and
// references that fan out to 10^25 lines.
#include "cad/cad.h"
#include "cad/dxf/dxf_text.h"
#include "cad/ui/cad_scene.h"
#include "test_support.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

QByteArray groups(std::initializer_list<std::pair<int, QByteArray>> list)
{
    QByteArray out;
    for (const auto& [code, value] : list)
        out += QByteArray::number(code).rightJustified(3, ' ') + "\r\n" + value + "\r\n";
    return out;
}

// A drawing of the given version and code page with one text entity.
QByteArray drawingWithText(const QByteArray& version, const QByteArray& codePage, const QByteArray& text)
{
    return groups({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, version}, {9, "$DWGCODEPAGE"}, {3, codePage},
                   {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}, {0, "TEXT"}, {8, "0"}, {10, "1.0"},
                   {20, "2.0"}, {30, "0.0"}, {40, "2.5"}, {1, text}, {0, "ENDSEC"}, {0, "EOF"}});
}

TEST(DxfText, TextsDecodeByVersionCodePageAndEscapes)
{
    const struct {
        const char* name;
        QByteArray version, codePage, bytes;
        QString text;
    } cases[] = {
        {"GBK before AC1021", "AC1015", "ANSI_936", "\xbf\xd8\xd6\xc6\xb5\xe3K7", QStringLiteral("控制点K7")},
        {"UTF-8 from AC1021 whatever the code page", "AC1021", "ANSI_1252", QStringLiteral("控制点K7").toUtf8(),
         QStringLiteral("控制点K7")},
        {"UTF-8 in a later version", "AC1032", "ANSI_936", QStringLiteral("房屋").toUtf8(), QStringLiteral("房屋")},
        {"another code page", "AC1015", "ANSI_1252", "caf\xe9", QStringLiteral("café")},
        {"an unknown code page reads as GBK", "AC1015", "ANSI_99999", "\xb7\xbf", QStringLiteral("房")},
        {"escapes in plain ASCII", "AC1015", "ANSI_936", "\\U+63A7\\U+5236\\U+70B9K7", QStringLiteral("控制点K7")},
        {"escapes among GBK", "AC1015", "ANSI_936", "\\U+D55C\xb9\xfa", QStringLiteral("한国")},
        {"escapes in UTF-8", "AC1021", "ANSI_936", "a\\u+0041\\U+004", QStringLiteral("a\\u+0041\\U+004")},
        {"a surrogate pair", "AC1015", "ANSI_936", "\\U+D83D\\U+DE00", QStringLiteral("😀")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto d = readDxfBytes(drawingWithText(c.version, c.codePage, c.bytes));
        ASSERT_EQ(d->ModelSpace().Count(), 1);
        EXPECT_EQ(d->ModelSpace().Item(0)->TextString(), c.text);
    }
}

TEST(DxfText, BytesThatAreNoTextOfTheEncodingFailNamingTheLine)
{
    const struct {
        const char* name;
        QByteArray version, codePage, bytes;
        const char* encoding;
    } cases[] = {
        {"half a GBK character", "AC1015", "ANSI_936", "\xb7", "GBK"},
        {"GBK bytes in a UTF-8 drawing", "AC1021", "ANSI_936", "\xb7\xbf", "UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readDxfBytes(drawingWithText(c.version, c.codePage, c.bytes));
            ADD_FAILURE() << "no failure";
        } catch (const RunError& e) {
            EXPECT_TRUE(e.description().contains(QStringLiteral("line 32:"))) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(QLatin1String(c.encoding))) << e.description().toStdString();
        }
    }
}

// Saved as AC1015 in GBK: what GBK lacks travels as an escape, never as "?".
TEST(DxfText, CharactersGbkLacksAreSavedAsEscapes)
{
    const struct {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {QStringLiteral("控制点K7"), "\xbf\xd8\xd6\xc6\xb5\xe3K7"},
        {QStringLiteral("한国?"), "\\U+D55C\xb9\xfa?"},
        {QStringLiteral("😀"), "\\U+D83D\\U+DE00"},
        {QStringLiteral("€5"), "\\U+20AC5"}, // GBK's lone byte 0x80 does not read back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(encodeDxfGbk(c.text), c.bytes);
        Document d;
        d.ModelSpace().AddText(c.text, {0, 0, 0}, 2);
        const QByteArray saved = dxfBytes(d);
        EXPECT_TRUE(saved.contains("\r\n" + c.bytes + "\r\n"));
        EXPECT_EQ(readDxfBytes(saved)->ModelSpace().Item(0)->TextString(), c.text);
    }
}

// A drawing made by ezdxf in AC1021: its UTF-8 names and texts arrive, and the
// AC1015 copy holds them in GBK (the ezdxf check compares that copy with the original).
TEST(DxfText, Ac1021DrawingMadeByEzdxf)
{
    const auto d = readDxf(test::fixture(QStringLiteral("fixtures/cad_utf8_ac1021.dxf")));
    EXPECT_TRUE(d->Layers().contains(QStringLiteral("控制点")));
    EXPECT_TRUE(d->Layers().contains(QStringLiteral("房屋")));
    QStringList texts;
    for (Entity* e : d->ModelSpace().entities())
        if (e->kind() == EntityKind::Text)
            texts << e->Layer() + QLatin1Char(':') + e->TextString();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("控制点:控制点K7"), QStringLiteral("房屋:한国")}));
    const QByteArray saved = dxfBytes(*d);
    EXPECT_TRUE(saved.contains("\r\nAC1015\r\n"));
    EXPECT_TRUE(saved.contains("\r\n\\U+D55C\xb9\xfa\r\n"));
    EXPECT_FALSE(saved.contains(QStringLiteral("控制点").toUtf8()));
    const auto back = readDxfBytes(saved);
    EXPECT_TRUE(back->Layers().contains(QStringLiteral("控制点")));
}

// Numbers that are no finite numbers would hang or poison the geometry.
TEST(DxfNumbers, NonFiniteNumbersFailNamingTheLine)
{
    const struct {
        const char* name;
        int code;
        QByteArray value;
    } cases[] = {
        {"end angle inf", 51, "inf"},
        {"start angle nan", 50, "nan"},
        {"radius -inf", 40, "-inf"},
        {"centre beyond double", 10, "1e400"},
        {"signed infinity", 20, "+infinity"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QList<std::pair<int, QByteArray>> arc{{10, "1.0"}, {20, "2.0"}, {30, "0.0"}, {40, "5.0"}, {50, "0.0"},
                                              {51, "90.0"}};
        int valueLine = 0;
        QByteArray bytes = groups({{0, "SECTION"}, {2, "ENTITIES"}, {0, "ARC"}, {8, "0"}});
        for (auto& [code, value] : arc) {
            if (code == c.code) {
                value = c.value;
                valueLine = int(bytes.count('\n')) + 2;
            }
            bytes += groups({{code, value}});
        }
        bytes += groups({{0, "ENDSEC"}, {0, "EOF"}});
        try {
            readDxfBytes(bytes);
            ADD_FAILURE() << "no failure";
        } catch (const RunError& e) {
            EXPECT_TRUE(e.description().contains(QStringLiteral("line %1:").arg(valueLine))) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(QLatin1String(c.value))) << e.description().toStdString();
        }
    }
}

// The model refuses such numbers at its front door; a value set past it
// (the data the reader and writer share) still never reaches a file.
TEST(DxfNumbers, ASaveMeetingANonFiniteNumberFailsAndKeepsTheOldFile)
{
    test::TempHome home;
    const QString path = home.path("d:\\kept.dxf");
    const struct {
        const char* what;
        std::function<QString(Document&)> spoil; // the place the message names
    } cases[] = {
        {"a line's end", [](Document& d) {
             Entity* e = d.ModelSpace().AddLine({0, 0, 0}, {1, 1, 0});
             e->data().v[1].y = std::numeric_limits<double>::quiet_NaN();
             return QStringLiteral("handle %1").arg(e->Handle());
         }},
        {"a text's height", [](Document& d) {
             Entity* e = d.ModelSpace().AddText(QStringLiteral("字"), {0, 0, 0}, 1);
             e->data().placedMut().height = std::numeric_limits<double>::infinity();
             return QStringLiteral("handle %1").arg(e->Handle());
         }},
        {"a system variable", [](Document& d) {
             auto& vars = const_cast<std::map<QString, QVariant>&>(d.variables());
             vars[QStringLiteral("USERR1")] = -std::numeric_limits<double>::infinity();
             return QStringLiteral("$USERR1");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Document d;
        d.ModelSpace().AddCircle({5, 5, 0}, 2);
        writeDxf(d, path);
        const QByteArray old = test::readBytes(path);
        const QString place = c.spoil(d);
        try {
            writeDxf(d, path);
            ADD_FAILURE() << "saved";
        } catch (const RunError& e) {
            EXPECT_TRUE(e.description().contains(place)) << e.description().toStdString();
        }
        EXPECT_EQ(test::readBytes(path), old);
    }
}

// The hostile drawings open, draw, select and save; all of it finishes
// (their times are in bench_cad), and the boxes are what the files hold.
TEST(DxfHostile, HugeArcAnglesAndFanOutOpenSelectAndSave)
{
    test::TempHome home;
    const struct {
        const char* file;
        Box extents; // empty: unknown, only finite
    } cases[] = {
        {"fixtures/hostile/huge_arc_angles.dxf", {}},
        // 25 levels, each a tenth of the one above: 10 lines 0 .. 9.5 wide at the bottom
        {"fixtures/hostile/fan_out.dxf", {1000, 1000, 1010, 1000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto d = readDxf(test::fixture(QLatin1String(c.file)));
        Box ext;
        for (Entity* e : d->ModelSpace().entities())
            ext.add(e->box());
        ASSERT_TRUE(ext.valid());
        EXPECT_TRUE(std::isfinite(ext.minX + ext.minY + ext.maxX + ext.maxY));
        if (c.extents.valid()) {
            EXPECT_NEAR(ext.minX, c.extents.minX, 1e-9);
            EXPECT_NEAR(ext.minY, c.extents.minY, 1e-9);
            EXPECT_NEAR(ext.maxX, c.extents.maxX, 1e-9);
            EXPECT_NEAR(ext.maxY, c.extents.maxY, 1e-9);
        }
        DrawingScene scene;
        scene.setDocument(d.get());
        ViewTransform view;
        view.width = 400;
        view.height = 300;
        view.fit(scene.extents());
        QImage image(view.width, view.height, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        scene.render(painter, view);
        painter.end();
        EXPECT_GT(scene.lastStats().drawn, 0);
        SelectionSet& s = ScratchSelectionSet(*d, QStringLiteral("all"));
        s.SelectByPolygon(SelectCrossingPolygon, {0, 0, 0, 5000, 0, 0, 5000, 5000, 0, 0, 5000, 0});
        EXPECT_EQ(s.Count(), d->ModelSpace().Count());
        writeDxf(*d, home.path("d:\\hostile.dxf"));
        EXPECT_EQ(readDxf(home.path("d:\\hostile.dxf"))->ModelSpace().Count(), d->ModelSpace().Count());
    }
}

TEST(DxfHostile, ArcPointsOfHugeAnglesStayFewAndOnTheCircle)
{
    const struct {
        const char* name;
        double start, end;
    } cases[] = {
        {"end 1e306 rad", 0, 1e306},
        {"start 1e20", 1e20, 1.5},
        {"both huge", -1e300, 1e300},
        {"inf", 0, INFINITY},
        {"nan", NAN, 1},
        {"a quarter", 0, M_PI / 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Pt2> pts = arcPoints({10, 20}, 5, c.start, c.end);
        EXPECT_GE(pts.size(), 3u);
        EXPECT_LE(pts.size(), 65u);
        for (const Pt2& p : pts) {
            if (std::isfinite(c.start)) {
                EXPECT_NEAR(std::hypot(p.x - 10, p.y - 20), 5, 1e-9);
            }
        }
    }
}

} // namespace

// An entity that leaves out a point it must have reads it at the origin, as
// DXF defaults it; before, a LINE without its end held one vertex and every
// use of the end point read past it.
TEST(DxfHostile, EntitiesWithoutTheirPointsReadThemAtTheOrigin)
{
    const struct {
        const char* kind;
        QList<std::pair<int, QByteArray>> groups;
    } cases[] = {
        {"LINE", {{8, "0"}, {10, "3.0"}, {20, "4.0"}}},
        {"LINE", {{8, "0"}}},
        {"POINT", {{8, "0"}}},
        {"CIRCLE", {{8, "0"}, {40, "2.0"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        QByteArray bytes = groups({{0, "SECTION"}, {2, "ENTITIES"}, {0, c.kind}});
        for (const auto& g : c.groups)
            bytes += groups({g});
        bytes += groups({{0, "ENDSEC"}, {0, "EOF"}});
        const auto d = readDxfBytes(bytes);
        ASSERT_EQ(d->ModelSpace().Count(), 1);
        const auto back = readDxfBytes(dxfBytes(*d));
        ASSERT_EQ(back->ModelSpace().Count(), 1);
        if (QByteArray(c.kind) == "LINE") {
            EXPECT_EQ(back->ModelSpace().Item(0)->EndPoint(), (cad::Point{0, 0, 0}));
            EXPECT_DOUBLE_EQ(back->ModelSpace().Item(0)->Length(),
                             c.groups.size() > 1 ? 5.0 : 0.0);
        }
    }
}
