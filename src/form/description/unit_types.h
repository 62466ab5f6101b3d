// The numbering of unit types: a TypeId is (library number << 16) | type
// number, both counted from 1 in the order in which the program lists its
// libraries and each library its types. The program's table is declared by
// the engine, which alone knows the types' operations; this part only finds
// an entry, so it stays free of the platform.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "form/description/unit_record.h"

// A type's operations, defined by the engine.
struct UnitTypeOperations;

// TypeFlags bits that the engine tests.
namespace type_flags {
constexpr std::uint32_t kRaisesEvents = 0x00000004;
// Window-based: has the common properties and may raise events too.
constexpr std::uint32_t kWindowBased = 0x00000040;
// Its children are pages, 0 between them in its child list: the loader shows
// the first page alone. No type of this program is one.
constexpr std::uint32_t kTabContainer = 0x00000100;
constexpr std::uint32_t kPushButton = 0x00000800;
constexpr std::uint32_t kHiddenAtRunTime = 0x00008000;
}  // namespace type_flags

enum class PropertyValueType {
  Integer,
  Logical,
  Pick,    // a small choice; negative counts as 0
  Text,
  Bytes,   // picture, icon, sound or CursorSpec bytes
  Colour,
  Font,
};

struct PropertyInfo {
  const char* name;
  PropertyValueType type;
};

// Properties 0-7, which every window-based unit keeps in its record.
inline constexpr std::array<PropertyInfo, 8> kCommonProperties{{
    {"left", PropertyValueType::Integer},
    {"top", PropertyValueType::Integer},
    {"width", PropertyValueType::Integer},
    {"height", PropertyValueType::Integer},
    {"tag", PropertyValueType::Text},
    {"visible", PropertyValueType::Logical},
    {"disabled", PropertyValueType::Logical},
    {"mousePointer", PropertyValueType::Bytes},
}};

// A type's whole property table: the common properties, then its own from 8.
template <std::size_t N>
constexpr std::array<PropertyInfo, 8 + N> WithCommonProperties(const std::array<PropertyInfo, N>& own) {
  std::array<PropertyInfo, 8 + N> all{};
  for (std::size_t i = 0; i < 8; ++i) all[i] = kCommonProperties[i];
  for (std::size_t i = 0; i < N; ++i) all[8 + i] = own[i];
  return all;
}

struct UnitTypeInfo {
  const char* name;         // in GBK
  std::uint32_t flags;      // TypeFlags
  std::span<const PropertyInfo> properties;
  const UnitTypeOperations* operations;
};

// A library's types by number; a number the program does not carry is a
// null entry.
struct UnitLibrary {
  std::span<const UnitTypeInfo* const> types;
};

// The type a TypeId names, or nullptr: numbers outside 1..count, a missing
// entry, and ids whose top two bits are 01 or 10 (not unit types) name none.
const UnitTypeInfo* ResolveType(std::span<const UnitLibrary> libraries, TypeId type);
