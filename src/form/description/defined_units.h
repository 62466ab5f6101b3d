// What a form definition says of its units, as the form tool hands it to the
// program's sources beside the block it lays out (assets/form_units.h): the
// program finds its units by the names the form gives them, and tests check
// the block against the definition, so that neither keeps ids of its own.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "form/description/unit_record.h"

struct DefinedBinding {
  std::int32_t event;
  std::string_view routine;  // "none": no handler
  std::uint32_t offset;      // the routine's offset from the code start, or kNoHandlerOffset
};

struct DefinedUnit {
  UnitId window;
  UnitId id;
  TypeId type;
  std::string_view name;       // as the definition spells it, in UTF-8
  std::string_view nameBytes;  // as the block holds it, in code page 936
  std::int32_t left, top, width, height;
  std::uint32_t flags;
  std::span<const DefinedBinding> bindings;
};

// The id of the unit named name; a name that no unit has does not compile.
consteval UnitId UnitNamed(std::span<const DefinedUnit> units, std::string_view name) {
  for (const DefinedUnit& unit : units)
    if (unit.name == name) return unit.id;
  throw "the form has no unit of that name";
}

consteval std::size_t CountOfType(std::span<const DefinedUnit> units, UnitId window, TypeId type) {
  std::size_t count = 0;
  for (const DefinedUnit& unit : units) count += unit.window == window && unit.type == type ? 1 : 0;
  return count;
}

// The offset of the routine that a unit's first binding of event names, as
// the definition gives it; kNoHandlerOffset when it binds none.
constexpr std::uint32_t BoundOffset(std::span<const DefinedUnit> units, UnitId unit, std::int32_t event) {
  for (const DefinedUnit& u : units)
    if (u.id == unit)
      for (const DefinedBinding& binding : u.bindings)
        if (binding.event == event) return binding.offset;
  return kNoHandlerOffset;
}

// The ids of the window's units of one type, lowest first. Count is
// CountOfType of the same arguments.
template <std::size_t Count>
consteval std::array<UnitId, Count> UnitsOfType(std::span<const DefinedUnit> units, UnitId window, TypeId type) {
  std::array<UnitId, Count> ids{};
  std::size_t n = 0;
  for (const DefinedUnit& unit : units)
    if (unit.window == window && unit.type == type) ids[n++] = unit.id;
  std::sort(ids.begin(), ids.end());
  return ids;
}
