#include "xdata_alias.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/common_dialog.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/ui.h"

namespace kelvor::drafting {

using namespace cad;

namespace {

QString valueText(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    if (v.typeId() == QMetaType::QVariantList) {
        QStringList parts;
        for (const QVariant& c : v.toList())
            parts << NumberText(c.toDouble());
        return parts.join(QLatin1Char(','));
    }
    return NumberText(v.toDouble());
}

} // namespace

void findxdataxtype_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx, {Forward::Visible, Forward::Activate}, ConnectFailure::Silent);
    if (!doc)
        return;
    Utility& u = doc->Utility();
    XData items;
    attempt([&] {
        Point at;
        items = u.GetEntity(at, QStringLiteral("提示"))->GetXData(QString());
    });
    // A cancelled pick or an entity without data shows the line break alone.
    QString text = QStringLiteral("\r\n");
    for (size_t i = 0; i < items.size(); ++i)
        text += SignedNumberText(double(i)) + QStringLiteral("  ") + QString::number(items[i].code) + QStringLiteral("->")
            + valueText(items[i].value) + QStringLiteral("\r\n");
    attempt([&] { u.Prompt(text); });
}

PickStyleSwitch pickStyleSwitch(double current)
{
    const QString item = QStringLiteral("实体编组控制");
    if (current == 1)
        return {0, item + QStringLiteral("(关)")};
    return {1, item + QStringLiteral("(开)")};
}

void entitybianzhou_Click(Context& ctx)
{
    // Without a host nothing changes: the caption keeps the last switch made.
    Document* doc = ConnectToDrawing(ctx, {Forward::Visible, Forward::Activate}, ConnectFailure::Silent);
    if (!doc)
        return;
    QVariant current;
    attempt([&] { current = doc->GetVariable(QStringLiteral("pickstyle")); });
    const PickStyleSwitch next = pickStyleSwitch(current.toDouble());
    attempt([&] { doc->SetVariable(QStringLiteral("pickstyle"), next.value); });
    ctx.state().groupPickCaption = next.caption;
    attempt([&] { doc->Utility().Prompt(next.caption + QStringLiteral("\r\n")); });
}

const QStringList& aliasFileLines()
{
    static const QStringList lines = {
        QStringLiteral("CATALOG,DIR /W,0,File pattern: ,0"),
        QStringLiteral("DEL,DEL,       0,File to delete: ,4"),
        QStringLiteral("DIR,DIR,       0,File pattern: ,0"),
        QStringLiteral("EDIT,NOTEPAD,  0,File to edit: ,4"),
        QStringLiteral("SH,,           0,*OS Command: ,4"),
        QStringLiteral("SHELL,,        0,*OS Command: ,4"),
        QStringLiteral("TYPE,TYPE,     0,File to list: ,0"),
        QStringLiteral("; Command alias format:"),
        QStringLiteral("pe,     *pedit"),
        QStringLiteral("scr,    *script"),
        QStringLiteral("de,     *ddedit"),
        QStringLiteral("dd,     *ddedit"),
        QStringLiteral("di,     *dist"),
        QStringLiteral("ci,     *circle"),
        QStringLiteral("sc,     *scale"),
        QStringLiteral("E,      *ERASE"),
        QStringLiteral("v,      *getp"),
        QStringLiteral("ve,     *pedit"),
        QStringLiteral("pl,     *pline"),
        QStringLiteral("M,      *MOVE"),
        QStringLiteral("b,      *brEAK"),
        QStringLiteral("R,      *REDRAW"),
        QStringLiteral("Z,      *ZOOM"),
        QStringLiteral("C,      *COPY"),
        QStringLiteral("P,      *PAN"),
        QStringLiteral("RE,     *REGEN"),
        QStringLiteral("OF,     *OFFSET"),
        QStringLiteral("CH,     *CHANGE"),
        QStringLiteral("RO,     *ROTATE"),
        QStringLiteral("O,      *CHANGEHEIGHT"),
        QStringLiteral("TR,     *TRIM"),
        QStringLiteral("mi,     *mirror"),
        QStringLiteral("in,     *ddinsert"),
        QStringLiteral("wb,     *-wblock"),
        QStringLiteral("la,     *-layer"),
        QStringLiteral("s,      *putp"),
        QStringLiteral("h,      *HUAN"),
        QStringLiteral("off,    *offset"),
        QStringLiteral("bo,     *boundary"),
        QStringLiteral("j,     *polyins"),
        QStringLiteral("EX,    *EXTEND"),
        QStringLiteral("exp,    *explode"),
        QStringLiteral("X,    *DZPB"),
        QStringLiteral("Y,      *POLYINS"),
        QStringLiteral("T,      *FUZHI"),
        QStringLiteral("L,      *polyjoin"),
        QStringLiteral("ds,   *EXPLODEGCD"),
    };
    return lines;
}

void updataacadpgp_Click(Context& ctx)
{
    CommonDialog dialog(ctx);
    dialog.setTitle(QStringLiteral("保存acad.pgp文件")).setFilter(QStringLiteral("E500数据文件(*.pgp)|*.pgp"));
    const QString chosen = dialog.showSave();
    if (chosen.trimmed().isEmpty())
        return;
    try {
        TextWriter out(paths::resolve(chosen));
        for (const QString& line : aliasFileLines())
            out.writeLine(line);
        out.commit();
    } catch (const RunError&) {
        return; // silent, as for a cancelled dialog
    }
    ctx.ui().message(QStringLiteral("成功保存目标文件:") + chosen, QStringLiteral("提示"), Icon::Exclamation);
}

} // namespace kelvor::drafting
