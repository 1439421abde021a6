#pragma once
#include "platform/errors.h"

#include <functional>

namespace kelvor::cass {

// Drawing steps the commands pass over when the host refuses them.
inline void attempt(const std::function<void()>& step)
{
    try {
        step();
    } catch (const RunError&) {
    }
}

} // namespace kelvor::cass
