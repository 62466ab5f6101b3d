// Windows painted by picture mode, read back from the screen: where the
// picture lands, and where the background colour shows.
#include "picture/picture_paint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture/picture_layout.h"
#include "picture_canvas.h"
#include "picture_fixtures.h"

namespace {

using namespace picture_fixtures;

constexpr char kClassName[] = "VelmoraPictureTestWindow";
constexpr std::uint32_t kButtonFace = 0xFF000000u;
const std::vector<Rgb> kQuadrants = {{230, 30, 30}, {30, 200, 50}, {40, 50, 230}, {240, 220, 40}};

struct Background {
  std::vector<std::uint8_t> pictureBytes;
  std::optional<DecodedPicture> decoded;
  std::uint32_t mode = 2;
  std::uint32_t backColor = kButtonFace;
};

LRESULT CALLBACK BackgroundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* background = reinterpret_cast<Background*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_PAINT && background != nullptr) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintWindowBackground(window, dc, background->pictureBytes, background->decoded, background->mode,
                          background->backColor);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestClass() {
  WNDCLASSA existing;
  if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &existing)) return;
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = BackgroundWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kClassName;
  ASSERT_NE(RegisterClassA(&wc), 0);
}

void PumpMessages() {
  MSG msg;
  for (int round = 0; round < 20; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

// A borderless window whose client area is exactly width × height.
class BackgroundWindow {
 public:
  BackgroundWindow(Background& background, int width, int height) {
    RegisterTestClass();
    window_ = CreateWindowExA(WS_EX_TOPMOST, kClassName, "", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&background));
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    PumpMessages();
  }
  ~BackgroundWindow() { DestroyWindow(window_); }
  BackgroundWindow(const BackgroundWindow&) = delete;
  BackgroundWindow& operator=(const BackgroundWindow&) = delete;

  HWND get() const { return window_; }
  void Repaint(const RECT* area) {
    InvalidateRect(window_, area, FALSE);
    UpdateWindow(window_);
    PumpMessages();
  }

 private:
  HWND window_ = nullptr;
};

Rgb FromColorref(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

std::vector<std::uint8_t> BytesOf(const std::string& s) { return {s.begin(), s.end()}; }

struct PaintCase {
  const char* name;
  int pictureWidth, pictureHeight;
  int clientWidth, clientHeight;
  std::uint32_t mode;
  std::uint32_t backColor;
  std::vector<PictureRect> drawn;  // where the whole picture is drawn, in 2 × 2 blocks
  bool colourShows;                // outside the drawn rectangles
};

// Checks the centre of each block of each drawn picture, the pixels just
// inside and just outside each rectangle's edges, and the client's corners.
void CheckPaint(const PaintCase& c, const PictureCanvas& screen) {
  const Rgb back = FromColorref(ResolveColour(c.backColor));
  const auto inClient = [&](int x, int y) { return x >= 0 && y >= 0 && x < c.clientWidth && y < c.clientHeight; };
  const auto covered = [&](int x, int y) {
    for (const PictureRect& r : c.drawn)
      if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return true;
    return false;
  };
  for (const PictureRect& r : c.drawn) {
    for (int block = 0; block < 4; ++block) {
      const int x = r.x + r.width * (2 * (block % 2) + 1) / 4;
      const int y = r.y + r.height * (2 * (block / 2) + 1) / 4;
      if (inClient(x, y)) {
        EXPECT_TRUE(Near(screen.At(x, y), kQuadrants[block], 32)) << c.name << " block at " << x << ", " << y;
      }
    }
    const int middleX = r.x + r.width / 4;
    const int middleY = r.y + r.height / 4;
    const int edges[][2] = {
        {r.x, middleY}, {r.x + r.width - 1, middleY}, {middleX, r.y}, {middleX, r.y + r.height - 1}};
    for (const auto& [x, y] : edges)
      if (inClient(x, y)) {
        EXPECT_NE(screen.At(x, y), back) << c.name << " edge at " << x << ", " << y;
      }
    const int outside[][2] = {
        {r.x - 1, middleY}, {r.x + r.width, middleY}, {middleX, r.y - 1}, {middleX, r.y + r.height}};
    for (const auto& [x, y] : outside)
      if (inClient(x, y) && !covered(x, y)) {
        EXPECT_EQ(screen.At(x, y), back) << c.name << " outside at " << x << ", " << y;
      }
  }
  const int corners[][2] = {
      {0, 0}, {c.clientWidth - 1, 0}, {0, c.clientHeight - 1}, {c.clientWidth - 1, c.clientHeight - 1}};
  for (const auto& [x, y] : corners) {
    if (covered(x, y)) continue;
    if (c.colourShows) {
      EXPECT_EQ(screen.At(x, y), back) << c.name << " corner " << x << ", " << y;
    } else {
      ADD_FAILURE() << c.name << ": corner " << x << ", " << y << " is neither picture nor colour";
    }
  }
}

TEST(PaintBackgroundTest, EachModePutsThePictureWhereItBelongs) {
  const std::vector<PaintCase> cases = {
      // 788 / 1279 × 1279 falls just below 788: one column of button face on
      // the right, one row above and one below.
      {"fitted background", 1279, 719, 788, 444, 2, kButtonFace, {{0, 1, 787, 442}}, true},
      {"fitted, smaller than the client", 200, 100, 300, 200, 2, kButtonFace, {{50, 50, 200, 100}}, true},
      {"fitted, wider only", 400, 100, 300, 200, 2, kButtonFace, {{0, 62, 300, 75}}, true},
      {"top-left", 100, 60, 300, 200, 0, kButtonFace, {{0, 0, 100, 60}}, true},
      {"top-left, own colour", 100, 60, 300, 200, 0, 0x00336699, {{0, 0, 100, 60}}, true},
      {"top-left, larger than the client", 400, 300, 300, 200, 0, kButtonFace, {{0, 0, 400, 300}}, true},
      {"tiled",
       100,
       60,
       300,
       200,
       1,
       0x00336699,
       {{0, 0, 100, 60},
        {100, 0, 100, 60},
        {200, 0, 100, 60},
        {0, 60, 100, 60},
        {100, 60, 100, 60},
        {200, 60, 100, 60},
        {0, 120, 100, 60},
        {100, 120, 100, 60},
        {200, 120, 100, 60},
        {0, 180, 100, 60},
        {100, 180, 100, 60},
        {200, 180, 100, 60}},
       false},
      {"stretched", 100, 60, 300, 200, 3, 0x00336699, {{0, 0, 300, 200}}, false},
      {"unknown mode", 100, 60, 300, 200, 7, 0x00336699, {}, true},
  };
  for (const PaintCase& c : cases) {
    Background background;
    background.pictureBytes = BytesOf(BlockJpeg(c.pictureWidth, c.pictureHeight, 2, 2, kQuadrants));
    background.mode = c.mode;
    background.backColor = c.backColor;
    BackgroundWindow window(background, c.clientWidth, c.clientHeight);
    RECT client;
    GetClientRect(window.get(), &client);
    ASSERT_EQ(client.right, c.clientWidth) << c.name;
    ASSERT_EQ(client.bottom, c.clientHeight) << c.name;
    PictureCanvas screen(c.clientWidth, c.clientHeight);
    screen.CopyFrom(window.get());
    CheckPaint(c, screen);
  }
}

TEST(PaintBackgroundTest, APictureThatDoesNotDecodeLeavesTheColourAndIsTriedAgain) {
  Background background;
  background.pictureBytes = BytesOf(std::string("\xFF\xD8 not a picture"));
  BackgroundWindow window(background, 120, 80);
  EXPECT_FALSE(background.decoded);
  PictureCanvas screen(120, 80);
  screen.CopyFrom(window.get());
  const Rgb face = FromColorref(GetSysColor(COLOR_BTNFACE));
  for (const auto& [x, y] : {std::pair{0, 0}, {60, 40}, {119, 79}}) EXPECT_EQ(screen.At(x, y), face);

  background.pictureBytes = BytesOf(BlockJpeg(120, 80, 2, 2, kQuadrants));
  background.mode = 3;
  window.Repaint(nullptr);
  EXPECT_TRUE(background.decoded);
  screen.CopyFrom(window.get());
  EXPECT_TRUE(Near(screen.At(30, 20), kQuadrants[0], 32));
}

TEST(PaintBackgroundTest, OnlyTheClipBoxIsPaintedAndTheDecodedPictureIsKept) {
  Background background;
  background.pictureBytes = BytesOf(BlockJpeg(100, 60, 2, 2, kQuadrants));
  background.mode = 0;
  background.backColor = 0x000000FF;
  BackgroundWindow window(background, 300, 200);
  ASSERT_TRUE(background.decoded);

  // New colour, and bytes that would not decode: a paint of one corner
  // changes only that corner and still draws the kept picture.
  background.backColor = 0x0000FF00;
  background.pictureBytes = BytesOf("junk");
  const RECT corner{0, 0, 150, 100};
  window.Repaint(&corner);
  PictureCanvas screen(300, 200);
  screen.CopyFrom(window.get());
  EXPECT_TRUE(Near(screen.At(25, 15), kQuadrants[0], 32));
  EXPECT_EQ(screen.At(120, 80), (Rgb{0, 255, 0}));
  EXPECT_EQ(screen.At(149, 99), (Rgb{0, 255, 0}));
  EXPECT_EQ(screen.At(150, 80), (Rgb{255, 0, 0}));
  EXPECT_EQ(screen.At(250, 150), (Rgb{255, 0, 0}));
}

}  // namespace
