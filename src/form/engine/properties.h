// Reading and writing a unit's properties by (window, unit, index).
#pragma once

#include "form/engine/unit_object.h"

// Common property indices; the type's own properties follow from 8.
enum CommonProperty : int {
  kPropertyLeft = 0,
  kPropertyTop = 1,
  kPropertyWidth = 2,
  kPropertyHeight = 3,
  kPropertyTag = 4,
  kPropertyVisible = 5,
  kPropertyDisabled = 6,
  kPropertyMousePointer = 7,
  kFirstTypeProperty = 8,
};

// Positions and sizes stay within what the platform's 16-bit coordinates take.
constexpr std::int32_t kCoordinateLimit = 32627;

void WriteUnitProperty(UnitId window, UnitId unit, int index, int subIndex, const PropertyValue& value);
PropertyValue ReadUnitProperty(UnitId window, UnitId unit, int index, int subIndex);

// The installer's form of a write: a plain 8-byte datum.
inline void WriteUnitProperty(UnitId window, UnitId unit, int index, int subIndex, std::int32_t low,
                              std::int32_t high) {
  PropertyValue value;
  value.low = low;
  value.high = high;
  WriteUnitProperty(window, unit, index, subIndex, value);
}
