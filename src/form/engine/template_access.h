// The engine's view of a window template's units: each field of a unit's
// record, read and written in the working copy. Records are walked anew on
// every access, because writing the tag or the pointer changes their length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "form/description/form_description.h"
#include "form/description/unit_types.h"
#include "form/engine/unit_object.h"

namespace units {

// Unit fields the engine reads and writes.
enum class Geometry { Left, Top, Width, Height };

// The program's windows and unit types, read at start-up; they live for the
// whole run.
void InstallTemplates(std::vector<WindowTemplate> templates, std::span<const UnitLibrary> libraries);

// The template loaded for a window id, or nullptr.
WindowTemplate* FindWindow(UnitId window);
// All templates, in table order.
std::vector<WindowTemplate*> AllWindows();

UnitId WindowIdOf(const WindowTemplate& t);
std::uint32_t UnitCount(const WindowTemplate& t);
// Index of a unit by id (0 = the window unit), or nothing.
std::optional<std::uint32_t> IndexOf(const WindowTemplate& t, UnitId unit);
UnitId IdAt(const WindowTemplate& t, std::uint32_t index);

TypeId TypeOf(const WindowTemplate& t, std::uint32_t index);
UnitId EventSourceOf(const WindowTemplate& t, std::uint32_t index);
std::int32_t GeometryOf(const WindowTemplate& t, std::uint32_t index, Geometry which);
void SetGeometry(WindowTemplate& t, std::uint32_t index, Geometry which, std::int32_t value);
std::uint32_t FlagsOf(const WindowTemplate& t, std::uint32_t index);
void SetFlags(WindowTemplate& t, std::uint32_t index, std::uint32_t flags);
std::uint32_t TabOrderOf(const WindowTemplate& t, std::uint32_t index);
UnitId ParentOf(const WindowTemplate& t, std::uint32_t index);
std::vector<UnitId> ChildrenOf(const WindowTemplate& t, std::uint32_t index);
std::string TagOf(const WindowTemplate& t, std::uint32_t index);
void SetTag(WindowTemplate& t, std::uint32_t index, const std::string& tag);
std::vector<std::uint8_t> CursorSpecOf(const WindowTemplate& t, std::uint32_t index);
void SetCursorSpec(WindowTemplate& t, std::uint32_t index, const std::vector<std::uint8_t>& pointerData);
std::uint32_t ObjectSlotOf(const WindowTemplate& t, std::uint32_t index);
void SetObjectSlot(WindowTemplate& t, std::uint32_t index, std::uint32_t value);
std::uint32_t CursorSlotOf(const WindowTemplate& t, std::uint32_t index);
void SetCursorSlot(WindowTemplate& t, std::uint32_t index, std::uint32_t value);
// The relocated handler address bound to an event (0 = no handler), or
// nothing when the unit lists no such event.
std::optional<std::uint32_t> HandlerOf(const WindowTemplate& t, std::uint32_t index, std::int32_t event);
// The unit's property blob.
std::vector<std::uint8_t> PropertyBlobOf(const WindowTemplate& t, std::uint32_t index);

// Working and pristine copies of the unit buffer.
void TakePristineCopy(WindowTemplate& t);
void RestorePristineCopy(WindowTemplate& t);

// The unit type behind a TypeId: its flags and operations, or nothing.
struct ResolvedType {
  std::uint32_t flags;
  const UnitTypeOperations* operations;
};
std::optional<ResolvedType> ResolveUnitType(TypeId type);

}  // namespace units
