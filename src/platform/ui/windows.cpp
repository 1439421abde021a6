#include "platform/windows.h"

#include "platform/context.h"

#include <QDialog>
#include <map>
#include <memory>

namespace kelvor {

namespace {

// What a window not built yet is called in its message.
QString windowCaption(const QString& form)
{
    static const std::map<QString, QString> captions = {
        {QStringLiteral("seting"), QStringLiteral("参数设定")},
        {QStringLiteral("tool"), QStringLiteral("其它工具")},
        {QStringLiteral("zbfy"), QStringLiteral("坐标放样")},
        {QStringLiteral("quelt"), QStringLiteral("Quelt导线平差辅助程序")},
        {QStringLiteral("insdwg"), QStringLiteral("批量插入文件")},
        {QStringLiteral("frmzb"), QStringLiteral("处理线坐标")},
        {QStringLiteral("dilei"), QStringLiteral("土地分类项目")},
        {QStringLiteral("outExcelx"), QStringLiteral("地类面积导出Excle...")},
        {QStringLiteral("addtext"), QStringLiteral("文本文件合并")},
        {QStringLiteral("Form2"), QStringLiteral("关于本软件")},
    };
    auto it = captions.find(form);
    return it == captions.end() ? form : it->second;
}

} // namespace

void WindowRegistry::open(const QString& form, Context& ctx, QWidget* mainWindow) const
{
    auto it = factories_.find(form);
    if (it == factories_.end()) {
        auto b = builders_.find(form);
        if (b != builders_.end()) {
            QWidget* w = b->second.build(ctx, mainWindow);
            if (auto* dlg = qobject_cast<QDialog*>(w); dlg && b->second.modal) {
                std::unique_ptr<QDialog> owned(dlg);
                dlg->exec();
            } else {
                w->setAttribute(Qt::WA_DeleteOnClose);
                w->show();
            }
            return;
        }
        ctx.ui().message(QStringLiteral("“%1”功能尚未提供。").arg(windowCaption(form)), QStringLiteral("提示"),
                         Icon::Exclamation);
        return;
    }
    it->second(ctx, mainWindow);
}

QWidget* WindowRegistry::build(const QString& form, Context& ctx, QWidget* owner) const
{
    auto b = builders_.find(form);
    return b == builders_.end() ? nullptr : b->second.build(ctx, owner);
}

} // namespace kelvor
