#include "menu_table.h"

namespace kelvor::app {

QString itemKey(const QString& name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

QString MenuItem::key() const
{
    return itemKey(name, index);
}

namespace {

struct Opt {
    const char* shortcut = "";
    bool checked = false;
    bool enabled = true;
    bool shown = true;
};

MenuItem item(const char* name, const char* caption, const char* owner, Opt o = {})
{
    MenuItem m;
    m.name = QString::fromUtf8(name);
    m.caption = QString::fromUtf8(caption);
    m.owner = QString::fromUtf8(owner);
    m.shortcut = QString::fromUtf8(o.shortcut);
    m.checked = o.checked;
    m.enabled = o.enabled;
    m.shown = o.shown;
    return m;
}

MenuItem element(const char* name, int index, const char* caption, const char* owner)
{
    MenuItem m = item(name, caption, owner);
    m.index = index;
    return m;
}

MenuItem sep(const char* name, int index = -1)
{
    MenuItem m = item(name, "-", "");
    m.index = index;
    return m;
}

MenuItem menu(const char* name, const char* caption, QList<MenuItem> children)
{
    MenuItem m = item(name, caption, "");
    m.children = std::move(children);
    return m;
}

QList<MenuItem> buildMenuBar()
{
    const Opt checked{"", true};
    const Opt hidden{"", false, true, false};
    return {
        menu("file", "文件(&F)",
             {
                 item("openfudongqiao", "开启浮动条", "app", {"Ctrl+S", true}),
                 item("CADtogongjulan", "创建工具栏", "app"),
                 item("newfile", "新建导线文件", "traverse"),
                 item("opendxfile", "打开成果文件", "traverse", {"Ctrl+O"}),
                 sep("fen11", 0),
                 item("opentextfile", "打开文本文件", "app"),
                 item("newfiles", "新建文本文件", "app", {"Ctrl+N"}),
                 sep("filelist", 0),
                 element("filelist", 1, "", "traverse"),
                 sep("filelist", 2),
                 item("quit", "退出", "app", {"Ctrl+Q"}),
             }),
        menu("tools", "工具(&T)",
             {
                 item("systemset", "参数 设定", "app", {"Ctrl+T"}),
                 sep("ge3"),
                 item("checkshu", "查重复数据", "app"),
                 item("setnumber", "注记行序号", "app"),
                 item("shengchengfilespath", "生成文件路径列表 [选择目录]", "app"),
                 menu("dadianshujucheck", "打点数据检测",
                      {
                          item("lwpolyinsertpoint", "多义线加点", "relief"),
                          item("fangfano2", "相临两点", "relief"),
                          sep("fenge3"),
                          item("dadianshujijianche", "两线比较", "relief"),
                          item("laheightcheck", "高程检查", "relief"),
                      }),
                 sep("ge4"),
                 item("addfilepl", "文件合并(批量)", "app", {"Ctrl+H"}),
                 item("zhdxlxpl", "展绘导线路线 [批量]", "coords"),
             }),
        menu("dx", "导线(&D)",
             {
                 menu("selectdxfile_x", "选择数据文件进行...",
                      {
                          item("selectdxfile", "导线平差", "traverse"),
                          item("zfkxjxselectfile", "左右路线计算", "blunder"),
                          item("jdgxselectfile", "角 度 估 算", "blunder"),
                          item("jigx_selectfile", "距 离 估 算", "blunder"),
                      }),
                 sep("ge5"),
                 item("printcgb", "生成成果表", "traverse", checked),
                 sep("ge18"),
                 item("bianchangtaoyinggai", "距 离 投 影 改 化", "traverse"),
                 item("printsj", "生成原始数据文件", "traverse"),
                 item("batoutcgb", "生成导线成果表 [批量]", "exchange"),
                 sep("ge6"),
                 item("qiujulizhi", "枚 举 距 离 值", "blunder"),
                 item("tiquyizhidianshuiju", "提取导已知点数据", "traverse"),
                 item("outcordnumber", "调入记录数据  [SJ]", "exchange"),
                 item("shuijiqiqwijjobj", "角度值取位 [奇进偶不进]", "traverse"),
                 sep("ge8"),
                 item("removekzjlsj", "调入控制精灵观测数据", "exchange"),
                 item("callcassdx", "调入平差易数据", "exchange"),
                 sep("ge9"),
                 item("yixiaweipcynygn", "---以下为平差易内业功能---", "", {"", false, false}),
                 item("hubinggcsj", "合并观测数据.......[txt]", "exchange"),
                 item("huoqucezhanshu", "获取测站数.........[txt]", "exchange"),
                 item("findchongfucezhan", "查找重复测站", "exchange"),
                 item("hebingworddoc", "合并平差文档.......[doc]", "exchange"),
                 item("cezhanymtobiaoge", "提取页码......[观测手簿]", "exchange"),
                 item("tiquyimapcsj", "提取页码......[平差手簿]", "exchange"),
                 item("outputpcynumber", "精度统计...........[doc]", "exchange"),
                 item("shuchudangqiancg", "成果输出......[当前文档]", "exchange"),
                 item("piliangoutcg", "成果输出..........[批量]", "exchange"),
                 item("huoquyichengguo", "修改已知点数据", "exchange"),
                 item("printoutgxb", "概算表转换", "exchange"),
             }),
        menu("zhuanhuan", "转换(&H)",
             {
                 menu("zhbiaocdscrpt", "坐标文件->展点文件     [AutoCAD脚本格式]",
                      {
                          item("outfilezb", "生成展点文件", "coords"),
                          item("jlblock", "创建点位符号", "coords"),
                      }),
                 sep("ge10"),
                 menu("e500changecass", "坐标文件 -> CASS控制点脚本文件",
                      {
                          element("djdaoxiao", 0, "等级点", "coords"),
                          element("djdaoxiao", 1, "非埋石点", "coords"),
                          element("djdaoxiao", 2, "埋石点", "coords"),
                      }),
                 sep("ge21"),
                 item("updatejm", "更新CASS简码引导文件         [JCode.DEF]", "coords"),
                 item("dmyd", "CSAM外业代码约定说明", "coords"),
                 item("zhuanhuanwyczwj", "1.1 外业数据->CASS(适用CSAM格式)", "coords"),
                 item("zhanhuidandianwei", "1.2 展绘单点点位             [CASS格式]", "coords"),
                 item("shujujianhuiyijiantong", "2.1 图形展绘一键通(适用CSAM格式)", "coords", {"F12"}),
                 sep("ge22"),
                 item("zhuobiaozhuanhuan", "坐标转换为南方格式", "coords"),
                 menu("zhuobiaohuandai1", "图形换带",
                      {
                          item("zhuobiaohuandai1czsm", "操作说明", "coords"),
                          item("zhuobiaohuandai1scjhwj", "1.输出平差易交换文件", "coords"),
                          item("zhuobiaohuandai1schdhwj", "2.输出换带后DXF文件", "coords"),
                          sep("ge24"),
                      }),
                 item("fangshi2zbzh", "坐标转换", "coords"),
             }),
        menu("south", "CASS开发(&S)",
             {
                 item("addcassshuxing", "CASS属性配赋", "cass"),
                 item("huaoqikuang", "获取地物属性", "cass", hidden),
                 item("circlechange", "地物反向(圆型)", "cass"),
                 item("sdcassobj", "三点地物", "cass"),
                 item("danbianyangtai", "绘制单边阳台", "cass"),
                 item("breakpolytype2", "绘制多边阳台", "cass"),
                 item("breakpolytype", "打断多义线", "cass"),
                 item("shuimiangaochenzj", "注记水面高程", "relief"),
                 item("weiqiangmen", "添加围墙门", "cass"),
                 sep("fenge1"),
                 item("deletedgx", "删除等高线(过滤)", "relief"),
                 item("addassist", "植被填充层处理", "cass"),
                 sep("ge15"),
                 item("laheightaddnumber", "高程点加一常数", "relief"),
                 item("alterdgxlaheight", "修改等高线高度", "relief"),
                 item("addgcd", "内 插 高 程 点", "relief"),
                 item("changekzdheight", "修改控制点高程", "relief"),
                 item("laheightgcdqw", "高 程 点 取 位", "relief"),
                 item("changekzd", "改变控制点比例尺", "relief"),
                 item("gaibiankzdbili", "改变控制点显示比例", "relief"),
                 item("layeratoutputfile", "按图层输出文件", "relief"),
                 sep("ge16"),
                 item("openzhidingtufu", "调入指定图幅", "sheets"),
                 item("fdsfdsfdsfdsf", "地形图属性完善", "cass"),
                 item("massboss", "图形质量控制", "relief"),
                 item("biaojiwushuxingdiwu", "标记无属性地物", "cass"),
                 item("setjmdlenght", "房屋边长注记", "cass"),
                 item("changejmd3d", "检查少于3点的房屋线", "cass"),
                 item("jmdclosecheck", "房屋线闭合检查", "cass"),
                 item("checkjmdfang", "检查房屋结构与属性", "cass"),
                 item("tumiankongzidiancg", "图面控制点生成坐标成果", "cass", hidden),
                 item("tuxingfuhaoyiwei", "图形符号移位", "cass", hidden),
                 item("deletelingbianchang", "删除冗余点", "relief"),
                 item("fengchengxiansx", "分层线配属性", "cass"),
                 item("yuaddkuaohao", "鱼 字 加 括 号", "relief"),
                 sep("ge17"),
                 item("addjiehebiaozb", "添加图幅接合表数据", "sheets"),
                 item("biaohuitufushu", "标绘图幅数", "sheets"),
                 item("tongyituyanse", "统一图幅颜色", "sheets"),
                 item("add250200tk", "加250*200图框", "sheets"),
                 sep("ge20"),
                 item("addtujhbgongshi", "加图幅接合表[单个]", "sheets"),
                 item("addtujhbgongshipl", "加图幅接合表[批量]", "sheets"),
                 item("cehuigongshidingyi", "公司定义图幅", "sheets"),
             }),
        menu("gaoji", "AutoCAD辅助(&A)",
             {
                 element("shengchenglinshikuai", 0, "生成临时块", "drafting"),
                 element("shengchenglinshikuai", 1, "插入临时块", "drafting"),
                 item("jlbg_fss", "创建表格", "drafting", hidden),
                 item("selecterr", "选择集", "drafting", hidden),
                 item("setgetvariable", "获取系统变量", "drafting", hidden),
                 item("objectcopy", "对象复制", "drafting", hidden),
                 item("layer", "图层", "drafting", hidden),
                 item("findxdataxtype", "获取扩展属性", "drafting"),
                 item("updataacadpgp", "惯用PGP文件", "drafting"),
                 sep("fen66"),
                 item("texttools", "文 字 修 改", "drafting"),
                 item("deletetextspace", "去除文字空格", "drafting"),
                 item("polylinewidth", "修改线型宽度", "drafting"),
                 item("crooslinetext", "规范文字注记", "drafting"),
                 item("shandianpaixu", "散 点 排 序", "drafting", hidden),
                 menu("plinespline", "直/曲线转换",
                      {
                          element("plineatspline", 0, "曲线->直线", "drafting"),
                          element("plineatspline", 1, "直线->曲线", "drafting"),
                      }),
                 sep("ge", 10),
                 item("caldist", "距 离 求 算", "drafting"),
                 item("arealiangshan", "面积量算 [系统]", "drafting"),
                 item("arealiangshan_coord", "面积量算 [公式]", "drafting"),
                 item("addareaatboxboundary", "获取内部边界", "drafting"),
                 item("addnewgroup", "多边形生成面域", "drafting"),
                 item("fengbixianzhuji", "封闭线注记", "drafting"),
                 sep("ge14"),
                 item("greatusersize", "生成打印图框", "sheets"),
                 menu("imageclip", "图 像 操 作",
                      {
                          item("tuxiangcaijian", "图像裁剪", "drafting"),
                          item("tuxiangtaomingtu", "图像透明度", "drafting"),
                          item("tuxiangkuangjia", "图像框架", "drafting"),
                      }),
                 item("zhutufuhao", "注记图幅号", "sheets"),
                 item("rotatedwgfile", "旋 转 图 形", "sheets"),
                 item("xunxu_zhu", "注 记 序 号", "drafting"),
                 item("zjzbfangge", "坐标标注 [纵横式]", "drafting"),
                 item("zhuobiaozhuji", "坐标标注 [引线式]", "drafting"),
                 item("entitybianzhou", "实体编组控制", "drafting"),
                 item("insertdwg", "批量插入文件", "drafting"),
                 sep("ge12"),
                 item("zb_xxxx", "获取pline线坐标", "landuse"),
                 item("jzdbgxxxxx", "绘界址点坐标表", "landuse"),
                 item("zhengshijiezhixian", "整 饰 界 址 线", "landuse"),
                 item("jzdtoprints", "生成界址点打印文件", "landuse"),
                 sep("ge13"),
                 item("dwar_gpsjx_pmcg", "[GPS]输出平面成果", "coords"),
                 item("dwar_gpsjx", "[GPS]绘 制 网 图", "coords"),
                 item("dwar_gpsjx_gc", "[GPS]坐标、高程合并", "coords"),
                 item("dwar_gpsjx_nh", "[GPS]点号加＊号", "coords"),
             }),
        menu("guangwugaoshu", "工程内业(&R)",
             {
                 item("tukuang2000", "添加带状分幅图框", "sheets"),
                 item("piliangfenfu", "批量带状图分幅", "sheets"),
                 item("trimdwgfile", "自由图幅修剪", "sheets"),
                 item("insertdwgfiles", "插入指定文件", "sheets"),
                 item("zoomalldwg", "全图保存文件", "sheets"),
                 item("正规分幅", "4*5正规分幅输出", "sheets"),
                 sep("hengxian"),
                 item("drawdljarea", "绘地类面积表", "landuse"),
                 item("tongjizhongdidao", "统计宗地岛面积", "landuse"),
                 item("XIUGAITUBANHAO", "修改图斑编号", "landuse"),
                 item("oldchangnewdl", "新旧地类转换", "landuse"),
                 item("huifujiudilei", "恢复旧地类编号", "landuse"),
                 item("biaozhudileibianhao", "标注地类编码", "landuse"),
                 item("areatoarea", "面积标注至AREA层", "landuse"),
                 item("findzhidingzhifu", "查找指定字符", "landuse"),
                 item("tongjizhidingdilei", "统计指定地类面积", "landuse"),
                 item("opuexcel1", "输出面积到Excel", "landuse"),
                 item("zhongdishuxingxiugai", "宗地属性修改 [SCAS]", "landuse"),
                 sep("hengxian1"),
                 item("checkpolylineclose", "检查线的封闭性", "landuse"),
                 item("polylineareayn", "封闭线面积核对", "landuse"),
             }),
        menu("windows", "输 出",
             {
                 item("publicfiles", "通用文件名为空", "app"),
                 element("outfilew", 0, "输出(Watch.txt)文件", "app"),
                 element("outfilew", 1, "已知点成果文件", "app"),
                 sep("outfilew", 2),
                 element("outfilew", 3, "导线成果文件", "app"),
             }),
        menu("qita", "关 于",
             {
                 item("guanyu", "关于本软件", "app"),
                 item("tishi", "帮助", "app"),
             }),
    };
}

MenuItem buildQuickCall()
{
    return menu("quick_call", "快捷功能",
                {
                    element("quick_call_next", 0, "快速调用菜单", "app"),
                    sep("quick_call_next", 1),
                    element("quick_call_next", 2, "穷举求距离值", "app"),
                    element("quick_call_next", 3, "调入观测数据", "app"),
                    element("quick_call_next", 4, "距离量算", "app"),
                    element("quick_call_next", 5, "面积量算", "app"),
                    item("distgsty", "距离投影改化", "traverse"),
                    sep("PINGCHAYI"),
                    item("callcassdxmenu", "调入控制精灵观测数据", "exchange"),
                    item("APPLOADPCY", "调入平差易数据", "exchange"),
                    item("dushujiancha", "读数检查", "exchange"),
                });
}

void collect(const MenuItem& m, QList<const MenuItem*>& out)
{
    for (const MenuItem& c : m.children) {
        if (c.isSubmenu())
            collect(c, out);
        else if (!c.isSeparator() && c.enabled)
            out.append(&c);
    }
}

} // namespace

const QList<MenuItem>& menuBar()
{
    static const QList<MenuItem> bar = buildMenuBar();
    return bar;
}

const MenuItem& quickCallMenu()
{
    static const MenuItem quick = buildQuickCall();
    return quick;
}

QList<const MenuItem*> commandItems()
{
    QList<const MenuItem*> out;
    for (const MenuItem& top : menuBar())
        collect(top, out);
    collect(quickCallMenu(), out);
    return out;
}

} // namespace kelvor::app
