#pragma once
#include "cad/host/application.h"
#include "cad/kit/routines.h"

namespace kelvor::sheets {

using cad::attempt;

// Brings the host's window to the front, when it can.
inline void activateHost(cad::Application& app)
{
    attempt([&] { app.activate(app.Caption()); });
}

} // namespace kelvor::sheets
