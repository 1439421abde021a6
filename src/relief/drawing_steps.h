#pragma once
// The relief drawing commands go on past a step the host refuses: the
// drawing kit's passed-over steps, by their short names.
#include "cad/cad.h"
#include "cad/kit/routines.h"

namespace kelvor::relief {

using cad::attempt;
using cad::members;
using cad::prompt;
using cad::scratchSet;
using cad::selectAll;

} // namespace kelvor::relief
