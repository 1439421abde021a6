#include "commands.h"

#include "coordinate_notes.h"
#include "drawing_tools.h"
#include "hidden.h"
#include "measure.h"
#include "text_tools.h"
#include "unreferenced.h"
#include "xdata_alias.h"

#include "platform/commands.h"
#include "platform/context.h"

namespace kelvor::drafting {

void registerDraftingCommands(CommandRegistry& r)
{
    r.add(QStringLiteral("texttools"), texttools_Click);
    r.add(QStringLiteral("crooslinetext"), crooslinetext_Click);
    r.add(QStringLiteral("deletetextspace"), deletetextspace_Click);
    r.add(QStringLiteral("xunxu_zhu"), xunxu_zhu_Click);
    r.add(QStringLiteral("caldist"), caldist_Click);
    r.add(QStringLiteral("arealiangshan"), arealiangshan_Click);
    r.add(QStringLiteral("arealiangshan_coord"), arealiangshan_coord_Click);
    r.add(QStringLiteral("fengbixianzhuji"), fengbixianzhuji_Click);
    r.add(QStringLiteral("addareaatboxboundary"), addareaatboxboundary_Click);
    r.add(QStringLiteral("addnewgroup"), addnewgroup_Click);
    r.add(QStringLiteral("shengchenglinshikuai(0)"), [](Context& c) { shengchenglinshikuai_Click(c, 0); });
    r.add(QStringLiteral("shengchenglinshikuai(1)"), [](Context& c) { shengchenglinshikuai_Click(c, 1); });
    r.add(QStringLiteral("polylinewidth"), polylinewidth_Click);
    r.add(QStringLiteral("plineatspline(0)"), [](Context& c) { plineatspline_Click(c, 0); });
    r.add(QStringLiteral("plineatspline(1)"), [](Context& c) { plineatspline_Click(c, 1); });
    r.add(QStringLiteral("tuxiangcaijian"), tuxiangcaijian_Click);
    r.add(QStringLiteral("tuxiangkuangjia"), tuxiangkuangjia_Click);
    r.add(QStringLiteral("tuxiangtaomingtu"), tuxiangtaomingtu_Click);
    r.add(QStringLiteral("zjzbfangge"), zjzbfangge_Click);
    r.add(QStringLiteral("zhuobiaozhuji"), zhuobiaozhuji_Click);
    r.add(QStringLiteral("findxdataxtype"), findxdataxtype_Click);
    r.add(QStringLiteral("updataacadpgp"), updataacadpgp_Click);
    r.add(QStringLiteral("entitybianzhou"), entitybianzhou_Click);
    r.add(QStringLiteral("insertdwg"), [](Context& c) { openForm(c, QStringLiteral("insdwg")); });
    // never shown in the menu; reachable by name
    r.add(QStringLiteral("jlbg_fss"), jlbg_fss_Click);
    r.add(QStringLiteral("selecterr"), selecterr_Click);
    r.add(QStringLiteral("setgetvariable"), setgetvariable_Click);
    r.add(QStringLiteral("objectcopy"), objectcopy_Click);
    r.add(QStringLiteral("layer"), layer_Click);
    r.add(QStringLiteral("shandianpaixu"), shandianpaixu_Click);
    // routines nothing in the windows starts; by their own names
    r.add(QStringLiteral("EraseColourOneEntities"), EraseColourOneEntities);
    r.add(QStringLiteral("HighlightPickedInRed"), HighlightPickedInRed);
    r.add(QStringLiteral("ShowObjectNames"), ShowObjectNames);
    r.add(QStringLiteral("ShowHandles"), ShowHandles);
    r.add(QStringLiteral("ShowOsmodeSetPickbox"), ShowOsmodeSetPickbox);
    r.add(QStringLiteral("RecolourDefaultValueEight"), RecolourDefaultValueEight);
    r.add(QStringLiteral("InsertCircleBlock"), InsertCircleBlock);
    r.add(QStringLiteral("EnlargeCircles"), EnlargeCircles);
    r.add(QStringLiteral("EraseRedGcdTexts"), EraseRedGcdTexts);
}

} // namespace kelvor::drafting
