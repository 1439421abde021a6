#include "commands.h"

#include "attributes.h"
#include "building_checks.h"
#include "building_tools.h"
#include "control_points.h"

#include "platform/commands.h"

namespace kelvor::cass {

void registerCassCommands(CommandRegistry& r)
{
    r.add(QStringLiteral("addcassshuxing"), addcassshuxing_Click);
    r.add(QStringLiteral("huaoqikuang"), huaoqikuang_Click);
    r.add(QStringLiteral("fdsfdsfdsfdsf"), fdsfdsfdsfdsf_Click);
    r.add(QStringLiteral("fengchengxiansx"), fengchengxiansx_Click);
    r.add(QStringLiteral("addassist"), addassist_Click);
    r.add(QStringLiteral("biaojiwushuxingdiwu"), biaojiwushuxingdiwu_Click);
    r.add(QStringLiteral("circlechange"), circlechange_Click);
    r.add(QStringLiteral("breakpolytype2"), breakpolytype2_Click);
    r.add(QStringLiteral("danbianyangtai"), danbianyangtai_Click);
    r.add(QStringLiteral("weiqiangmen"), weiqiangmen_Click);
    r.add(QStringLiteral("sdcassobj"), sdcassobj_Click);
    r.add(QStringLiteral("breakpolytype"), breakpolytype_Click);
    r.add(QStringLiteral("setjmdlenght"), setjmdlenght_Click);
    r.add(QStringLiteral("changejmd3d"), changejmd3d_Click);
    r.add(QStringLiteral("checkjmdfang"), checkjmdfang_Click);
    r.add(QStringLiteral("jmdclosecheck"), jmdclosecheck_Click);
    r.add(QStringLiteral("tumiankongzidiancg"), tumiankongzidiancg_Click);
    r.add(QStringLiteral("tuxingfuhaoyiwei"), tuxingfuhaoyiwei_Click);
}

} // namespace kelvor::cass
