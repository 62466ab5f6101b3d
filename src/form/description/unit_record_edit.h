// Writes that change the length of a unit's record in a template's working
// copy: the tag and the mouse pointer. The record's length and the offsets of
// the records behind it move with the change, so that every record can
// still be walked. A UnitEntry taken before such a write is stale after it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "form/description/form_description.h"

// The tag is a terminated string: it keeps the text up to a NUL inside it.
// False when the unit is missing or the buffer would outgrow what a byte
// buffer can hold.
bool SetUnitTag(WindowTemplate& t, std::uint32_t index, std::string_view tag);
bool SetUnitCursorSpec(WindowTemplate& t, std::uint32_t index, std::span<const std::uint8_t> cursorSpec);
