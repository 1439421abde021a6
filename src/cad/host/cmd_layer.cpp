// -LAYER (Set, Make, New, ON, OFF, Freeze, Thaw, LOck, Unlock) and CHANGE
// (selection, then Properties: Color, LAyer, LType, Thickness, Elev).
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"

namespace kelvor::cad::cmd {

namespace {

void layerCommand(CommandInput& in)
{
    Document& doc = in.document();
    const QStringList options{QStringLiteral("?"), QStringLiteral("Make"), QStringLiteral("Set"),
                              QStringLiteral("New"), QStringLiteral("ON"), QStringLiteral("OFF"),
                              QStringLiteral("Color"), QStringLiteral("Ltype"), QStringLiteral("Freeze"),
                              QStringLiteral("Thaw"), QStringLiteral("LOck"), QStringLiteral("Unlock")};
    while (true) {
        const QString item = in.nextText();
        if (isEnter(item))
            return;
        const QString k = matchKeyword(item, options);
        if (k.isEmpty())
            continue; // not an option: asked again
        if (k == QLatin1String("?"))
            continue;
        const QString names = in.nextText().trimmed();
        if (k == QLatin1String("Color") || k == QLatin1String("Ltype")) {
            const QString value = names;
            const QString targets = in.nextText().trimmed();
            for (const QString& name : targets.split(QLatin1Char(','), Qt::SkipEmptyParts))
                if (Layer* l = doc.Layers().find(name.trimmed())) {
                    if (k == QLatin1String("Color") && value.toInt() >= 1 && value.toInt() <= 255)
                        l->Color = value.toInt();
                    else if (k == QLatin1String("Ltype"))
                        if (const Linetype* lt = doc.Linetypes().find(value))
                            l->Linetype = lt->Name;
                }
            continue;
        }
        if (k == QLatin1String("Set")) {
            if (doc.Layers().contains(names))
                doc.setActiveLayer(names);
            else
                doc.host()->appendTranscript(QStringLiteral("未找到图层“%1”。\r\n").arg(names));
            continue;
        }
        if (k == QLatin1String("Make")) {
            doc.Layers().Add(names);
            doc.setActiveLayer(names);
            continue;
        }
        for (const QString& raw : names.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString name = raw.trimmed();
            if (k == QLatin1String("New")) {
                doc.Layers().Add(name);
                continue;
            }
            for (Layer& l : doc.Layers().items()) {
                if (!wildcardMatch(l.Name, name))
                    continue;
                if (k == QLatin1String("ON"))
                    l.LayerOn = true;
                else if (k == QLatin1String("OFF"))
                    l.LayerOn = false;
                else if (k == QLatin1String("Freeze") && l.Name.compare(doc.ActiveLayer(), Qt::CaseInsensitive) != 0)
                    l.Freeze = true;
                else if (k == QLatin1String("Thaw"))
                    l.Freeze = false;
                else if (k == QLatin1String("LOck"))
                    l.Lock = true;
                else if (k == QLatin1String("Unlock"))
                    l.Lock = false;
            }
        }
    }
}

int colorNumber(const QString& text, bool* ok)
{
    static const QStringList names{QStringLiteral("BYBLOCK"), QStringLiteral("RED"), QStringLiteral("YELLOW"),
                                   QStringLiteral("GREEN"), QStringLiteral("CYAN"), QStringLiteral("BLUE"),
                                   QStringLiteral("MAGENTA"), QStringLiteral("WHITE")};
    const QString t = text.trimmed().toUpper();
    *ok = true;
    if (t == QLatin1String("BYLAYER"))
        return ColorByLayer;
    if (const int i = int(names.indexOf(t)); i >= 0)
        return i;
    bool num = false;
    const int v = t.toInt(&num);
    *ok = num && v >= 0 && v <= 256;
    return v;
}

void changeCommand(CommandInput& in)
{
    Document& doc = in.document();
    const std::vector<Entity*> chosen = selectObjects(in);
    const QString mode = in.nextText();
    if (isEnter(mode) || matchKeyword(mode, {QStringLiteral("Properties")}).isEmpty())
        return; // change points are not offered here
    const QStringList props{QStringLiteral("Color"), QStringLiteral("Elev"), QStringLiteral("LAyer"),
                            QStringLiteral("LType"), QStringLiteral("ltScale"), QStringLiteral("LWeight"),
                            QStringLiteral("Thickness")};
    while (true) {
        const QString item = in.nextText();
        if (isEnter(item))
            return;
        const QString k = matchKeyword(item, props);
        if (k.isEmpty())
            continue;
        const QString value = in.nextText().trimmed();
        for (Entity* e : chosen) {
            if (e->isErased() || !editable(doc, *e))
                continue;
            try {
                if (k == QLatin1String("Color")) {
                    bool ok = false;
                    const int c = colorNumber(value, &ok);
                    if (ok)
                        e->setColor(c);
                } else if (k == QLatin1String("LAyer")) {
                    e->setLayer(value);
                } else if (k == QLatin1String("LType")) {
                    e->setLinetype(value);
                } else if (k == QLatin1String("Thickness")) {
                    e->setThickness(value.toDouble());
                } else if (k == QLatin1String("Elev")) {
                    e->setElevation(value.toDouble());
                }
            } catch (const RunError&) {
                // an entity without that property keeps what it has
            }
        }
    }
}

} // namespace

void registerLayerAndChange(Application& app)
{
    app.registerCommand(QStringLiteral("LAYER"), layerCommand,
                        QStringLiteral("图层：设为当前、新建、开关、冻结、锁定"));
    app.registerCommand(QStringLiteral("CHANGE"), changeCommand,
                        QStringLiteral("修改对象的颜色、图层、线型、厚度、标高"));
}

} // namespace kelvor::cad::cmd
