#pragma once
// A CAD host wired to a temporary home, answering its command-line
// questions from the home's answer queue.
#include "cad/cad.h"
#include "test_support.h"

#include <memory>

namespace kelvor::test {

struct CadHost {
    TempHome home;
    // The home's context and ui under the names a TempHome gives them.
    Context& context{home.context};
    ScriptedUi& ui{home.ui};
    cad::Application app;
    CadHost()
    {
        registerEditingCommands(app);
        home.context.setCad(&app);
        app.setInputSource(std::make_unique<cad::ScriptedInput>(home.answers));
    }
    cad::Document& doc() { return app.ActiveDocument(); }
    cad::Block& ms() { return doc().ModelSpace(); }
    // The host's recorded zooms, in order.
    QStringList zooms() const
    {
        QStringList out;
        for (const QString& e : app.events())
            if (e.startsWith(QLatin1String("ZoomWindow")))
                out << e;
        return out;
    }

    void answer(const QString& kind, const QString& text = QString()) { home.answer(kind, text); }
    // A pick at (x, y).
    void answerPoint(double x, double y)
    {
        ScriptedAnswer a;
        a.kind = QStringLiteral("point");
        a.x = x;
        a.y = y;
        home.answers.push(a);
    }
    // A point typed as "x,y[,z]".
    void answerTypedPoint(const QString& text)
    {
        ScriptedAnswer a;
        a.kind = QStringLiteral("point");
        a.text = text;
        home.answers.push(a);
    }
    void answerEntity(const QString& handle, double x = 0, double y = 0)
    {
        ScriptedAnswer a;
        a.kind = QStringLiteral("entity");
        a.handle = handle;
        a.x = x;
        a.y = y;
        home.answers.push(a);
    }
    void answerSelect(const QStringList& handles)
    {
        ScriptedAnswer a;
        a.kind = QStringLiteral("select");
        a.list = handles;
        home.answers.push(a);
    }
};

} // namespace kelvor::test
