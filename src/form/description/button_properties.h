// The Button type's own properties and their blob in the form description
// (version 1).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "form/description/property_fields.h"
#include "form/description/unit_types.h"

constexpr std::uint32_t kButtonPropertiesVersion = 1;
constexpr std::uint32_t kButtonTypeFlags = 0x80000840;

// In blob order.
struct ButtonProperties {
  std::uint32_t buttonKind = 0;  // 0 normal, 1 default push button
  std::uint32_t hAlign = 1;      // 0 left, 1 centre, 2 right
  std::uint32_t vAlign = 1;      // 0 top, 1 centre, 2 bottom
  std::vector<std::uint8_t> picture;
  std::vector<std::uint8_t> font;  // empty, or a 60-byte LOGFONTA
  std::string caption = "\xB0\xB4\xC5\xA5";  // 按钮, in GBK

  bool operator==(const ButtonProperties&) const = default;
};

// The defaults for an empty blob; nothing for a version above 1 or a blob
// that ends inside a field.
std::optional<ButtonProperties> ReadButtonProperties(std::span<const std::uint8_t> blob);

// A version-1 blob that reads back as the same properties.
std::vector<std::uint8_t> SerialiseButtonProperties(const ButtonProperties& properties);

// In blob order, each with its own index (property index - 8).
inline constexpr std::array<PropertyField<ButtonProperties>, 6> kButtonPropertyFields{{
    {"buttonKind", PropertyValueType::Pick, 1, 0, &ButtonProperties::buttonKind},
    {"hAlign", PropertyValueType::Pick, 3, 0, &ButtonProperties::hAlign},
    {"vAlign", PropertyValueType::Pick, 4, 0, &ButtonProperties::vAlign},
    {"picture", PropertyValueType::Bytes, 0, 0, &ButtonProperties::picture},
    {"font", PropertyValueType::Font, 5, 0, &ButtonProperties::font},
    {"caption", PropertyValueType::Text, 2, 0, &ButtonProperties::caption},
}};

// The Button type's 14 properties by index.
inline constexpr auto kButtonPropertyTable = PropertyTableOf(kButtonPropertyFields);
