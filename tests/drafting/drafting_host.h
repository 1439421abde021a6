#pragma once
// A drawing host with the shapes the drafting commands work on.
#include "cad_host.h"

#include <QJsonArray>
#include <QJsonObject>

namespace kelvor::test {

struct DraftingHost : CadHost {
    // A closed square from (x, y) with side a, anticlockwise unless asked.
    cad::Entity* square(double x, double y, double a, bool clockwise = false)
    {
        std::vector<double> xy = clockwise ? std::vector<double>{x, y, x, y + a, x + a, y + a, x + a, y}
                                           : std::vector<double>{x, y, x + a, y, x + a, y + a, x, y + a};
        cad::Entity* e = ms().AddLightWeightPolyline(xy);
        e->setClosed(true);
        return e;
    }
    cad::Entity* text(const QString& s, double x = 0, double y = 0)
    {
        return ms().AddText(s, {x, y, 0}, 1);
    }
    void select(const std::vector<cad::Entity*>& entities)
    {
        QStringList handles;
        for (cad::Entity* e : entities)
            handles << e->Handle();
        answerSelect(handles);
    }
    QJsonObject message(int i) const { return ui.messages().at(i).toObject(); }
    QString messageText(int i) const { return message(i).value(QStringLiteral("text")).toString(); }
    QString messageTitle(int i) const { return message(i).value(QStringLiteral("title")).toString(); }
    QString messageIcon(int i) const { return message(i).value(QStringLiteral("icon")).toString(); }
    // Model-space entities added after the first `from`.
    std::vector<cad::Entity*> added(int from)
    {
        std::vector<cad::Entity*> out;
        for (int i = from; i < ms().Count(); ++i)
            out.push_back(ms().Item(i));
        return out;
    }
};

} // namespace kelvor::test
