// The mouse pointers of a loaded window's units, made from their pointer data
// and kept, by a 32-bit key, in each record's cursor slot.
#pragma once

#include <cstdint>

#include "form/engine/unit_object.h"

struct WindowTemplate;

// Makes the unit's pointer from its pointer data into its cursor slot.
void ApplyUnitCursor(WindowTemplate& t, std::uint32_t index);
// Destroys the unit's own pointer, if it has one, and clears the slot.
void ReleaseUnitCursor(WindowTemplate& t, std::uint32_t index);
// Sets the unit's pointer for WM_SETCURSOR; false when it has none of its own.
bool ShowUnitCursor(const UnitObject& unit);
