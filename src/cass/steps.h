#pragma once
#include "cad/host/application.h"
#include "platform/errors.h"

#include <QString>
#include <functional>

// Steps the CASS commands share: a drawing step the host may refuse, and a
// command-line text that is shown when it can be.
namespace kelvor::cass {

inline void attempt(const std::function<void()>& step)
{
    try {
        step();
    } catch (const RunError&) {
    }
}

inline void prompt(cad::Application& app, const QString& text)
{
    attempt([&] { app.ActiveDocument().Utility().Prompt(text); });
}

} // namespace kelvor::cass
