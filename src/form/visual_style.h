// The program's own look for push buttons: every push button of the thread
// is subclassed and drawn with a framed gradient face whose colours follow its
// state (pushed, hot, focused, default, disabled).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>

// Schemes 1 to 3 take over every push button of the calling thread, now and
// as they are created, and return 1; any other value gives them back and
// returns whether the creation hook could be removed (0 when none was set).
int SetVisualStyle(int scheme);

// The kind of control a window is, by class, style and its parent's class;
// nothing for controls the style leaves alone.
constexpr int kPushButtonKind = 0;
std::optional<int> ClassifyControl(const std::string& className, std::uint32_t style, bool noText,
                                   const std::string& parentClassName);

// colour with amount taken from each of its channels, none below 0.
COLORREF DarkenedColour(COLORREF colour, std::uint8_t amount);

// What the style holds, for tests.
std::size_t SkinnedControlCount();
bool IsSkinned(HWND hwnd);
DWORD SkinnedStateOf(HWND hwnd);
