#include "app/menu_table.h"
#include "app/registry.h"
#include "app/ui/form1.h"
#include "platform/commands.h"
#include "platform/errors.h"
#include "test_support.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace kelvor;
using kelvor::test::TempHome;

namespace {

// The menu bar as the user sees it, one line an entry: indentation gives the
// level, then name | caption | state (sub, sep, checked, disabled, shortcut).
const char* const kExpectedMenus = R"(
file|文件(&F)|sub
  openfudongqiao|开启浮动条|checked Ctrl+S
  CADtogongjulan|创建工具栏|
  newfile|新建导线文件|
  opendxfile|打开成果文件|Ctrl+O
  fen11(0)|-|sep
  opentextfile|打开文本文件|
  newfiles|新建文本文件|Ctrl+N
  filelist(0)|-|sep
  filelist(1)||
  filelist(2)|-|sep
  quit|退出|Ctrl+Q
tools|工具(&T)|sub
  systemset|参数 设定|Ctrl+T
  ge3|-|sep
  checkshu|查重复数据|
  setnumber|注记行序号|
  shengchengfilespath|生成文件路径列表 [选择目录]|
  dadianshujucheck|打点数据检测|sub
    lwpolyinsertpoint|多义线加点|
    fangfano2|相临两点|
    fenge3|-|sep
    dadianshujijianche|两线比较|
    laheightcheck|高程检查|
  ge4|-|sep
  addfilepl|文件合并(批量)|Ctrl+H
  zhdxlxpl|展绘导线路线 [批量]|
dx|导线(&D)|sub
  selectdxfile_x|选择数据文件进行...|sub
    selectdxfile|导线平差|
    zfkxjxselectfile|左右路线计算|
    jdgxselectfile|角 度 估 算|
    jigx_selectfile|距 离 估 算|
  ge5|-|sep
  printcgb|生成成果表|checked
  ge18|-|sep
  bianchangtaoyinggai|距 离 投 影 改 化|
  printsj|生成原始数据文件|
  batoutcgb|生成导线成果表 [批量]|
  ge6|-|sep
  qiujulizhi|枚 举 距 离 值|
  tiquyizhidianshuiju|提取导已知点数据|
  outcordnumber|调入记录数据  [SJ]|
  shuijiqiqwijjobj|角度值取位 [奇进偶不进]|
  ge8|-|sep
  removekzjlsj|调入控制精灵观测数据|
  callcassdx|调入平差易数据|
  ge9|-|sep
  yixiaweipcynygn|---以下为平差易内业功能---|disabled
  hubinggcsj|合并观测数据.......[txt]|
  huoqucezhanshu|获取测站数.........[txt]|
  findchongfucezhan|查找重复测站|
  hebingworddoc|合并平差文档.......[doc]|
  cezhanymtobiaoge|提取页码......[观测手簿]|
  tiquyimapcsj|提取页码......[平差手簿]|
  outputpcynumber|精度统计...........[doc]|
  shuchudangqiancg|成果输出......[当前文档]|
  piliangoutcg|成果输出..........[批量]|
  huoquyichengguo|修改已知点数据|
  printoutgxb|概算表转换|
zhuanhuan|转换(&H)|sub
  zhbiaocdscrpt|坐标文件->展点文件     [AutoCAD脚本格式]|sub
    outfilezb|生成展点文件|
    jlblock|创建点位符号|
  ge10|-|sep
  e500changecass|坐标文件 -> CASS控制点脚本文件|sub
    djdaoxiao(0)|等级点|
    djdaoxiao(1)|非埋石点|
    djdaoxiao(2)|埋石点|
  ge21|-|sep
  updatejm|更新CASS简码引导文件         [JCode.DEF]|
  dmyd|CSAM外业代码约定说明|
  zhuanhuanwyczwj|1.1 外业数据->CASS(适用CSAM格式)|
  zhanhuidandianwei|1.2 展绘单点点位             [CASS格式]|
  shujujianhuiyijiantong|2.1 图形展绘一键通(适用CSAM格式)|F12
  ge22|-|sep
  zhuobiaozhuanhuan|坐标转换为南方格式|
  zhuobiaohuandai1|图形换带|sub
    zhuobiaohuandai1czsm|操作说明|
    zhuobiaohuandai1scjhwj|1.输出平差易交换文件|
    zhuobiaohuandai1schdhwj|2.输出换带后DXF文件|
    ge24|-|sep
  fangshi2zbzh|坐标转换|
south|CASS开发(&S)|sub
  addcassshuxing|CASS属性配赋|
  huaoqikuang|获取地物属性|hidden
  circlechange|地物反向(圆型)|
  sdcassobj|三点地物|
  danbianyangtai|绘制单边阳台|
  breakpolytype2|绘制多边阳台|
  breakpolytype|打断多义线|
  shuimiangaochenzj|注记水面高程|
  weiqiangmen|添加围墙门|
  fenge1|-|sep
  deletedgx|删除等高线(过滤)|
  addassist|植被填充层处理|
  ge15|-|sep
  laheightaddnumber|高程点加一常数|
  alterdgxlaheight|修改等高线高度|
  addgcd|内 插 高 程 点|
  changekzdheight|修改控制点高程|
  laheightgcdqw|高 程 点 取 位|
  changekzd|改变控制点比例尺|
  gaibiankzdbili|改变控制点显示比例|
  layeratoutputfile|按图层输出文件|
  ge16|-|sep
  openzhidingtufu|调入指定图幅|
  fdsfdsfdsfdsf|地形图属性完善|
  massboss|图形质量控制|
  biaojiwushuxingdiwu|标记无属性地物|
  setjmdlenght|房屋边长注记|
  changejmd3d|检查少于3点的房屋线|
  jmdclosecheck|房屋线闭合检查|
  checkjmdfang|检查房屋结构与属性|
  tumiankongzidiancg|图面控制点生成坐标成果|hidden
  tuxingfuhaoyiwei|图形符号移位|hidden
  deletelingbianchang|删除冗余点|
  fengchengxiansx|分层线配属性|
  yuaddkuaohao|鱼 字 加 括 号|
  ge17|-|sep
  addjiehebiaozb|添加图幅接合表数据|
  biaohuitufushu|标绘图幅数|
  tongyituyanse|统一图幅颜色|
  add250200tk|加250*200图框|
  ge20|-|sep
  addtujhbgongshi|加图幅接合表[单个]|
  addtujhbgongshipl|加图幅接合表[批量]|
  cehuigongshidingyi|公司定义图幅|
gaoji|AutoCAD辅助(&A)|sub
  shengchenglinshikuai(0)|生成临时块|
  shengchenglinshikuai(1)|插入临时块|
  jlbg_fss|创建表格|hidden
  selecterr|选择集|hidden
  setgetvariable|获取系统变量|hidden
  objectcopy|对象复制|hidden
  layer|图层|hidden
  findxdataxtype|获取扩展属性|
  updataacadpgp|惯用PGP文件|
  fen66|-|sep
  texttools|文 字 修 改|
  deletetextspace|去除文字空格|
  polylinewidth|修改线型宽度|
  crooslinetext|规范文字注记|
  shandianpaixu|散 点 排 序|hidden
  plinespline|直/曲线转换|sub
    plineatspline(0)|曲线->直线|
    plineatspline(1)|直线->曲线|
  ge(10)|-|sep
  caldist|距 离 求 算|
  arealiangshan|面积量算 [系统]|
  arealiangshan_coord|面积量算 [公式]|
  addareaatboxboundary|获取内部边界|
  addnewgroup|多边形生成面域|
  fengbixianzhuji|封闭线注记|
  ge14|-|sep
  greatusersize|生成打印图框|
  imageclip|图 像 操 作|sub
    tuxiangcaijian|图像裁剪|
    tuxiangtaomingtu|图像透明度|
    tuxiangkuangjia|图像框架|
  zhutufuhao|注记图幅号|
  rotatedwgfile|旋 转 图 形|
  xunxu_zhu|注 记 序 号|
  zjzbfangge|坐标标注 [纵横式]|
  zhuobiaozhuji|坐标标注 [引线式]|
  entitybianzhou|实体编组控制|
  insertdwg|批量插入文件|
  ge12|-|sep
  zb_xxxx|获取pline线坐标|
  jzdbgxxxxx|绘界址点坐标表|
  zhengshijiezhixian|整 饰 界 址 线|
  jzdtoprints|生成界址点打印文件|
  ge13|-|sep
  dwar_gpsjx_pmcg|[GPS]输出平面成果|
  dwar_gpsjx|[GPS]绘 制 网 图|
  dwar_gpsjx_gc|[GPS]坐标、高程合并|
  dwar_gpsjx_nh|[GPS]点号加＊号|
guangwugaoshu|工程内业(&R)|sub
  tukuang2000|添加带状分幅图框|
  piliangfenfu|批量带状图分幅|
  trimdwgfile|自由图幅修剪|
  insertdwgfiles|插入指定文件|
  zoomalldwg|全图保存文件|
  正规分幅|4*5正规分幅输出|
  hengxian|-|sep
  drawdljarea|绘地类面积表|
  tongjizhongdidao|统计宗地岛面积|
  XIUGAITUBANHAO|修改图斑编号|
  oldchangnewdl|新旧地类转换|
  huifujiudilei|恢复旧地类编号|
  biaozhudileibianhao|标注地类编码|
  areatoarea|面积标注至AREA层|
  findzhidingzhifu|查找指定字符|
  tongjizhidingdilei|统计指定地类面积|
  opuexcel1|输出面积到Excel|
  zhongdishuxingxiugai|宗地属性修改 [SCAS]|
  hengxian1|-|sep
  checkpolylineclose|检查线的封闭性|
  polylineareayn|封闭线面积核对|
windows|输 出|sub
  publicfiles|通用文件名为空|
  outfilew(0)|输出(Watch.txt)文件|
  outfilew(1)|已知点成果文件|
  outfilew(2)|-|sep
  outfilew(3)|导线成果文件|
qita|关 于|sub
  guanyu|关于本软件|
  tishi|帮助|
quick_call|快捷功能|sub popup
  quick_call_next(0)|快速调用菜单|
  quick_call_next(1)|-|sep
  quick_call_next(2)|穷举求距离值|
  quick_call_next(3)|调入观测数据|
  quick_call_next(4)|距离量算|
  quick_call_next(5)|面积量算|
  distgsty|距离投影改化|
  PINGCHAYI|-|sep
  callcassdxmenu|调入控制精灵观测数据|
  APPLOADPCY|调入平差易数据|
  dushujiancha|读数检查|
)";

void describe(const QMenu* menu, int depth, QStringList& out)
{
    const QString pad(depth * 2, QLatin1Char(' '));
    for (QAction* a : menu->actions()) {
        if (QMenu* sub = a->menu()) {
            out.append(pad + sub->objectName() + QLatin1Char('|') + sub->title() + QStringLiteral("|sub"));
            describe(sub, depth + 1, out);
            continue;
        }
        QStringList state;
        if (a->isSeparator())
            state << QStringLiteral("sep");
        if (a->isChecked())
            state << QStringLiteral("checked");
        // a hidden action is disabled with it: the state says hidden alone
        if (!a->isVisible())
            state << QStringLiteral("hidden");
        else if (!a->isEnabled())
            state << QStringLiteral("disabled");
        if (!a->shortcut().isEmpty())
            state << a->shortcut().toString();
        const QString caption = a->isSeparator() ? QStringLiteral("-") : a->text();
        out.append(pad + a->objectName() + QLatin1Char('|') + caption + QLatin1Char('|') + state.join(QLatin1Char(' ')));
    }
}

struct Shell {
    Shell()
    {
        app::registerAllCommands(registry);
        form = std::make_unique<app::Form1>(home.context, registry, windows);
    }
    TempHome home;
    CommandRegistry registry;
    WindowRegistry windows;
    std::unique_ptr<app::Form1> form;
};

} // namespace

TEST(Menu, MenuBarAndQuickPopupEqualTheTables)
{
    Shell s;
    QStringList actual;
    for (QAction* top : s.form->menuBar()->actions()) {
        QMenu* m = top->menu();
        ASSERT_NE(m, nullptr);
        actual.append(m->objectName() + QLatin1Char('|') + m->title() + QStringLiteral("|sub"));
        describe(m, 1, actual);
    }
    QMenu* quick = s.form->quickCallMenu();
    actual.append(quick->objectName() + QLatin1Char('|') + quick->title() + QStringLiteral("|sub popup"));
    describe(quick, 1, actual);

    QStringList expected = QString::fromUtf8(kExpectedMenus).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(actual.size(), expected.size()) << actual.join(QLatin1Char('\n')).toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i;
}

TEST(Menu, EveryItemRunsTheHandlerRegisteredUnderItsName)
{
    Shell s;
    QStringList ran;
    const QStringList keys = s.registry.items();
    for (const QString& k : keys)
        s.registry.substitute(k, [&ran, k](Context&) { ran.append(k); });

    int triggered = 0;
    for (const app::MenuItem* item : app::commandItems()) {
        const QString key = item->key();
        SCOPED_TRACE(key.toStdString());
        ASSERT_TRUE(keys.contains(key));
        QAction* a = s.form->action(key);
        ASSERT_NE(a, nullptr);
        ran.clear();
        a->trigger();
        ++triggered;
        // opening 导线 runs its own handler, never an item's
        EXPECT_EQ(ran, QStringList{key});
    }
    EXPECT_GT(triggered, 150);

    // The heading of the PCY tools is greyed and runs nothing.
    ran.clear();
    QAction* heading = s.form->action(QStringLiteral("yixiaweipcynygn"));
    EXPECT_FALSE(heading->isEnabled());
    heading->trigger();
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_FALSE(s.registry.has(QStringLiteral("yixiaweipcynygn")));

    // Opening the 导线 menu runs dx_Click.
    ran.clear();
    emit s.form->menu(QStringLiteral("dx"))->aboutToShow();
    EXPECT_EQ(ran, QStringList{QStringLiteral("dx")});
}

TEST(Menu, EveryRegisteredItemIsOfferedSomewhere)
{
    CommandRegistry registry;
    app::registerAllCommands(registry);
    QStringList offered{QStringLiteral("dx")};
    for (const app::MenuItem* item : app::commandItems())
        offered.append(item->key());
    for (const app::ExtraItem& e : app::extraItems())
        offered.append(e.key);
    for (const QString& k : registry.items())
        EXPECT_TRUE(offered.contains(k)) << k.toStdString();
    for (const QString& k : offered)
        EXPECT_TRUE(registry.has(k)) << k.toStdString();
}

TEST(Menu, EveryBuiltItemIsRegisteredByTheSubsystemItNames)
{
    CommandRegistry registry;
    app::registerAllCommands(registry);
    for (const app::MenuItem* item : app::commandItems()) {
        const QString key = item->key();
        if (registry.isPlaceholder(key))
            continue;
        EXPECT_EQ(registry.owner(key), item->owner) << key.toStdString();
    }
}

TEST(Menu, AnEscapingFailureIsShownAndTheProgramGoesOn)
{
    Shell s;
    s.registry.substitute(QStringLiteral("printcgb"), [](Context&) { throw std::runtime_error("out of order"); });
    s.form->action(QStringLiteral("printcgb"))->trigger();
    EXPECT_EQ(test::lastMessage(s.home).value(QStringLiteral("text")).toString(), QStringLiteral("错误:程序内部错误（out of order）"));
    s.registry.substitute(QStringLiteral("printcgb"), [](Context&) { kelvor::raise(err::TypeMismatch); });
    s.form->action(QStringLiteral("printcgb"))->trigger();
    EXPECT_EQ(test::lastMessage(s.home).value(QStringLiteral("text")).toString(), QStringLiteral("错误:13"));
}

TEST(Menu, ShortcutsRunTheirItemsWhileTheMenusAreClosed)
{
    Shell s;
    const QStringList withShortcut{QStringLiteral("openfudongqiao"), QStringLiteral("opendxfile"),
                                   QStringLiteral("newfiles"),       QStringLiteral("quit"),
                                   QStringLiteral("systemset"),      QStringLiteral("addfilepl"),
                                   QStringLiteral("shujujianhuiyijiantong")};
    for (const QString& k : withShortcut) {
        QAction* a = s.form->action(k);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(s.form->actions().contains(a)) << k.toStdString();
        EXPECT_EQ(a->shortcutContext(), Qt::WindowShortcut);
    }
}

TEST(Menu, GroupPickCaptionFollowsTheLastSwitch)
{
    Shell s;
    QAction* item = s.form->action(QStringLiteral("entitybianzhou"));
    EXPECT_EQ(item->text(), QStringLiteral("实体编组控制"));
    s.registry.substitute(QStringLiteral("entitybianzhou"),
                          [](Context& ctx) { ctx.state().groupPickCaption = QStringLiteral("实体编组控制(关)"); });
    item->trigger();
    EXPECT_EQ(item->text(), QStringLiteral("实体编组控制(关)"));
}

TEST(Menu, RoutinesNothingStartsAreNeverShown)
{
    QStringList hidden;
    for (const app::ExtraItem& e : app::extraItems())
        if (!e.shown)
            hidden << e.key;
    EXPECT_TRUE(hidden.contains(QStringLiteral("RecolourDefaultValueEight")));
    Shell s;
    for (const QString& k : hidden) {
        EXPECT_EQ(s.form->action(k), nullptr) << k.toStdString();
        EXPECT_EQ(s.registry.owner(k), QStringLiteral("drafting")) << k.toStdString();
    }
}

TEST(Menu, CheckMarksFollowTheStateAfterEachCommand)
{
    Shell s;
    s.registry.substitute(QStringLiteral("printcgb"), [](Context& ctx) { ctx.state().printcgb = !ctx.state().printcgb; });
    s.home.context.state().printcgb = true;
    s.form->refreshMenus();
    QAction* printcgb = s.form->action(QStringLiteral("printcgb"));
    printcgb->trigger();
    EXPECT_FALSE(printcgb->isChecked());
    printcgb->trigger();
    EXPECT_TRUE(printcgb->isChecked());
    // 开启浮动条 keeps its check mark whatever happens
    QAction* bar = s.form->action(QStringLiteral("openfudongqiao"));
    bar->trigger();
    bar->trigger();
    EXPECT_TRUE(bar->isChecked());
}
