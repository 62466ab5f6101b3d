// The unit types this program carries, numbered as the form's TypeIds count
// them: library 1 type 1 the window, library 1 type 11 the Button, library 4
// type 1 the ZIP unit.
#pragma once

#include <span>

#include "form/description/unit_types.h"

std::span<const UnitLibrary> ProgramUnitTypes();

inline constexpr TypeId kWindowTypeId = 0x00010001;
inline constexpr TypeId kButtonTypeId = 0x0001000B;
inline constexpr TypeId kZipTypeId = 0x00040001;
