// The event indices of the unit types in this engine, by name: the engine
// raises them by these names and the form builder binds them by the names in
// kEventNames.
#pragma once

#include <cstdint>
#include <string_view>

namespace window_event {
inline constexpr std::int32_t kCreated = 0;
inline constexpr std::int32_t kCloseQuery = 1;
inline constexpr std::int32_t kDestroyed = 2;
inline constexpr std::int32_t kMoved = 3;
inline constexpr std::int32_t kResized = 4;
inline constexpr std::int32_t kActivated = 5;
inline constexpr std::int32_t kDeactivated = 6;
inline constexpr std::int32_t kIdle = 7;
inline constexpr std::int32_t kFirstActivation = 8;
// Raised for the notification-area icon, which this program does not show.
inline constexpr std::int32_t kNotifyIconClicked = 9;
inline constexpr std::int32_t kShown = 10;
inline constexpr std::int32_t kHidden = 11;
}  // namespace window_event

// Common to every window-based unit; the key and mouse ones come from the
// window's pre-translation of its units' input.
namespace unit_event {
inline constexpr std::int32_t kMouseDown = -1;
inline constexpr std::int32_t kMouseUp = -2;
inline constexpr std::int32_t kDoubleClick = -3;
inline constexpr std::int32_t kMouseMove = -4;
inline constexpr std::int32_t kKeyDown = -5;
inline constexpr std::int32_t kKeyUp = -6;
inline constexpr std::int32_t kGotFocus = -7;
inline constexpr std::int32_t kLostFocus = -8;
inline constexpr std::int32_t kCharacter = -9;
inline constexpr std::int32_t kWheel = -10;
}  // namespace unit_event

namespace button_event {
inline constexpr std::int32_t kClick = 0;
}  // namespace button_event

namespace zip_event {
inline constexpr std::int32_t kProgress = 1;
}  // namespace zip_event

struct EventName {
  std::string_view name;
  std::int32_t index;
};

// The names a form definition binds events by; a name means one index
// whatever the unit's type, so no two types share a name.
inline constexpr EventName kEventNames[] = {
    {"created", window_event::kCreated},
    {"closeQuery", window_event::kCloseQuery},
    {"destroyed", window_event::kDestroyed},
    {"moved", window_event::kMoved},
    {"resized", window_event::kResized},
    {"activated", window_event::kActivated},
    {"deactivated", window_event::kDeactivated},
    {"idle", window_event::kIdle},
    {"firstActivation", window_event::kFirstActivation},
    {"notifyIconClicked", window_event::kNotifyIconClicked},
    {"shown", window_event::kShown},
    {"hidden", window_event::kHidden},
    {"mouseDown", unit_event::kMouseDown},
    {"mouseUp", unit_event::kMouseUp},
    {"doubleClick", unit_event::kDoubleClick},
    {"mouseMove", unit_event::kMouseMove},
    {"keyDown", unit_event::kKeyDown},
    {"keyUp", unit_event::kKeyUp},
    {"gotFocus", unit_event::kGotFocus},
    {"lostFocus", unit_event::kLostFocus},
    {"character", unit_event::kCharacter},
    {"wheel", unit_event::kWheel},
    {"click", button_event::kClick},
    {"progress", zip_event::kProgress},
};
