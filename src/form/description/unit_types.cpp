#include "form/description/unit_types.h"

const UnitTypeInfo* ResolveType(std::span<const UnitLibrary> libraries, TypeId type) {
  std::uint32_t topBits = type >> 30;
  if (topBits == 1 || topBits == 2) return nullptr;
  std::uint32_t library = type >> 16;
  std::uint32_t number = type & 0xFFFF;
  if (library == 0 || library > libraries.size()) return nullptr;
  std::span<const UnitTypeInfo* const> types = libraries[library - 1].types;
  if (number == 0 || number > types.size()) return nullptr;
  return types[number - 1];
}
