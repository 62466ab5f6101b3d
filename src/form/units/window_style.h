// How a window unit's frame follows from its properties: window styles,
// extended styles and the start position. Pure arithmetic, so that it is
// tested natively.
#pragma once

#include <cstdint>

struct WindowProperties;

struct WindowFrame {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0;
  int y = 0;
};

namespace window_style {
constexpr std::uint32_t kPopup = 0x80000000;
constexpr std::uint32_t kChild = 0x40000000;
constexpr std::uint32_t kMinimize = 0x20000000;
constexpr std::uint32_t kClipChildren = 0x02000000;
constexpr std::uint32_t kMaximize = 0x01000000;
constexpr std::uint32_t kCaption = 0x00C00000;
constexpr std::uint32_t kDlgFrame = 0x00400000;
constexpr std::uint32_t kSysMenu = 0x00080000;
constexpr std::uint32_t kThickFrame = 0x00040000;
constexpr std::uint32_t kMinimizeBox = 0x00020000;
constexpr std::uint32_t kMaximizeBox = 0x00010000;
constexpr std::uint32_t kExToolWindow = 0x00000080;
constexpr std::uint32_t kExClientEdge = 0x00000200;
// The bits that the frame re-check compares.
constexpr std::uint32_t kFrameBits = 0x00CB0000;
}  // namespace window_style

// The caption, system menu, dialog frame and min/max box bits.
std::uint32_t FrameBits(const WindowProperties& p);

// The style, extended style and position of a new window unit: base style
// from the unit flags, requested position and outer size, whether it has a
// parent, and the screen size for centring.
WindowFrame ComputeWindowFrame(const WindowProperties& p, std::uint32_t baseStyle, int x, int y, int width,
                               int height, bool hasParent, int screenWidth, int screenHeight);
