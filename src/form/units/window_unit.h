// The window unit type (窗口): a top-level frame drawn from its properties,
// with a background picture, icons, and the keys that move the focus among
// its units.
#pragma once

#include "form/engine/unit_object.h"

extern const UnitTypeOperations kWindowUnitOperations;
