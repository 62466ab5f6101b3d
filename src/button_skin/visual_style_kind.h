// Which kind of control a window is, as the visual style sees it: by its
// class (compared without regard to case), its style, whether it has text
// and its parent's class.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>

// Every kind the style tells apart, numbered as its kinds are. Only the kinds
// that have a painter (visual_style.cpp) are taken over; the others are told
// apart all the same, so that a control of theirs is never mistaken for a
// push button, and stay the platform's to draw.
enum class ControlKind {
  PushButton = 0,
  CheckBox = 1,
  RadioButton = 2,
  Edit = 3,
  ComboBox = 4,
  UpDown = 5,
  ScrollBar = 6,
  MonthCalendar = 7,
  TabControl = 8,
  Progress = 9,
  Trackbar = 10,
  GroupBox = 11,
  ComboList = 12,
};

struct ControlFacts {
  std::string className;
  std::uint32_t style = 0;
  bool hasText = false;
  std::string parentClassName;
};

// The kind, or nothing for a control that is no kind the style knows.
std::optional<ControlKind> ControlKindOf(const ControlFacts& control);

ControlFacts ControlFactsOf(HWND window);
