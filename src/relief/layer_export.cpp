#include "relief/layer_export.h"

#include "platform/blanks.h"
#include "relief/drawing_steps.h"

namespace kelvor::relief {

QString exactLayerFilter(const QString& layer)
{
    static const QString special = QStringLiteral("#@.*?~[]-,`");
    QString out;
    for (const QChar c : layer) {
        if (special.contains(c))
            out += QLatin1Char('`');
        out += c;
    }
    return out;
}

bool isFileNameLayer(const QString& layer)
{
    if (layer.isEmpty() || layer == QLatin1String(".") || layer == QLatin1String(".."))
        return false;
    static const QString refused = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : layer)
        if (refused.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

QString layerFilePath(const QString& folder, const QString& layer)
{
    const QString separator = folder.endsWith(QLatin1Char('\\')) ? QString() : QStringLiteral("\\");
    return folder + separator + layer + QStringLiteral(".dwg");
}

void layeratoutputfile_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {});
    if (!app)
        return;
    const QString folder = TrimBlanks(cad::getpath(ctx, QStringLiteral("请择要保存文件的目录")));
    if (folder.isEmpty())
        return;
    attempt([&] { app->setVisible(true); });
    attempt([&] { app->activate(app->Caption()); });
    attempt([&] { app->setWindowState(3); });

    QStringList layers;
    attempt([&] {
        for (const cad::Layer& l : app->ActiveDocument().Layers().items())
            layers << l.Name;
    });
    QStringList failed;
    for (const QString& layer : layers) {
        cad::SelectionSet* set = scratchSet(*app, QStringLiteral("text"));
        if (!set)
            continue;
        attempt([&] { set->Select(cad::SelectAll, {}, {}, cad::SelectionFilter().add(8, exactLayerFilter(layer))); });
        const QString path = layerFilePath(folder, layer);
        int count = 0;
        attempt([&] { count = set->Count(); });
        if (count == 0)
            continue;
        if (!isFileNameLayer(layer)) {
            failed << layer;
            continue;
        }
        prompt(*app, QStringLiteral("正在输出文件:") + path + QStringLiteral(",请稍候!"));
        if (!attempt([&] { app->ActiveDocument().Wblock(path, *set); }))
            failed << layer;
    }
    prompt(*app, QStringLiteral("\r\n结束操作！"));
    if (!failed.isEmpty())
        prompt(*app, QStringLiteral("\r\n未输出的图层:") + failed.join(QLatin1Char(',')));
}

} // namespace kelvor::relief
