#pragma once
#include "cad/host/application.h"
#include "cad/kit/routines.h"

#include <QString>

// A command-line text the CASS commands show when the host lets them.
namespace kelvor::cass {

using cad::attempt;

inline void prompt(cad::Application& app, const QString& text)
{
    attempt([&] { app.ActiveDocument().Utility().Prompt(text); });
}

} // namespace kelvor::cass
