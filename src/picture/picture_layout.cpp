#include "picture/picture_layout.h"

#include <algorithm>

namespace {

// The first and one past the last tile index along one axis whose tile meets
// [clipFrom, clipTo) inside [0, extent).
struct TileSpan {
  std::int32_t first;
  std::int32_t end;
};

TileSpan TilesAlong(std::int32_t step, std::int32_t extent, std::int32_t clipFrom, std::int32_t clipTo) {
  const std::int64_t from = std::max<std::int64_t>(clipFrom, 0);
  const std::int64_t to = std::min<std::int64_t>(clipTo, extent);
  if (from >= to) return {0, 0};
  return {static_cast<std::int32_t>(from / step), static_cast<std::int32_t>((to + step - 1) / step)};
}

}  // namespace

PictureRect FitPicture(std::int32_t width, std::int32_t height, std::int32_t clientWidth, std::int32_t clientHeight) {
  const bool fitsAcross = width <= clientWidth;
  const bool fitsDown = height <= clientHeight;
  const std::int32_t x0 = fitsAcross ? (clientWidth - width) / 2 : 0;
  const std::int32_t y0 = fitsDown ? (clientHeight - height) / 2 : 0;
  if (fitsAcross && fitsDown) return {x0, y0, width, height};
  const std::int32_t boxWidth = fitsAcross ? width : clientWidth;
  const std::int32_t boxHeight = fitsDown ? height : clientHeight;
  // In double precision and truncated: 788 / 1279 × 1279 comes out just
  // below 788, so a 1279-pixel picture in 788 pixels is drawn 787 wide.
  const double scaleX = static_cast<double>(boxWidth) / width;
  const double scaleY = static_cast<double>(boxHeight) / height;
  const double scale = scaleX < scaleY ? scaleX : scaleY;
  const auto drawnWidth = static_cast<std::int32_t>(width * scale);
  const auto drawnHeight = static_cast<std::int32_t>(height * scale);
  return {x0 + (boxWidth - drawnWidth) / 2, y0 + (boxHeight - drawnHeight) / 2, drawnWidth, drawnHeight};
}

PicturePaintPlan PlanPicturePaint(std::uint32_t mode, std::int32_t width, std::int32_t height, std::int32_t clientWidth,
                                  std::int32_t clientHeight, const ClipBox& clip) {
  // A picture with no area would tile for ever and has nothing to draw.
  if (width <= 0 || height <= 0) return {};
  clientWidth = std::max(clientWidth, 0);
  clientHeight = std::max(clientHeight, 0);
  switch (static_cast<PictureMode>(mode)) {
    case PictureMode::kTopLeft:
      return {{0, 0, width, height}, 1, 1, BackgroundFill::kOutsidePicture};
    case PictureMode::kTiled: {
      const TileSpan across = TilesAlong(width, clientWidth, clip.left, clip.right);
      const TileSpan down = TilesAlong(height, clientHeight, clip.top, clip.bottom);
      const PictureRect first{across.first * width, down.first * height, width, height};
      return {first, across.end - across.first, down.end - down.first, BackgroundFill::kNone};
    }
    case PictureMode::kFitted:
      return {FitPicture(width, height, clientWidth, clientHeight), 1, 1, BackgroundFill::kOutsidePicture};
    case PictureMode::kStretched:
      return {{0, 0, clientWidth, clientHeight}, 1, 1, BackgroundFill::kNone};
  }
  return {};
}
