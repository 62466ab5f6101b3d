// What the style draws on a 100 × 30 push button in each state, read back
// from the control's own device context after it painted, against a table of
// expected pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "button_skin/visual_style.h"
#include "button_skin/visual_style_look.h"
#include "picture_canvas.h"
#include "visual_style_fixtures.h"

namespace {

using namespace control_state;
using namespace visual_style_fixtures;
using picture_fixtures::Rgb;

constexpr int kWidth = 100, kHeight = 30;
constexpr COLORREF kFrame = 0x00733C00;

struct Capture {
  explicit Capture(HWND button) : canvas(kWidth, kHeight) { canvas.CopyFrom(button); }
  Rgb At(int x, int y) const { return canvas.At(x, y); }
  PictureCanvas canvas;
};

// A vertical gradient's last row may stop one row's step short of its end
// colour.
int OneRowStep(COLORREF top, COLORREF bottom, int rows) {
  int widest = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int from = static_cast<int>((top >> shift) & 0xFF);
    const int to = static_cast<int>((bottom >> shift) & 0xFF);
    widest = std::max(widest, std::abs(from - to));
  }
  return (widest + rows - 1) / rows + 1;
}

struct Pixel {
  int x, y;
  COLORREF colour;
  int tolerance;
  std::string what;
};

// The frame one pixel inside the edge, the ring of button face around it and
// the three sets of corner pixels.
std::vector<Pixel> FramePixels(COLORREF frame, COLORREF innerCorner, COLORREF cornerSides) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const int w = kWidth, h = kHeight;
  return {
      {0, 15, face, 0, "ring"},
      {50, 0, face, 0, "ring"},
      {1, 15, frame, 0, "frame"},
      {50, 1, frame, 0, "frame"},
      {w - 2, 15, frame, 0, "frame"},
      {50, h - 2, frame, 0, "frame"},
      {1, 1, face, 0, "cut corner"},
      {w - 2, 1, face, 0, "cut corner"},
      {1, h - 2, face, 0, "cut corner"},
      {w - 2, h - 2, face, 0, "cut corner"},
      {2, 2, innerCorner, 0, "inner corner"},
      {w - 3, 2, innerCorner, 0, "inner corner"},
      {2, h - 3, innerCorner, 0, "inner corner"},
      {w - 3, h - 3, innerCorner, 0, "inner corner"},
      {1, 2, cornerSides, 0, "corner side"},
      {2, 1, cornerSides, 0, "corner side"},
      {w - 3, 1, cornerSides, 0, "corner side"},
      {w - 2, 2, cornerSides, 0, "corner side"},
      {w - 3, h - 2, cornerSides, 0, "corner side"},
      {w - 2, h - 3, cornerSides, 0, "corner side"},
      {2, h - 2, cornerSides, 0, "corner side"},
      {1, h - 3, cornerSides, 0, "corner side"},
  };
}

// An edge band entry of four corners, top and bottom: its first and last rows
// (2 and 27) above and below the face.
std::vector<Pixel> EdgePixels(COLORREF top, COLORREF bottom) {
  return {{50, 2, top, 0, "edge band top"}, {50, 27, bottom, OneRowStep(top, bottom, 26), "edge band bottom"}};
}

// A face entry: its first and last rows (4 and 25), left of the caption.
std::vector<Pixel> FacePixels(COLORREF top, COLORREF bottom) {
  return {{10, 4, top, 0, "face top"}, {10, 25, bottom, OneRowStep(top, bottom, 22), "face bottom"}};
}

std::vector<Pixel> Joined(std::initializer_list<std::vector<Pixel>> parts) {
  std::vector<Pixel> all;
  for (const std::vector<Pixel>& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

void ExpectPixels(const Capture& capture, const std::vector<Pixel>& pixels, const std::string& state) {
  for (const Pixel& p : pixels)
    EXPECT_TRUE(picture_fixtures::Near(capture.At(p.x, p.y), RgbOf(p.colour), p.tolerance))
        << state << ", " << p.what << " at (" << p.x << ", " << p.y
        << "): " << testing::PrintToString(capture.At(p.x, p.y)) << " for " << testing::PrintToString(RgbOf(p.colour));
}

// Where the caption's pixels are: those that change when the caption goes.
struct Ink {
  RECT box{kWidth, kHeight, -1, -1};
  std::vector<Rgb> colours;
};

Ink InkOf(HWND button) {
  const Capture withCaption(button);
  char caption[64] = {};
  GetWindowTextA(button, caption, sizeof caption);
  SetWindowTextA(button, "");
  const Capture without(button);
  SetWindowTextA(button, caption);
  Ink ink;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (withCaption.At(x, y) == without.At(x, y)) continue;
      ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y), std::max<LONG>(ink.box.right, x),
                 std::max<LONG>(ink.box.bottom, y)};
      ink.colours.push_back(withCaption.At(x, y));
    }
  return ink;
}

bool Contains(const std::vector<Rgb>& colours, COLORREF colour) {
  return std::find(colours.begin(), colours.end(), RgbOf(colour)) != colours.end();
}

bool PumpUntil(const std::function<bool()>& done) {
  for (int round = 0; round < 100 && !done(); ++round) Pump();
  return done();
}

std::uint32_t StateOf(HWND button) {
  const SkinnedControl* control = FindSkinnedControl(button);
  return control != nullptr ? control->state : 0xFFFFFFFF;
}

class DrawnPushButton : public ::testing::Test {
 protected:
  void SetUp() override {
    // Nothing of the platform's hot look, and the mouse far from the button.
    SetCursorPos(900, 900);
    Pump();
    SetVisualStyle(1);
  }
  void TearDown() override { SetVisualStyle(0); }
  ButtonWindow host_;
};

TEST_F(DrawnPushButton, IsDrawnAtOnceWhenTakenOverWhileVisible) {
  // No message is dispatched between the take-over and the read-back.
  SetVisualStyle(0);
  SetVisualStyle(1);
  ExpectPixels(Capture(host_.button()),
               Joined({FramePixels(kFrame, kFrame, kFrame), EdgePixels(0x00FFFFFF, 0x00D6DFE2)}), "taken over");
}

TEST_F(DrawnPushButton, EachStateByTheTable) {
  const HWND button = host_.button();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const std::vector<Pixel> frame = FramePixels(kFrame, kFrame, kFrame);
  const std::vector<Pixel> normalFace = FacePixels(0x00FBFCFC, 0x00E6EBEC);
  struct Case {
    std::string state;
    std::function<void()> enter, leave;
    std::uint32_t flags;
    std::vector<Pixel> pixels;
  } cases[] = {
      {"normal", [] {}, [] {}, 0, Joined({frame, EdgePixels(0x00FFFFFF, 0x00D6DFE2), normalFace})},
      {"default", [&] { SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE); },
       [&] { SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE); }, DefaultButton,
       Joined({frame, EdgePixels(0x00FFE7CE, 0x00EE8269), normalFace})},
      {"focused", [&] { SetFocus(button); }, [&] { SetFocus(host_.window()); }, Focused,
       Joined({frame, EdgePixels(0x00FFE7CE, 0x00EE8269), normalFace})},
      {"pushed", [&] { SendMessageA(button, BM_SETSTATE, TRUE, 0); },
       [&] { SendMessageA(button, BM_SETSTATE, FALSE, 0); }, Pushed,
       // The face is two triangles: its top corners differ.
       Joined({frame, EdgePixels(0x00C1CCD1, 0x00EEF1F2),
               {{4, 4, 0x00DEE3E7, 2, "face top left"}, {95, 4, 0x00E7E7E7, 2, "face top right"},
                {10, 25, 0x00DEE3E7, 2, "face bottom"}}})},
      {"disabled", [&] { EnableWindow(button, FALSE); }, [&] { EnableWindow(button, TRUE); }, Disabled,
       Joined({FramePixels(DarkenedColour(face, 0x20), DarkenedColour(face, 0x15), DarkenedColour(face, 0x11)),
               {{50, 2, 0x00EAF4F5, 0, "fill"},
                {3, 15, 0x00EAF4F5, 0, "fill"},
                {10, 4, 0x00EAF4F5, 0, "fill, no face"},
                {95, 25, 0x00EAF4F5, 0, "fill, no face"},
                {50, 27, 0x00EAF4F5, 0, "fill"}}})},
  };
  for (const Case& c : cases) {
    c.enter();
    EXPECT_EQ(StateOf(button), c.flags) << c.state;
    // Read back as the style left it after the state changed, with nothing
    // else painted since.
    ExpectPixels(Capture(button), c.pixels, c.state);
    c.leave();
    EXPECT_EQ(StateOf(button), 0u) << c.state;
  }
}

TEST_F(DrawnPushButton, HotWhileTheMouseIsOverIt) {
  const HWND button = host_.button();
  RECT onScreen{};
  GetWindowRect(button, &onScreen);
  SetCursorPos(onScreen.left + 50, onScreen.top + 15);
  ASSERT_TRUE(PumpUntil([&] { return StateOf(button) == Hot; }));
  ExpectPixels(Capture(button), EdgePixels(0x00CFF0FF, 0x000097E5), "hot");
  // Leaving asks nothing of the button: the leave notice clears it.
  SetCursorPos(900, 900);
  ASSERT_TRUE(PumpUntil([&] { return StateOf(button) == 0; }));
  ExpectPixels(Capture(button), EdgePixels(0x00FFFFFF, 0x00D6DFE2), "left");
}

TEST_F(DrawnPushButton, FocusRectangleThreePixelsInsideTheEdge) {
  const HWND button = host_.button();
  // Default and focused share the edge band; only the focus rectangle differs.
  SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  const Capture unfocused(button);
  SetFocus(button);
  const Capture focused(button);
  int dotted = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (focused.At(x, y) == unfocused.At(x, y)) continue;
      const bool onRectangle = ((y == 3 || y == kHeight - 4) && x >= 3 && x <= kWidth - 4) ||
                               ((x == 3 || x == kWidth - 4) && y >= 3 && y <= kHeight - 4);
      EXPECT_TRUE(onRectangle) << "(" << x << ", " << y << ")";
      dotted += onRectangle;
    }
  // Every other pixel of the 94 × 24 outline.
  EXPECT_GE(dotted, 100);
}

TEST_F(DrawnPushButton, CaptionCentredInBlackAndMovedWhenPushed) {
  const HWND button = host_.button();
  const Ink normal = InkOf(button);
  ASSERT_FALSE(normal.colours.empty());
  EXPECT_TRUE(Contains(normal.colours, 0x00000000));
  // Inside the caption area (4, 4) to (96, 26), about its middle.
  EXPECT_GE(normal.box.left, 4);
  EXPECT_GE(normal.box.top, 4);
  EXPECT_LT(normal.box.right, 96);
  EXPECT_LT(normal.box.bottom, 26);
  EXPECT_NEAR((normal.box.left + normal.box.right) / 2.0, 50, 3);
  EXPECT_NEAR((normal.box.top + normal.box.bottom) / 2.0, 15, 3);

  SendMessageA(button, BM_SETSTATE, TRUE, 0);
  const Ink pushed = InkOf(button);
  EXPECT_EQ(pushed.box.left, normal.box.left + 1);
  EXPECT_EQ(pushed.box.top, normal.box.top + 1);
  EXPECT_EQ(pushed.box.right, normal.box.right + 1);
  EXPECT_EQ(pushed.box.bottom, normal.box.bottom + 1);
  SendMessageA(button, BM_SETSTATE, FALSE, 0);

  EnableWindow(button, FALSE);
  const Ink disabled = InkOf(button);
  EXPECT_TRUE(Contains(disabled.colours, 0x0094A2A5));
  EXPECT_FALSE(Contains(disabled.colours, 0x00000000));
  EXPECT_EQ(disabled.box.left, normal.box.left);
}

}  // namespace
