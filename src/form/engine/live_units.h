// Live unit objects by the 32-bit key stored in a record's object slot, and by
// their native window. The table owns them: removing a key deletes its unit.
// A record keeps a key rather than a pointer so that it keeps its dword
// layout on 64-bit Windows too.
#pragma once

#include <cstdint>
#include <memory>

#include "form/engine/unit_object.h"

struct WindowTemplate;

namespace live_units {

// The key for a new live unit (never 0), which the table owns from now on.
std::uint32_t Add(std::unique_ptr<UnitObject> unit);
// The unit behind a key, or nullptr.
UnitObject* Find(std::uint32_t key);
// Deletes the unit behind the key; a key of no unit is ignored.
void Remove(std::uint32_t key);

// The object in the object slot of the unit at index, whether or not its
// native window still exists.
UnitObject* ObjectAt(const WindowTemplate& t, std::uint32_t index);

}  // namespace live_units

// The live object of the unit at index, or nullptr when it has none or its
// native window is gone.
UnitObject* LiveUnit(const WindowTemplate& t, std::uint32_t index);

// Whether any template has a live window.
bool AnyWindowLoaded();
