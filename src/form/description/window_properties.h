// The window type's own properties and their blob in the form description
// (version 6). The blob's layout grew over versions: fields the writer's
// version did not have are absent and keep their defaults.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "form/description/property_fields.h"
#include "form/description/unit_types.h"

constexpr std::uint32_t kWindowPropertiesVersion = 6;
constexpr std::uint32_t kWindowTypeFlags = 0x800000D0;
// backColor standing for the system button-face colour, looked up at each use.
constexpr std::uint32_t kSystemButtonFace = 0xFF000000;

// In blob order; texts in GBK, pictures, icon and music as their files'
// bytes.
struct WindowProperties {
  std::uint32_t borderStyle = 2;    // 0-6
  std::uint32_t pictureMode = 1;    // 0-3
  std::uint32_t backColor = kSystemButtonFace;
  bool maxButton = false;
  bool minButton = false;
  bool controlBox = true;
  std::uint32_t startPosition = 1;  // 0 as stored, 1 centred, 2 minimized, 3 maximized
  bool movable = true;
  std::uint32_t musicPlayCount = 0; // 0 repeat, 1 once, 2 never
  bool enterMovesFocus = false;
  bool escCloses = true;
  bool f1OpensHelp = false;
  std::int32_t helpContext = 0;
  bool showInTaskbar = true;        // version 2 on
  bool dragAnywhere = false;        // version 3 on
  std::uint32_t windowShape = 0;    // version 3 on, 0-29
  bool alwaysOnTop = false;         // version 4 on
  bool keepTitleActive = false;     // version 5 on
  std::string windowClassName;      // version 6; empty: the engine's own class
  std::vector<std::uint8_t> backPicture;
  std::vector<std::uint8_t> icon;
  std::vector<std::uint8_t> backMusic;
  std::string caption;
  std::string helpFile;

  bool operator==(const WindowProperties&) const = default;
};

// The defaults for an empty blob; nothing for a version above 6 or a blob
// that ends inside a field.
std::optional<WindowProperties> ReadWindowProperties(std::span<const std::uint8_t> blob);

// A version-6 blob that reads back as the same properties.
std::vector<std::uint8_t> SerialiseWindowProperties(const WindowProperties& properties);

// In blob order, each with its own index (property index - 8).
inline constexpr std::array<PropertyField<WindowProperties>, 24> kWindowPropertyFields{{
    {"borderStyle", PropertyValueType::Pick, 1, 0, &WindowProperties::borderStyle},
    {"pictureMode", PropertyValueType::Pick, 4, 0, &WindowProperties::pictureMode},
    {"backColor", PropertyValueType::Colour, 2, 0, &WindowProperties::backColor},
    {"maxButton", PropertyValueType::Logical, 8, 0, &WindowProperties::maxButton},
    {"minButton", PropertyValueType::Logical, 9, 0, &WindowProperties::minButton},
    {"controlBox", PropertyValueType::Logical, 7, 0, &WindowProperties::controlBox},
    {"startPosition", PropertyValueType::Pick, 10, 0, &WindowProperties::startPosition},
    {"movable", PropertyValueType::Logical, 11, 0, &WindowProperties::movable},
    {"musicPlayCount", PropertyValueType::Pick, 6, 0, &WindowProperties::musicPlayCount},
    {"enterMovesFocus", PropertyValueType::Logical, 13, 0, &WindowProperties::enterMovesFocus},
    {"escCloses", PropertyValueType::Logical, 14, 0, &WindowProperties::escCloses},
    {"f1OpensHelp", PropertyValueType::Logical, 15, 0, &WindowProperties::f1OpensHelp},
    {"helpContext", PropertyValueType::Integer, 17, 0, &WindowProperties::helpContext},
    {"showInTaskbar", PropertyValueType::Logical, 18, 2, &WindowProperties::showInTaskbar},
    {"dragAnywhere", PropertyValueType::Logical, 19, 3, &WindowProperties::dragAnywhere},
    {"windowShape", PropertyValueType::Pick, 20, 3, &WindowProperties::windowShape},
    {"alwaysOnTop", PropertyValueType::Logical, 21, 4, &WindowProperties::alwaysOnTop},
    {"keepTitleActive", PropertyValueType::Logical, 22, 5, &WindowProperties::keepTitleActive},
    {"windowClassName", PropertyValueType::Text, 23, 6, &WindowProperties::windowClassName},
    {"backPicture", PropertyValueType::Bytes, 3, 0, &WindowProperties::backPicture},
    {"icon", PropertyValueType::Bytes, 12, 0, &WindowProperties::icon},
    {"backMusic", PropertyValueType::Bytes, 5, 0, &WindowProperties::backMusic},
    {"caption", PropertyValueType::Text, 0, 0, &WindowProperties::caption},
    {"helpFile", PropertyValueType::Text, 16, 0, &WindowProperties::helpFile},
}};

// The window type's 32 properties by index.
inline constexpr auto kWindowPropertyTable = PropertyTableOf(kWindowPropertyFields);
