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

// The window type's 32 properties by index.
inline constexpr auto kWindowPropertyTable = WithCommonProperties(std::array<PropertyInfo, 24>{{
    {"caption", PropertyValueType::Text},
    {"borderStyle", PropertyValueType::Pick},
    {"backColor", PropertyValueType::Colour},
    {"backPicture", PropertyValueType::Bytes},
    {"pictureMode", PropertyValueType::Pick},
    {"backMusic", PropertyValueType::Bytes},
    {"musicPlayCount", PropertyValueType::Pick},
    {"controlBox", PropertyValueType::Logical},
    {"maxButton", PropertyValueType::Logical},
    {"minButton", PropertyValueType::Logical},
    {"startPosition", PropertyValueType::Pick},
    {"movable", PropertyValueType::Logical},
    {"icon", PropertyValueType::Bytes},
    {"enterMovesFocus", PropertyValueType::Logical},
    {"escCloses", PropertyValueType::Logical},
    {"f1OpensHelp", PropertyValueType::Logical},
    {"helpFile", PropertyValueType::Text},
    {"helpContext", PropertyValueType::Integer},
    {"showInTaskbar", PropertyValueType::Logical},
    {"dragAnywhere", PropertyValueType::Logical},
    {"windowShape", PropertyValueType::Pick},
    {"alwaysOnTop", PropertyValueType::Logical},
    {"keepTitleActive", PropertyValueType::Logical},
    {"windowClassName", PropertyValueType::Text},
}});
