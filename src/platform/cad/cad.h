#pragma once
// Everything a drawing command needs of the embedded CAD host.
#include "platform/cad/application.h"
#include "platform/cad/document.h"
#include "platform/cad/dxf.h"
#include "platform/cad/entity.h"
#include "platform/cad/geometry.h"
#include "platform/cad/routines.h"
#include "platform/cad/selection.h"
#include "platform/cad/utility.h"
#include "platform/cad/xdata.h"
