#include "form/units/window_style.h"

#include "form/description/window_properties.h"

using namespace window_style;

std::uint32_t FrameBits(const WindowProperties& p) {
  std::uint32_t bits = 0;
  if (p.borderStyle != 0) {
    if (!p.caption.empty() || p.controlBox) {
      bits |= kCaption;
      if (p.controlBox) bits |= kSysMenu;
    }
    bits |= kDlgFrame;
  }
  if (p.maxButton) bits |= kMaximizeBox;
  if (p.minButton) bits |= kMinimizeBox;
  return bits;
}

WindowFrame ComputeWindowFrame(const WindowProperties& p, std::uint32_t baseStyle, int x, int y, int width,
                               int height, bool hasParent, int screenWidth, int screenHeight) {
  WindowFrame frame;
  frame.style = baseStyle | kClipChildren | FrameBits(p);
  switch (p.borderStyle) {
    case 1: frame.style |= kThickFrame; break;
    case 3: frame.style |= kThickFrame; frame.exStyle |= kExToolWindow; break;
    case 4: frame.exStyle |= kExToolWindow; break;
    case 5: frame.style |= kThickFrame; frame.exStyle |= kExClientEdge; break;
    case 6: frame.exStyle |= kExClientEdge; break;
    default: break;
  }
  frame.x = x;
  frame.y = y;
  switch (p.startPosition) {
    case 1:
      // C++ division truncates toward zero, as centring wants.
      frame.x = (screenWidth - width) / 2;
      frame.y = (screenHeight - height) / 2;
      break;
    case 2: frame.style |= kMinimize; break;
    case 3:
      if (frame.style & kThickFrame) frame.style |= kMaximize;
      break;
    default: break;
  }
  if (hasParent) frame.style = (frame.style & ~kChild) | kPopup;
  return frame;
}
