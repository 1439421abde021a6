#include "commands.h"

#include "batch_save.h"
#include "free_trim.h"
#include "join_batches.h"
#include "join_table.h"
#include "plotting.h"
#include "sheet_files.h"
#include "sheet_marks.h"
#include "sheet_output.h"

#include "platform/commands.h"
#include "platform/context.h"

namespace kelvor::sheets {

namespace {

void addjiehebiaozb_Click(Context& ctx)
{
    openForm(ctx, QStringLiteral("jhb"));
}

} // namespace

void registerSheetsCommands(CommandRegistry& r)
{
    r.add(QStringLiteral("addtujhbgongshi"), addtujhbgongshi_Click);
    r.add(QStringLiteral("addjiehebiaozb"), addjiehebiaozb_Click);
    r.add(QStringLiteral("insertdwgfiles"), insertdwgfiles_Click);
    r.add(QStringLiteral("openzhidingtufu"), openzhidingtufu_Click);
    r.add(QStringLiteral("正规分幅"), zhengguifenfu_Click);
    r.add(QStringLiteral("piliangfenfu"), piliangfenfu_Click);
    r.add(QStringLiteral("tukuang2000"), tukuang2000_Click);
    r.add(QStringLiteral("trimdwgfile"), trimdwgfile_Click);
    r.add(QStringLiteral("addtujhbgongshipl"), addtujhbgongshipl_Click);
    r.add(QStringLiteral("cehuigongshidingyi"), cehuigongshidingyi_Click);
    r.add(QStringLiteral("add250200tk"), add250200tk_Click);
    r.add(QStringLiteral("biaohuitufushu"), biaohuitufushu_Click);
    r.add(QStringLiteral("zhutufuhao"), zhutufuhao_Click);
    r.add(QStringLiteral("tongyituyanse"), tongyituyanse_Click);
    r.add(QStringLiteral("zoomalldwg"), zoomalldwg_Click);
    r.add(QStringLiteral("greatusersize"), greatusersize_Click);
    r.add(QStringLiteral("rotatedwgfile"), rotatedwgfile_Click);
}

} // namespace kelvor::sheets
