#!/usr/bin/env python3
"""Writes the seed corpora in fuzz/corpus/<harness>/: small valid files
from the test fixtures, plus a few written here. Run again after the test
fixtures change; the fuzzers only read these folders."""
import os
import shutil

root = os.path.dirname(os.path.abspath(__file__))
repo = os.path.dirname(root)
corpus = os.path.join(root, "corpus")


def gbk(lines, end="\r\n"):
    return "".join(l + end for l in lines).encode("gbk")


def put(harness, name, data):
    d = os.path.join(corpus, harness)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def fixture(fx):
    with open(os.path.join(repo, "tests", fx), "rb") as f:
        return f.read()


def copy(harness, *fixtures):
    for fx in fixtures:
        put(harness, os.path.basename(fx), fixture(fx))


# settings
put("settings", "defaults.ini", (
    "; kelvorconfig: the program's settings, one value a line\n[参数设定]\n"
    "版本更新日期=20070405\nMydxfileSavepath=D:\\\n已知点成果=D:\\YZDCG.TXT\n"
    "QW_PM=3\nQW_GC=2\nDXDJ=一级图根\nSavelist1=D:\\A%25B%0D%0A.CG\n").encode("utf-8"))
put("settings", "hand.ini", (
    "[other]\nQW_PM=9\n[参数设定]\r\n  qw_gc = 4 \r\n# note\r\n;x=1\r\nQW_GC=5\r\n").encode("utf-8"))

# text files
put("text_file", "mixed.txt", "第一行\r\nsecond\rthird\nlast".encode("gbk") + b"\x81")
copy("text_file", "exchange/fixtures/loaders/pcy_five.txt")

# read.tmp: last station, 14 known-point lines, then grid cells
known = ["A", "1000.000", "2000.000", "B", "1100.000", "2100.000", "50.000",
         "D", "1300.000", "2300.000", "C", "1200.000", "2200.000", "51.000"]
cells = ["P1", "123.4500", "125.400", "2.3000", "1.450", "1.600", "-2.2950", "1.520", "1.610",
         "P2", "200.1230", "125.400", "-2.3000", "1.520", "1.620", "2.2955", "1.530", "1.630"]
put("temp_file", "two_rows.tmp", gbk(["C", "95.3020"] + known + [c.ljust(10) for c in cells]))
put("temp_file", "one_row.tmp", gbk(["C", "95.3020"] + known + [c.ljust(10) for c in cells[:9]]))

# .dx
copy("data_file", "traverse/fixtures/adjust/adjust_clean.dx", "traverse/fixtures/adjust/adjust_flags.dx",
     "blunder/fixtures/north.dx")

# known points
put("known_points", "list.txt", gbk(["A 1000.000 2000.000 10.5", "b   1100 2100 50", "C 1200 2200 51",
                                     "D 1300 2300", "", "A 1 2 3"]))

# reports
for h in ("report_loader", "report_coords"):
    copy(h, "traverse/fixtures/adjust/adjust_clean.CG", "exchange/fixtures/two_new.cg",
         "exchange/fixtures/no_height.cg")

# levelling record: 13 header lines, five-line stations, extra lines before 10
lev = ["水准记录 表头 %d" % i for i in range(1, 14)]
for n in range(1, 11):
    if n == 10:
        lev += ["页", "  ", "x", "y"]
    lev += ["  %d  后  B%d  %s  " % (n, n, "2600" if n == 3 else "1500"), "前  F%d  %s" % (n, "400" if n == 5 else "1400"),
            "30.0   30.0   0.0", "4 4 4", "5 5 5"]
put("levelling", "ten.txt", gbk(lev))

# observation texts: sequence, "\n====\n", text
obs = ["测站：A1", "  1  2  3", "测站：A1", "测站：B2" + " " * 30, "x", "测站：B2" + " " * 30]
put("observation_text", "seq_obs.txt", gbk(["1", "1", "2"]) + b"\n====\n" + gbk(obs))

# PCY data file, "\n====\n", known points / estimates
data = ["[NETWORK]", "NAME,测试导线, 2007 ", "[STATION]", "A1,11,0,0,0,1,2,3", "P1,00,,,,,,",
        "a2,11, 1 , 2 , 3 ,x,y,z", "   ", "[OBSER]",
        "A1,A0,0.0000,100.000,,100.012,0.0012,1.5,1.6,,,,,", "A1,P1,1,2,3,4,5,6,7,8,9,10,11,12"]
put("datafile_edit", "known.txt", gbk(data) + b"\n====\n" + gbk(["A1  1000.001  2000.002  30.003", "A2 1100 2100 31"]))
put("datafile_edit", "estimates.txt", gbk(data) + b"\n====\n" + gbk(["A1,A0,1,2,3,4,5,6,100.111",
                                                                  " a1 , P1 ,1,2,3,4,5,6, 200.222 ,extra"]))

# loaders
copy("load_pcy", "exchange/fixtures/loaders/pcy_five.txt")
copy("load_kzjl", "exchange/fixtures/loaders/kzjl_six.txt", "exchange/fixtures/loaders/kzjl_repeat.txt")
copy("load_sj", "exchange/fixtures/loaders/traverse.SJ")

# point list
put("point_list", "points.txt", gbk(["7,3381234.567,519256.789", "40000, 3381234.567 , 519256.789",
                                     "-5,3381234.567,519256.789", "12.5,3381234.567,519256.789"]))

# traverse routes: points, a height, a blank line, text for a number and a
# number too large for one
put("routes", "route.xyh", gbk(["A 100 200 5", "B 110 210", "", "C 1.5abc -2", "D nan inf"]))
put("routes", "overflow.xyh", gbk(["A 1 2", "B 1e400 2"]))

# boundary points: as 拾取多义线 writes them, with and without sides, and
# lines that take no row
put("boundary_points", "watch.txt", gbk(["0001,500.2500,300.0000,***", "0002,510.2500,300.0000,10.00",
                                         "J03,.5000,-.2500", "", "bad,x,1", "0004, 1e3 , 2D2 ,5"]))

# land-class files of the picker and the conversion, with blank, short and
# padded lines
put("land_classes", "dl.txt", gbk(["111,灌溉水田", "211, 商业用地 ,x", "", "311", "0A1,其他", ",空"]))
put("class_conversion", "rules.txt", gbk(["111,水田,011", " 112 , 旱地 , 113 ", "113,a,112", "", "114,旱地"]))

# DXF: the coordinate fixtures, and a drawing with the usual furniture
copy("dxf_zone", "coords/fixtures/drawing.dxf", "coords/fixtures/one_point.dxf")
for name in ("drawing.dxf", "one_point.dxf"):
    put("pcy_exchange", name, fixture("coords/fixtures/" + name) + b"\n====\n" +
        b"[EARTHUNKNOWNDATA]\r\n16,3384554.8950,231352.4669\r\n22,20,10\r\n")

def dxf(pairs):
    return "".join("%3d\r\n%s\r\n" % (c, v) for c, v in pairs).encode("gbk")


def section(name, body):
    return [(0, "SECTION"), (2, name)] + body + [(0, "ENDSEC")]


def table(name, entries):
    body = [(0, "TABLE"), (2, name), (5, "1" + name[:1]), (70, len(entries))]
    for e in entries:
        body += [(0, name)] + e
    return body + [(0, "ENDTAB")]


def entity(kind, handle, layer, rest):
    return [(0, kind), (5, handle), (100, "AcDbEntity"), (8, layer)] + rest


drawing = []
drawing += section("HEADER", [(9, "$ACADVER"), (1, "AC1015"), (9, "$DWGCODEPAGE"), (3, "ANSI_936"),
                              (9, "$HANDSEED"), (5, "FFF"), (9, "$CLAYER"), (8, "0"), (9, "$CECOLOR"), (62, 256)])
drawing += section("TABLES",
                   table("LTYPE", [[(5, "14"), (2, "CONTINUOUS"), (70, 0), (3, "Solid line"), (72, 65), (73, 0), (40, 0.0)]])
                   + table("LAYER", [[(5, "10"), (2, "0"), (70, 0), (62, 7), (6, "CONTINUOUS")],
                                     [(5, "11"), (2, "KZD"), (70, 0), (62, 1), (6, "CONTINUOUS")],
                                     [(5, "12"), (2, "道路"), (70, 4), (62, -3), (6, "CONTINUOUS")]])
                   + table("STYLE", [[(5, "13"), (2, "HZ"), (70, 0), (40, 0.0), (41, 0.8), (3, "simplex.shx"), (4, "hztxt.shx")]])
                   + table("APPID", [[(5, "15"), (2, "SOUTH"), (70, 0)]]))
drawing += section("BLOCKS", [(0, "BLOCK"), (5, "20"), (8, "0"), (2, "GC200"), (70, 2), (10, 0.0), (20, 0.0), (30, 0.0)]
                   + entity("CIRCLE", "21", "0", [(10, 0.0), (20, 0.0), (30, 0.0), (40, 1.0)])
                   + [(0, "ENDBLK"), (5, "22"), (8, "0")])
drawing += section("ENTITIES",
                   entity("LINE", "30", "道路", [(62, 3), (10, 0.0), (20, 0.0), (30, 0.0), (11, 100.0), (21, 50.0), (31, 0.0)])
                   + entity("CIRCLE", "31", "KZD", [(10, 10.0), (20, 10.0), (30, 0.0), (40, 5.0)])
                   + entity("ARC", "32", "0", [(10, 20.0), (20, 20.0), (30, 0.0), (40, 4.0), (50, 10.0), (51, 80.0)])
                   + entity("POINT", "33", "KZD", [(10, 519256.789), (20, 3381234.567), (30, 45.125),
                                                   (1001, "SOUTH"), (1000, "300000"), (1040, 1.5), (1070, 3)])
                   + entity("LWPOLYLINE", "34", "0", [(90, 3), (70, 1), (43, 0.0), (10, 0.0), (20, 0.0), (10, 10.0),
                                                      (20, 0.0), (42, 0.5), (10, 10.0), (20, 10.0)])
                   + entity("POLYLINE", "35", "0", [(66, 1), (10, 0.0), (20, 0.0), (30, 0.0), (70, 8)])
                   + entity("VERTEX", "36", "0", [(10, 1.0), (20, 2.0), (30, 3.0), (70, 32)])
                   + entity("VERTEX", "37", "0", [(10, 4.0), (20, 5.0), (30, 6.0), (70, 32)])
                   + [(0, "SEQEND"), (5, "38"), (8, "0")]
                   + entity("TEXT", "39", "0", [(10, 5.0), (20, 5.0), (30, 0.0), (40, 2.5), (1, "控制点A1"), (50, 30.0),
                                                (7, "HZ"), (72, 1), (11, 6.0), (21, 5.0), (31, 0.0)])
                   + entity("MTEXT", "3A", "0", [(10, 1.0), (20, 1.0), (30, 0.0), (40, 2.0), (41, 20.0), (71, 1),
                                                 (1, "第一行\\P第二行")])
                   + entity("INSERT", "3B", "KZD", [(66, 1), (2, "GC200"), (10, 30.0), (20, 30.0), (30, 0.0),
                                                    (41, 1.0), (42, 1.0), (43, 1.0), (50, 0.0)])
                   + entity("ATTRIB", "3C", "KZD", [(10, 31.0), (20, 31.0), (30, 0.0), (40, 1.0), (1, "45.12"),
                                                    (2, "H"), (70, 0)])
                   + [(0, "SEQEND"), (5, "3D"), (8, "KZD")])
drawing += section("OBJECTS", [(0, "DICTIONARY"), (5, "C"), (3, "ACAD_GROUP"), (350, "D"),
                               (0, "DICTIONARY"), (5, "D"), (3, "G1"), (350, "40"),
                               (0, "GROUP"), (5, "40"), (300, ""), (70, 0), (71, 1), (340, "30"), (340, "31")])
drawing += [(0, "EOF")]
put("dxf_reader", "furniture.dxf", dxf(drawing))
copy("dxf_reader", "coords/fixtures/drawing.dxf", "coords/fixtures/one_point.dxf",
     "cad/fixtures/hostile/huge_arc_angles.dxf", "cad/fixtures/hostile/fan_out.dxf", "cad/fixtures/cad_utf8_ac1021.dxf")

# Quelt results: answer byte, plane result, "\n====\n", height result
plane_ou = fixture("quelt/fixtures/P1.OU")
height_ou = fixture("quelt/fixtures/P1H.OUT")
put("quelt_results", "both.txt", b"\x03" + plane_ou + b"\n====\n" + height_ou)
put("quelt_results", "plain.txt", b"\x00" + plane_ou + b"\n====\n" + height_ou)

# The inputs of past findings, kept as regression tests, seed their harness.
for fx, harness in (("platform/fixtures/fuzz/settings_", "settings"), ("cad/fixtures/fuzz/dxf_", "dxf_reader")):
    folder, prefix = os.path.split(fx)
    for name in sorted(os.listdir(os.path.join(repo, "tests", folder))):
        if name.startswith(prefix):
            copy(harness, os.path.join(folder, name))

# docx_reader: packages the host wrote, and one document part alone
copy("docx_reader", "e2e/documents/merge_b.docx", "e2e/documents/control_network.docx",
     "e2e/documents/result_a.docx")
put("docx_reader", "document.xml", (
    '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>'
    '<w:p><w:pPr><w:sectPr><w:pgNumType w:start="5"/></w:sectPr></w:pPr><w:r><w:t>a</w:t><w:tab/>'
    '<w:br w:type="page"/><w:lastRenderedPageBreak/><w:t>b</w:t></w:r></w:p>'
    '<w:tbl><w:tr><w:tc><w:p><w:r><w:t>c</w:t></w:r></w:p><w:tbl><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl>'
    '</w:tc></w:tr></w:tbl><w:sectPr/></w:body></w:document>').encode("utf-8"))
# E500 field data and GPS reports
put("e500", "sample.500", gbk(["CSAM E500 2005-06-01", "F 001 A", "3381000.100", "519000.200", "F 001 A",
                                "3381010.100", "519010.200", "W 002", "3381020.100", "519020.200", "KXY",
                                "3381234.567", "519256.789", "45.678", "DK1234567", "DXY", "HXY", "3381100.000",
                                "519100.000", " 12.34 ", "END"]))
put("gps_results", "report.txt", gbk(["any line", "    二维平差最后的结果   ", "h1", "h2", "h3", "h4", "h5",
                                      "G001      3381234.5671    519256.7894", " " * 23 + "G002",
                                      "G002      3381300.1       519300.25", ""]))
residual = "点号            纬度              经度    大地高    正常高      差值"
fitted = "点号           概略纬度           概略经度      大地高      正常高"
put("gps_heights", "both.txt", gbk(["G001   3381234.567   519256.789", "G002 1 2"]) + b"\n====\n" +
    gbk([residual, "G001".ljust(51) + "45.123".rjust(11) + "   0.01", "", fitted, "----",
         "G002   30.1   114.2   50.1" + " 45.6789"]))
