#include "button_skin/visual_style_paint.h"

#include <initializer_list>
#include <iterator>

#include "button_skin/caption_layout.h"
#include "host/handle_owners.h"
#include "host/system_library.h"

namespace {

// An object selected into a device context until the owner goes, when the
// one it replaced is put back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  bool held() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

TRIVERTEX Vertex(LONG x, LONG y, std::uint32_t colour) {
  // Each colour byte goes into the high byte of its 16-bit vertex channel.
  auto channel = [colour](int shift) { return static_cast<COLOR16>(((colour >> shift) & 0xFF) << 8); };
  return TRIVERTEX{x, y, channel(0), channel(8), channel(16), channel(24)};
}

// msimg32 is not among the KnownDLLs, so it is not imported (a planted copy
// beside the program would be loaded in its place) but taken from the system
// directory. Without it no gradient is drawn, and the paint fails.
bool Gradient(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount, ULONG mode) {
  static const auto gradientFill = SystemFunction<decltype(GradientFill)>(L"msimg32.dll", "GradientFill");
  return gradientFill != nullptr && gradientFill(dc, vertices, vertexCount, mesh, meshCount, mode) != FALSE;
}

bool FrameWith(HDC dc, const RECT& rect, std::uint32_t colour) {
  const OwnedBrush brush(CreateSolidBrush(colour));
  return brush && FrameRect(dc, &rect, brush.get()) != 0;
}

bool FillWith(HDC dc, const RECT& rect, std::uint32_t colour) {
  const OwnedBrush brush(CreateSolidBrush(colour));
  return brush && FillRect(dc, &rect, brush.get()) != 0;
}

CaptionSize MeasureOnDc(void* dc, std::wstring_view characters) {
  SIZE size{};
  GetTextExtentPoint32W(static_cast<HDC>(dc), characters.data(), static_cast<int>(characters.size()), &size);
  return {size.cx, size.cy};
}

void SetPixels(HDC dc, std::initializer_list<POINT> points, std::uint32_t colour) {
  for (const POINT& p : points) SetPixel(dc, p.x, p.y, colour);
}

// The one-pixel cut corners of the frame, with w and h the client size.
void DrawCorners(HDC dc, int w, int h, const PushButtonLook& look, std::uint32_t buttonFace) {
  SetPixels(dc, {{1, 1}, {1, h - 2}, {w - 2, h - 2}, {w - 2, 1}}, buttonFace);
  SetPixels(dc, {{2, 2}, {2, h - 3}, {w - 3, h - 3}, {w - 3, 2}}, look.innerCorner);
  SetPixels(dc,
            {{1, 2}, {2, 1}, {w - 3, 1}, {w - 2, 2}, {w - 3, h - 2}, {w - 2, h - 3}, {2, h - 2}, {1, h - 3}},
            look.cornerSides);
}

void DrawControlCaption(HWND control, HDC dc, RECT area, const PushButtonLook& look) {
  // The platform's window text, cut to the first 255 units. Read wide: the
  // captions of a message box's buttons are in the player's language.
  wchar_t caption[256] = {};
  const int length = GetWindowTextW(control, caption, static_cast<int>(std::size(caption)));
  if (length <= 0) return;
  OffsetRect(&area, look.captionShift, look.captionShift);
  SetTextColor(dc, look.captionColour);
  const Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  DrawCaption(dc, std::wstring_view(caption, static_cast<std::size_t>(length)), area,
              AlignmentCode(static_cast<std::uint32_t>(GetWindowLongW(control, GWL_STYLE))));
}

}  // namespace

bool FillQuadGradient(HDC dc, const RECT& rect, const QuadColours& corners) {
  const auto [topLeft, topRight, bottomLeft, bottomRight] = corners;
  if (topLeft == topRight && bottomLeft == bottomRight) {
    TRIVERTEX vertices[] = {Vertex(rect.left, rect.top, topLeft), Vertex(rect.right, rect.bottom, bottomLeft)};
    GRADIENT_RECT span{0, 1};
    return Gradient(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_V);
  }
  TRIVERTEX vertices[] = {Vertex(rect.left, rect.top, topLeft), Vertex(rect.right, rect.top, topRight),
                          Vertex(rect.left, rect.bottom, bottomLeft), Vertex(rect.right, rect.bottom, bottomRight)};
  GRADIENT_TRIANGLE triangles[] = {{0, 1, 2}, {3, 1, 2}};
  return Gradient(dc, vertices, 4, triangles, 2, GRADIENT_FILL_TRIANGLE);
}

void DrawCaption(HDC dc, std::wstring_view text, const RECT& area, int alignmentCode) {
  const CaptionLayout layout = LayoutCaption(text, area.right - area.left, area.bottom - area.top, alignmentCode,
                                             CaptionMeasure{&MeasureOnDc, dc});
  for (const CaptionLine& line : layout.lines) {
    RECT lineRect{area.left + line.x, area.top + line.y, area.left + line.x + line.width,
                  area.top + line.y + layout.lineHeight};
    DrawTextW(dc, text.data() + line.start, static_cast<int>(line.length), &lineRect, 0);
  }
}

bool PaintPushButton(HWND control, std::uint32_t state, HBRUSH background, const PushButtonPalette& palette) {
  RECT window{};
  RECT r{};
  if (!GetWindowRect(control, &window) || !GetClientRect(control, &r)) return false;
  const int windowWidth = window.right - window.left;
  const int windowHeight = window.bottom - window.top;
  const ControlDc target(control, ControlDc::Area::Window);
  if (target.get() == nullptr) return false;
  const OwnedMemoryDc memory(CreateCompatibleDC(target.get()));
  if (!memory) return false;
  const OwnedBitmap bitmap(CreateCompatibleBitmap(target.get(), windowWidth, windowHeight));
  if (!bitmap) return false;
  const Selection drawingOnBitmap(memory.get(), bitmap.get());
  if (!drawingOnBitmap.held()) return false;
  const HDC dc = memory.get();
  SetBkMode(dc, TRANSPARENT);

  const std::uint32_t buttonFace = GetSysColor(COLOR_BTNFACE);
  const PushButtonLook look = PushButtonLookOf(state, palette, buttonFace);
  const int w = r.right;
  const int h = r.bottom;
  bool drawn = true;
  if (background != nullptr) drawn &= FillRect(dc, &r, background) != 0;
  drawn &= FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE)) != 0;
  InflateRect(&r, -1, -1);
  drawn &= FrameWith(dc, r, look.frame);
  InflateRect(&r, -1, -1);
  drawn &= look.edge ? FillQuadGradient(dc, r, *look.edge) : FillWith(dc, r, kDisabledFill);
  InflateRect(&r, -2, -2);
  if (look.face) drawn &= FillQuadGradient(dc, r, *look.face);
  DrawCorners(dc, w, h, look, buttonFace);
  if (look.focusRectangle) {
    RECT focus = r;
    InflateRect(&focus, 1, 1);
    drawn &= DrawFocusRect(dc, &focus) != FALSE;
  }
  DrawControlCaption(control, dc, r, look);
  drawn &= BitBlt(target.get(), 0, 0, windowWidth, windowHeight, dc, 0, 0, SRCCOPY) != FALSE;
  return drawn;
}
