#include "zbfy.h"

#include "coords/stake_out.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/errors.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

namespace kelvor::coords {

namespace {

// The X and Y boxes each pick button fills, and its prompt.
struct PickRow {
    int x, y;
    const char* prompt;
};
constexpr PickRow PickRows[3] = {
    {2, 3, "拾取测站点坐标:"},
    {5, 6, "拾取定向点数据:"},
    {8, 9, "拾取放样点数据:"},
};

} // namespace

Zbfy::Zbfy(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("zbfy"));
    setWindowTitle(QStringLiteral("坐标放样"));
    setWindowModality(Qt::ApplicationModal);

    const QString texts[10] = {QString(),
                               QStringLiteral("I0101"),
                               QStringLiteral("100"),
                               QStringLiteral("100"),
                               QString(),
                               QStringLiteral("200"),
                               QStringLiteral("200"),
                               QStringLiteral("0.0000"),
                               QStringLiteral("136.6025"),
                               QStringLiteral("236.6025")};
    for (int i = 1; i <= 9; ++i) {
        if (i == 4)
            continue; // no Text22(4) on the form
        text22_[i] = new QLineEdit(texts[i], this);
        text22_[i]->setObjectName(QStringLiteral("Text22(%1)").arg(i));
    }
    const QString captions[11] = {QStringLiteral("已知点信息"),
                                  QStringLiteral("点  号"),
                                  QStringLiteral("坐标 X"),
                                  QString(),
                                  QStringLiteral("坐标 Y"),
                                  QStringLiteral("定向角"),
                                  QStringLiteral("放样点信息"),
                                  QStringLiteral("坐标 X.Y"),
                                  QStringLiteral("(°′″)"),
                                  QStringLiteral("测站点              定向点"),
                                  QStringLiteral("可通过“拾取”功能于Autocad2000系统中获取坐标")};
    for (int i = 0; i <= 10; ++i) {
        if (i == 3)
            continue;
        label25_[i] = new QLabel(captions[i], this);
        label25_[i]->setObjectName(QStringLiteral("Label25(%1)").arg(i));
    }
    QPushButton* picks[3];
    for (int i = 0; i < 3; ++i) {
        picks[i] = new QPushButton(this);
        picks[i]->setObjectName(QStringLiteral("Command22(%1)").arg(i));
        picks[i]->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
        picks[i]->setAutoDefault(false);
        connect(picks[i], &QPushButton::clicked, this, [this, i] { Command22_Click(i); });
    }
    auto* compute = new QPushButton(QStringLiteral("计 算"), this);
    compute->setObjectName(QStringLiteral("Command13"));
    compute->setAutoDefault(false);
    connect(compute, &QPushButton::clicked, this, &Zbfy::Command13_Click);

    auto* g = new QGridLayout(this);
    g->addWidget(label25_[0], 0, 0, 1, 4);
    g->addWidget(label25_[9], 1, 1, 1, 3);
    g->addWidget(label25_[1], 2, 0);
    g->addWidget(text22_[1], 2, 1);
    g->addWidget(label25_[2], 3, 0);
    g->addWidget(text22_[2], 3, 1);
    g->addWidget(text22_[5], 3, 2);
    g->addWidget(label25_[4], 4, 0);
    g->addWidget(text22_[3], 4, 1);
    g->addWidget(text22_[6], 4, 2);
    g->addWidget(picks[0], 5, 1);
    g->addWidget(picks[1], 5, 2);
    g->addWidget(label25_[5], 6, 0);
    g->addWidget(text22_[7], 6, 1);
    g->addWidget(label25_[8], 6, 2);
    g->addWidget(label25_[6], 7, 0, 1, 4);
    g->addWidget(label25_[7], 8, 0);
    g->addWidget(text22_[8], 8, 1);
    g->addWidget(text22_[9], 8, 2);
    g->addWidget(picks[2], 8, 3);
    g->addWidget(compute, 9, 1, 1, 2);
    g->addWidget(label25_[10], 10, 0, 1, 4);
}

void Zbfy::Command13_Click()
{
    auto t = [this](int i) { return text22_[i]->text(); };
    const std::optional<StakeOutResult> r =
        stakeOut({t(2), t(3), t(5), t(6), t(8), t(9), t(7)}, &ctx_.ui());
    if (!r) {
        ctx_.ui().message(QStringLiteral("数据为空或非法的数字或字符。"), QStringLiteral("错误"), Icon::Critical);
        return;
    }
    ctx_.ui().message(stakeOutText(*r), QStringLiteral("计算结果"), Icon::Exclamation);
}

void Zbfy::Command22_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    cad::Application* app = cad::ConnectToAutoCAD(ctx_, {}, cad::ConnectFailure::SystemOrOther);
    if (!app)
        return; // the window stays as it was
    hide();
    cad::attempt([&] { app->activate(app->Caption()); });
    cad::Point p;
    try {
        p = app->ActiveDocument().Utility().GetPoint(QString::fromUtf8(PickRows[index].prompt));
    } catch (const RunError&) {
        ctx_.ui().message(QStringLiteral("没有获取坐标值。"), QStringLiteral("提示"), Icon::Exclamation);
        show();
        raise();
        return;
    }
    text22_[PickRows[index].x]->setText(FormatFixed(p.y, 4));
    text22_[PickRows[index].y]->setText(FormatFixed(p.x, 4));
    // From now on an ordinary window over the main window.
    setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

QWidget* loadZbfy(Context& ctx, QWidget* owner)
{
    static QPointer<Zbfy> loaded;
    if (!loaded || &loaded->context() != &ctx)
        loaded = new Zbfy(ctx, owner);
    else if (!loaded->isVisible())
        loaded->setWindowModality(Qt::ApplicationModal); // the launcher opens it modal again
    return loaded;
}

} // namespace kelvor::coords
