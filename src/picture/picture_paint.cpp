#include "picture/picture_paint.h"

#include "picture/picture_layout.h"

namespace {

constexpr std::uint32_t kButtonFaceColour = 0xFF000000u;

}  // namespace

COLORREF ResolveColour(std::uint32_t colour) {
  return colour == kButtonFaceColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour);
}

void PaintBackground(HDC dc, const RECT& clip, int clientWidth, int clientHeight, const DecodedPicture* picture,
                     std::uint32_t pictureMode, std::uint32_t backColor) {
  OwnedRegion uncovered(CreateRectRgnIndirect(&clip));
  if (picture != nullptr) {
    if (std::optional<PreparedPicture> prepared = PreparePicture(dc, *picture)) {
      const PicturePaintPlan plan =
          PlanPicturePaint(pictureMode, prepared->width, prepared->height, clientWidth, clientHeight,
                           ClipBox{clip.left, clip.top, clip.right, clip.bottom});
      for (std::int32_t row = 0; row < plan.rows; ++row)
        for (std::int32_t column = 0; column < plan.columns; ++column)
          DrawPicture(*prepared, plan.first.x + column * plan.first.width, plan.first.y + row * plan.first.height,
                      plan.first.width, plan.first.height, SRCCOPY);
      if (plan.fill == BackgroundFill::kNone) {
        uncovered.reset();
      } else if (plan.fill == BackgroundFill::kOutsidePicture && uncovered) {
        OwnedRegion drawn(CreateRectRgn(plan.first.x, plan.first.y, plan.first.x + plan.first.width,
                                        plan.first.y + plan.first.height));
        if (drawn) CombineRgn(uncovered.get(), uncovered.get(), drawn.get(), RGN_DIFF);
      }
      ReleasePreparedPicture(*prepared);
    }
  }
  if (!uncovered) return;
  OwnedBrush brush(CreateSolidBrush(ResolveColour(backColor)));
  if (brush) FillRgn(dc, uncovered.get(), brush.get());
}

void PaintWindowBackground(HWND window, HDC dc, const std::vector<std::uint8_t>& pictureBytes,
                           std::optional<DecodedPicture>& decoded, std::uint32_t pictureMode, std::uint32_t backColor) {
  RECT clip;
  const int clipShape = dc != nullptr ? GetClipBox(dc, &clip) : ERROR;
  if (clipShape == NULLREGION || clipShape == ERROR || IsRectEmpty(&clip)) return;
  if (!decoded && !pictureBytes.empty()) decoded = DecodePicture(pictureBytes.data(), pictureBytes.size());
  RECT client;
  GetClientRect(window, &client);
  PaintBackground(dc, clip, client.right, client.bottom, decoded ? &*decoded : nullptr, pictureMode, backColor);
}
