// A unit type's own property as the engine hands it out, read through the
// type's field descriptions: numbers, logicals and choices in low, texts and
// bytes by value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "form/description/property_fields.h"
#include "form/engine/unit_object.h"

namespace property_field_value {

inline void Store(PropertyValue& v, std::uint32_t value) { v.low = static_cast<std::int32_t>(value); }
inline void Store(PropertyValue& v, std::int32_t value) { v.low = value; }
inline void Store(PropertyValue& v, bool value) { v.low = value ? 1 : 0; }
inline void Store(PropertyValue& v, const std::string& value) { v.text = value; }
inline void Store(PropertyValue& v, const std::vector<std::uint8_t>& value) { v.bytes = value; }

}  // namespace property_field_value

// The value of the property with this own index; an empty value for an
// index the type does not have.
template <typename Properties, std::size_t N>
PropertyValue ReadPropertyField(const std::array<PropertyField<Properties>, N>& fields, const Properties& properties,
                                int ownIndex) {
  PropertyValue v;
  for (const PropertyField<Properties>& field : fields)
    if (field.ownIndex == ownIndex)
      std::visit([&](auto member) { property_field_value::Store(v, properties.*member); }, field.member);
  return v;
}
