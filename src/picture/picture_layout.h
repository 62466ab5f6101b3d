// Where a background picture goes in a client area, by picture mode, and what
// is left for the background colour. Pure arithmetic, so that the painter
// only carries out a plan.
#pragma once

#include <cstdint>

enum class PictureMode : std::uint32_t {
  kTopLeft = 0,    // own size at (0, 0)
  kTiled = 1,      // own size, repeated over the client area
  kFitted = 2,     // centred, shrunk to fit with its proportions kept, never enlarged
  kStretched = 3,  // stretched over the whole client area
};

struct PictureRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const PictureRect&) const = default;
};

// A paint's clip box in client coordinates, right and bottom exclusive.
struct ClipBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The picture of width × height in a client area of clientWidth ×
// clientHeight, by the fitting rule of mode 2.
PictureRect FitPicture(std::int32_t width, std::int32_t height, std::int32_t clientWidth, std::int32_t clientHeight);

enum class BackgroundFill {
  kNone,            // the picture covers everything
  kOutsidePicture,  // the clip box less `first`
  kWholeClip,       // nothing is drawn
};

// The picture is drawn columns × rows times: at first, then stepped right by
// first.width and down by first.height.
struct PicturePaintPlan {
  PictureRect first;
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  BackgroundFill fill = BackgroundFill::kWholeClip;
};

// The plan for one paint. A picture without a positive width and height, or
// an unknown mode, draws nothing. Tiles that miss the clip box are left out.
PicturePaintPlan PlanPicturePaint(std::uint32_t mode, std::int32_t width, std::int32_t height, std::int32_t clientWidth,
                                  std::int32_t clientHeight, const ClipBox& clip);
