#pragma once
#include "cad/host/application.h"
#include "platform/errors.h"

#include <utility>

namespace kelvor::sheets {

// Runs one drawing step whose refusal the command passes over; false when
// the host refused it.
template <class F>
bool attempt(F&& step)
{
    try {
        std::forward<F>(step)();
        return true;
    } catch (const RunError&) {
        return false;
    }
}

// Brings the host's window to the front, when it can.
inline void activateHost(cad::Application& app)
{
    attempt([&] { app.activate(app.Caption()); });
}

} // namespace kelvor::sheets
