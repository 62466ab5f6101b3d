// The Button type's own properties and their blob in the form description
// (version 1).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

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

// The Button type's 14 properties by index.
inline constexpr auto kButtonPropertyTable = WithCommonProperties(std::array<PropertyInfo, 6>{{
    {"picture", PropertyValueType::Bytes},
    {"buttonKind", PropertyValueType::Pick},
    {"caption", PropertyValueType::Text},
    {"hAlign", PropertyValueType::Pick},
    {"vAlign", PropertyValueType::Pick},
    {"font", PropertyValueType::Font},
}});
