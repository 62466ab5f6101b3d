// The Button unit type (按钮): a platform push button whose click raises the
// unit's event 0.
#pragma once

#include "form/engine/unit_object.h"

extern const UnitTypeOperations kButtonUnitOperations;
