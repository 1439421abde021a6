// Writes the .docx fixtures of documents/ with the document host's own
// writer: kelvor-e2e-documents tests/e2e/documents
#include "platform/doc/docx.h"

#include "../support/doc_builder.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

using namespace kelvor;
using kelvor::test::DocBuilder;

namespace {

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

// A PCY result document: the marker paragraphs, then the coordinate table.
DocBuilder resultDocument(const QString& route, const QString& point, bool table = true)
{
    DocBuilder b;
    b.paras({u("平差结果"), u("未知坐标点个数：2"), u("路径：") + route, u("方位角闭合差=-12.00(秒),限差=±24.0(秒)"),
             u("总边长[s]=1234.567(m),平均边长[s] =123.456,边长闭合=12.3456(m)"),
             u("高程路线闭合差=-8.5(mm),允许闭合差(四等水准)：±20√L(mm)=±36.2(mm)"), u("\f坐标成果")});
    if (table)
        b.table({{u("点名"), u("X"), u("Y"), u("H"), u("备注")},
                 {u("K1"), u("3000.000"), u("500.000"), u("10.000"), u("已知点")},
                 {point, u("3100.125"), u("512.500"), u("12.5"), u("")},
                 {point + u("A"), u("3150.000"), u("520.000"), u(""), u("")}});
    return b.para(u("结束"));
}

// An observation handbook: cover pages, stations from paragraph 694, three
// index tables at the end.
DocBuilder handbook()
{
    DocBuilder b;
    b.para(u("观测手簿")).para(u("\f"));
    for (int p = 3; p <= 693; ++p)
        b.para(p == 400 ? u("\f") : u("说明"));
    const char* stations[] = {"A12", "B7", "C3"};
    for (int k = 0; k < 3; ++k) {
        b.para(u("测站：") + u(stations[k]));
        b.para(u("后视   前视   读数"));
        b.para(u("\f"));
    }
    for (int t = 0; t < 3; ++t)
        b.emptyTable(26, 11);
    return b;
}

DocBuilder controlNetwork()
{
    DocBuilder b;
    b.para(u("平差手簿")).table({{u("目录")}}).table({{u("说明")}});
    b.table({{u("序号"), u("名称"), u("说明"), u("页码")}, {u("1"), u("一级"), u(""), u("")},
             {u("2"), u("二级"), u(""), u("")}, {u("3"), u("图根"), u(""), u("")}});
    b.paras({u("\f"), u("控 制 网 一级"), u("控 制 网 二级"), u("\f"), u("\f"), u("\f"), u("控 制 网 图根")});
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvor-e2e-documents <folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    const struct {
        const char* name;
        DocBuilder doc;
    } documents[] = {
        {"merge_target.docx", DocBuilder().paras({u("目标一"), u("目标二")})},
        {"merge_a.docx", DocBuilder().para(u("甲文档"))},
        {"merge_b.docx", DocBuilder().para(u("乙文档")).table({{u("1"), u("2")}}).para(u("乙尾"))},
        {"merge_c.docx", DocBuilder().para(u("丙\t文档"))},
        {"handbook.docx", handbook()},
        {"control_network.docx", controlNetwork()},
        {"result_a.docx", resultDocument(u("K1-K2-A-B-C-K3-K4"), u("P1"))},
        {"result_b.docx", resultDocument(u("-M1-M2-N1-M3-M4-"), u("Q1"))},
        {"result_none.docx", resultDocument(u("X-Y-Z"), u("R1"), false)},
    };
    try {
        for (const auto& d : documents)
            doc::writeDocx(dir + u("/") + u(d.name), d.doc.build());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
