#pragma once
// Everything a drawing command needs of the embedded CAD host.
#include "cad/host/application.h"
#include "cad/host/cmd_commands.h"
#include "cad/model/document.h"
#include "cad/dxf/dxf.h"
#include "cad/model/entity.h"
#include "cad/model/geometry.h"
#include "cad/kit/routines.h"
#include "cad/model/selection.h"
#include "cad/model/utility.h"
#include "cad/model/xdata.h"
