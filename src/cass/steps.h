#pragma once
#include "cad/host/application.h"
#include "cad/kit/routines.h"

#include <QString>

// A command-line text the CASS commands show when the host lets them.
namespace kelvor::cass {

using cad::attempt;

using cad::prompt;

} // namespace kelvor::cass
