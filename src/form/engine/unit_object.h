// What the engine knows of a live unit and how it reaches the unit's type:
// every type is a table of operations, the engine never switches on a type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "form/description/unit_record.h"

// A property value: integers, logicals, choices and colours in low (high is
// the datum's second dword); texts and byte data by value.
struct PropertyValue {
  std::int32_t low = 0;
  std::int32_t high = 0;
  std::string text;
  std::vector<std::uint8_t> bytes;
};

struct UnitTypeOperations;

// The engine's part of every live unit; a type's own object derives from it
// and holds what the unit makes (fonts, pictures, icons). The engine owns each
// live unit from its creation to its native window's last message.
struct UnitObject {
  virtual ~UnitObject() = default;
  const UnitTypeOperations* operations = nullptr;
  UnitId window = 0;
  UnitId unit = 0;
  HWND hwnd = nullptr;
};

// What the loader hands a type's create operation.
struct UnitCreateArgs {
  const std::uint8_t* blob = nullptr;
  std::uint32_t blobLength = 0;
  DWORD style = 0;
  HWND parent = nullptr;
  UINT controlId = 0;
  HMENU menu = nullptr;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  UnitId window = 0;
  UnitId unit = 0;
};

// A unit type's operations. Only create is required; a missing operation
// means the type does not take part in that request.
struct UnitTypeOperations {
  // The live unit, attached to its native window, or nothing when it cannot
  // be made.
  std::unique_ptr<UnitObject> (*create)(const UnitCreateArgs& args) = nullptr;
  // A type-specific property (own index = property index - 8) is written;
  // the type applies it to its live window in place. The sub-index selects a
  // part of a compound value (a font's parts), else -1.
  void (*propertyChanged)(UnitObject& unit, int ownIndex, int subIndex, const PropertyValue& value) = nullptr;
  // The unit's properties as a property blob.
  std::vector<std::uint8_t> (*serialise)(const UnitObject& unit) = nullptr;
  // The value of a type-specific property.
  PropertyValue (*readProperty)(const UnitObject& unit, int ownIndex, int subIndex) = nullptr;
  // Whether the unit is a push button drawn as the default one.
  bool (*isDefaultButton)(const UnitObject& unit) = nullptr;
  // Offered each message aimed at the unit's window or its descendants
  // before dispatch; true consumes it.
  bool (*preTranslate)(UnitObject& unit, MSG& msg) = nullptr;
  // A notification or colour request that the parent window hands back to
  // the control that caused it; handled false leaves it to the parent.
  LRESULT (*reflect)(UnitObject& unit, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = nullptr;
};

// The live unit of a native window, or nullptr.
UnitObject* UnitOfWindow(HWND hwnd);
void AttachUnitToWindow(UnitObject& unit, HWND hwnd);
void DetachUnitFromWindow(HWND hwnd);
