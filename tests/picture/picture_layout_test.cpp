#include "picture/picture_layout.h"

#include <gtest/gtest.h>

#include <ostream>

std::ostream& operator<<(std::ostream& out, const PictureRect& r) {
  return out << "(" << r.x << ", " << r.y << ") " << r.width << " x " << r.height;
}

namespace {

TEST(PictureFitTest, ShrinksToFitKeepingProportionsNeverEnlarges) {
  const struct {
    std::int32_t w, h, clientWidth, clientHeight;
    PictureRect drawn;
  } cases[] = {
      // 788 / 1279 × 1279 falls just below 788 in double precision.
      {1279, 719, 788, 444, {0, 1, 787, 442}},
      {1279, 719, 1279, 719, {0, 0, 1279, 719}},
      {1279, 719, 1280, 720, {0, 0, 1279, 719}},
      {200, 100, 300, 200, {50, 50, 200, 100}},  // smaller: own size, centred
      {201, 101, 300, 200, {49, 49, 201, 101}},  // halves truncate
      {400, 100, 300, 200, {0, 62, 300, 75}},    // wider only: the width's factor alone
      {100, 400, 300, 200, {125, 0, 50, 200}},   // taller only
      {600, 300, 300, 200, {0, 25, 300, 150}},   // both, the width binds
      {300, 600, 300, 200, {100, 0, 100, 200}},  // both, the height binds
      {1279, 719, 0, 0, {0, 0, 0, 0}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FitPicture(c.w, c.h, c.clientWidth, c.clientHeight), c.drawn)
        << c.w << " x " << c.h << " in " << c.clientWidth << " x " << c.clientHeight;
}

TEST(PicturePlanTest, EachModeDrawsAndLeavesForTheColourWhatItShould) {
  const ClipBox whole{0, 0, 300, 200};
  const struct {
    const char* name;
    std::uint32_t mode;
    std::int32_t w, h;
    ClipBox clip;
    PicturePaintPlan plan;
  } cases[] = {
      {"top-left", 0, 100, 60, whole, {{0, 0, 100, 60}, 1, 1, BackgroundFill::kOutsidePicture}},
      {"top-left, larger than the client",
       0,
       500,
       400,
       whole,
       {{0, 0, 500, 400}, 1, 1, BackgroundFill::kOutsidePicture}},
      {"tiled", 1, 100, 60, whole, {{0, 0, 100, 60}, 3, 4, BackgroundFill::kNone}},
      {"tiled, partial tiles count", 1, 120, 70, whole, {{0, 0, 120, 70}, 3, 3, BackgroundFill::kNone}},
      {"tiled, only tiles meeting the clip box",
       1,
       100,
       60,
       {150, 100, 210, 130},
       {{100, 60, 100, 60}, 2, 2, BackgroundFill::kNone}},
      {"tiled, a clip box on a tile's edge",
       1,
       100,
       60,
       {200, 120, 300, 180},
       {{200, 120, 100, 60}, 1, 1, BackgroundFill::kNone}},
      {"tiled, a clip box outside the client",
       1,
       100,
       60,
       {400, 300, 500, 400},
       {{0, 0, 100, 60}, 0, 0, BackgroundFill::kNone}},
      {"fitted", 2, 1279, 719, {0, 0, 788, 444}, {{0, 1, 787, 442}, 1, 1, BackgroundFill::kOutsidePicture}},
      {"stretched", 3, 100, 60, whole, {{0, 0, 300, 200}, 1, 1, BackgroundFill::kNone}},
      {"unknown mode", 4, 100, 60, whole, {{}, 0, 0, BackgroundFill::kWholeClip}},
      {"unknown mode, high", 0xFFFFFFFF, 100, 60, whole, {{}, 0, 0, BackgroundFill::kWholeClip}},
      // A picture without area would tile for ever.
      {"tiled, width 0", 1, 0, 60, whole, {{}, 0, 0, BackgroundFill::kWholeClip}},
      {"tiled, negative height", 1, 100, -60, whole, {{}, 0, 0, BackgroundFill::kWholeClip}},
      {"fitted, width 0", 2, 0, 60, whole, {{}, 0, 0, BackgroundFill::kWholeClip}},
  };
  for (const auto& c : cases) {
    const std::int32_t clientWidth = c.mode == 2 ? 788 : 300;
    const std::int32_t clientHeight = c.mode == 2 ? 444 : 200;
    const PicturePaintPlan plan = PlanPicturePaint(c.mode, c.w, c.h, clientWidth, clientHeight, c.clip);
    EXPECT_EQ(plan.first, c.plan.first) << c.name;
    EXPECT_EQ(plan.columns, c.plan.columns) << c.name;
    EXPECT_EQ(plan.rows, c.plan.rows) << c.name;
    EXPECT_EQ(plan.fill, c.plan.fill) << c.name;
  }
}

TEST(PicturePlanTest, OnePixelTilesOverALargeClientStayCountable) {
  const PicturePaintPlan plan = PlanPicturePaint(1, 1, 1, 4000, 3000, ClipBox{10, 20, 15, 22});
  EXPECT_EQ(plan.first, (PictureRect{10, 20, 1, 1}));
  EXPECT_EQ(plan.columns, 5);
  EXPECT_EQ(plan.rows, 2);
}

}  // namespace
