// The window type on the program's own form under Wine: the frame, class,
// placement and icons of the start window, its painted background, and the
// keys it takes before its controls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine_carried_form.h"
#include "engine_fixtures.h"
#include "form/description/form_description_stream.h"
#include "form/description/window_properties.h"
#include "form/engine/loader.h"
#include "form/engine/message_loop.h"
#include "form/engine/properties.h"
#include "installer_driver.h"
#include "picture/picture.h"
#include "picture/picture_layout.h"
#include "picture_canvas.h"

namespace {

using namespace form_ids;
using carried_form::ClickedEntry;
using carried_form::FocusedUnit;
using carried_form::LoadedForm;
using carried_form::PressKey;
using engine_fixtures::Journal;
using picture_fixtures::Rgb;

constexpr int kOuterWidth = 794;
constexpr int kOuterHeight = 473;
// The window's own properties by index.
constexpr int kEnterMovesFocusProperty = 21;
// The Button's buttonKind.
constexpr int kButtonKindProperty = 9;

TEST(WindowUnitTest, TheStartWindowIsLoadedHiddenWithTheFormsFrameClassAndPlace) {
  LoadedForm form(false);
  HWND window = form.window();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(installer_driver::TextOf(window), installer_driver::WindowCaption());

  // Caption, system menu and dialog frame; no thick frame, no boxes, no
  // extended style. The platform adds WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE
  // of its own accord, the latter before a creation hook sees the request.
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  const std::vector<engine_fixtures::CreationRequest> requests = form.creations().requests(className);
  ASSERT_EQ(requests.size(), 1u);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;
  EXPECT_EQ(requests[0].style, 0x02C80000u);
  EXPECT_EQ(requests[0].exStyle & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), 0u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)) & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), 0u);
  EXPECT_EQ(requests[0].x, x);
  EXPECT_EQ(requests[0].y, y);
  EXPECT_EQ(requests[0].width, kOuterWidth);
  EXPECT_EQ(requests[0].height, kOuterHeight);
  EXPECT_EQ(engine_fixtures::StyleOf(window) & ~static_cast<DWORD>(WS_CLIPSIBLINGS), 0x02C80000u);

  EXPECT_EQ(GetClassLongA(window, GCL_STYLE), static_cast<DWORD>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)), GetStockObject(NULL_BRUSH));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR)), LoadCursorA(nullptr, IDC_ARROW));

  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, x);
  EXPECT_EQ(outer.top, y);
  EXPECT_EQ(outer.right - outer.left, kOuterWidth);
  EXPECT_EQ(outer.bottom - outer.top, kOuterHeight);
}

// A window unit of the test program made from the properties, at (40, 30)
// unless centred.
engine_fixtures::TestUnit WindowUnitOf(const WindowProperties& p, int width, int height) {
  UnitRecordFields f = engine_fixtures::UnitOf(engine_fixtures::kWindowType, 0);
  f.propertyBlob = SerialiseWindowProperties(p);
  f.left = 40;
  f.top = 30;
  f.width = width;
  f.height = height;
  return {engine_fixtures::kWindowUnit, f};
}

TEST(WindowUnitTest, TheFrameFollowsBorderStyleCaptionBoxesAndStartPosition) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  struct Case {
    const char* name;
    void (*adjust)(WindowProperties&);
    int width, height;  // asked for
    DWORD style;
    DWORD exStyle;
    int x, y;  // asked for
  };
  // Properties: borderStyle 2, caption "c", controlBox, no boxes, placed as stored.
  const Case cases[] = {
      {"dialog frame with title bar", [](WindowProperties&) {}, 300, 200, 0x02C80000, 0, 40, 30},
      {"dialog frame without title bar",
       [](WindowProperties& p) {
         p.caption.clear();
         p.controlBox = false;
       },
       300, 200, 0x02400000, 0, 40, 30},
      {"title bar without control box", [](WindowProperties& p) { p.controlBox = false; }, 300, 200, 0x02C00000, 0, 40,
       30},
      {"resizable with both boxes",
       [](WindowProperties& p) {
         p.borderStyle = 1;
         p.maxButton = p.minButton = true;
       },
       300, 200, 0x02CF0000, 0, 40, 30},
      {"resizable tool window", [](WindowProperties& p) { p.borderStyle = 3; }, 300, 200, 0x02CC0000, WS_EX_TOOLWINDOW,
       40, 30},
      {"tool window", [](WindowProperties& p) { p.borderStyle = 4; }, 300, 200, 0x02C80000, WS_EX_TOOLWINDOW, 40, 30},
      {"resizable with client edge", [](WindowProperties& p) { p.borderStyle = 5; }, 300, 200, 0x02CC0000,
       WS_EX_CLIENTEDGE, 40, 30},
      {"client edge", [](WindowProperties& p) { p.borderStyle = 6; }, 300, 200, 0x02C80000, WS_EX_CLIENTEDGE, 40, 30},
      {"no frame", [](WindowProperties& p) { p.borderStyle = 0; }, 300, 200, 0x02000000, 0, 40, 30},
      // Centring divides with truncation toward zero: -3 / 2 is -1.
      {"centred, larger than the screen", [](WindowProperties& p) { p.startPosition = 1; }, screenWidth + 3,
       screenHeight + 3, 0x02C80000, 0, -1, -1},
      {"minimized", [](WindowProperties& p) { p.startPosition = 2; }, 300, 200, 0x02C80000 | WS_MINIMIZE, 0, 40, 30},
      {"maximized, resizable",
       [](WindowProperties& p) {
         p.borderStyle = 1;
         p.startPosition = 3;
       },
       300, 200, 0x02CC0000 | WS_MAXIMIZE, 0, 40, 30},
      {"maximized needs a thick frame", [](WindowProperties& p) { p.startPosition = 3; }, 300, 200, 0x02C80000, 0, 40,
       30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowProperties p;
    p.caption = "c";
    p.startPosition = 0;
    c.adjust(p);
    engine_fixtures::TestRuntime runtime(
        {engine_fixtures::WindowOf(engine_fixtures::kWindow, {WindowUnitOf(p, c.width, c.height)})});
    engine_fixtures::CreationRecorder creations;
    LoadStartWindow(engine_fixtures::kWindow);
    creations.Stop();
    HWND window = engine_fixtures::WindowOfUnit(engine_fixtures::kWindow, 0);
    ASSERT_NE(window, nullptr);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    const std::vector<engine_fixtures::CreationRequest> requests = creations.requests(className);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].style, c.style);
    EXPECT_EQ(requests[0].exStyle & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), c.exStyle);
    EXPECT_EQ(requests[0].x, c.x);
    EXPECT_EQ(requests[0].y, c.y);
    if (!(c.style & (WS_MINIMIZE | WS_MAXIMIZE))) {
      RECT outer;
      GetWindowRect(window, &outer);
      EXPECT_EQ(outer.right - outer.left, c.width);
      EXPECT_EQ(outer.bottom - outer.top, c.height);
    }
  }
}

TEST(WindowUnitTest, TaskbarTopmostAndMovableShapeTheWindowAfterItsFrame) {
  struct Case {
    bool showInTaskbar, alwaysOnTop, movable;
  };
  for (const Case& c : {Case{true, false, true}, Case{false, true, false}}) {
    SCOPED_TRACE(c.showInTaskbar);
    WindowProperties p;
    p.caption = "c";
    p.showInTaskbar = c.showInTaskbar;
    p.alwaysOnTop = c.alwaysOnTop;
    p.movable = c.movable;
    engine_fixtures::TestRuntime runtime(
        {engine_fixtures::WindowOf(engine_fixtures::kWindow, {WindowUnitOf(p, 300, 200)})});
    LoadStartWindow(engine_fixtures::kWindow);
    HWND window = engine_fixtures::WindowOfUnit(engine_fixtures::kWindow, 0);
    // Kept out of the task bar by a hidden tool window that owns it.
    HWND owner = GetWindow(window, GW_OWNER);
    EXPECT_EQ(owner == nullptr, c.showInTaskbar);
    if (owner != nullptr) {
      EXPECT_TRUE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
      EXPECT_FALSE(IsWindowVisible(owner));
    }
    EXPECT_EQ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, c.alwaysOnTop);
    EXPECT_EQ(GetMenuState(GetSystemMenu(window, FALSE), SC_MOVE, MF_BYCOMMAND) != static_cast<UINT>(-1), c.movable);
    EXPECT_NE(GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  }
}

// ---- Icons ----

// An icon drawn at its own size on a magenta ground larger than any icon
// here, so that its size, its colours and its mask all show.
std::vector<Rgb> Drawn(HICON icon) {
  constexpr int kGround = 40;
  PictureCanvas canvas(kGround, kGround);
  canvas.Fill(RGB(255, 0, 255));
  DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<Rgb> pixels;
  for (int y = 0; y < kGround; ++y)
    for (int x = 0; x < kGround; ++x) pixels.push_back(canvas.At(x, y));
  return pixels;
}

// The icon made straight from the file's DIB image of that width and bit
// count, whatever the directory's colour counts say.
std::vector<Rgb> DrawnEntry(const std::vector<std::uint8_t>& file, int width, int bitCount) {
  const std::size_t count = file[4] | file[5] << 8;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    const std::uint32_t size = LoadDword(&file[entry + 8]), offset = LoadDword(&file[entry + 12]);
    const bool dib = LoadDword(&file[offset]) == 40;
    if (file[entry] != width || !dib || (file[offset + 14] | file[offset + 15] << 8) != bitCount) continue;
    HICON icon = CreateIconFromResourceEx(const_cast<std::uint8_t*>(file.data() + offset), size, TRUE, 0x00030000,
                                          width, width, 0);
    std::vector<Rgb> pixels = Drawn(icon);
    DestroyIcon(icon);
    return pixels;
  }
  ADD_FAILURE() << "no " << width << "-pixel image of " << bitCount << " bits per pixel";
  return {};
}

TEST(WindowUnitTest, TheIconsAreTheSixteenColourImagesOfTheCarriedIconFile) {
  LoadedForm form(false);
  const std::vector<std::uint8_t>& file = form.properties().icon;
  ASSERT_GT(file.size(), 6u);
  struct Case {
    WPARAM which;
    int width;
  };
  for (const Case& c : {Case{ICON_BIG, 32}, Case{ICON_SMALL, 16}}) {
    SCOPED_TRACE(c.width);
    HICON shown = reinterpret_cast<HICON>(SendMessageA(form.window(), WM_GETICON, c.which, 0));
    ASSERT_NE(shown, nullptr);
    const std::vector<Rgb> pixels = Drawn(shown);
    EXPECT_EQ(pixels, DrawnEntry(file, c.width, 4));
    std::optional<IconImage> read = ReadIconImage(file.data(), file.size(), static_cast<unsigned>(c.width));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(pixels, Drawn(read->icon.get()));
    // The comparison tells the file's images apart.
    EXPECT_NE(pixels, DrawnEntry(file, c.width, 8));
    EXPECT_NE(pixels, DrawnEntry(file, c.width == 32 ? 16 : 32, 4));
  }
}

// ---- Painting ----

Rgb FromColorref(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

int Distance(Rgb a, Rgb b) { return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}); }

// The decoded picture's pixel, top row first.
Rgb PictureAt(const DecodedPicture& p, int x, int y) {
  const std::size_t at =
      (static_cast<std::size_t>(p.height - 1 - y) * static_cast<std::size_t>(p.width) + static_cast<std::size_t>(x)) *
      3;
  return {p.pixels[at + 2], p.pixels[at + 1], p.pixels[at]};
}

// How far a drawn pixel is from the picture pixels that the stretch could
// have made it from: the nearest of the neighbourhood of its source point.
int DistanceFromPicture(Rgb drawn, const DecodedPicture& p, const PictureRect& r, int x, int y) {
  const int sx = static_cast<int>((x - r.x + 0.5) * p.width / r.width);
  const int sy = static_cast<int>((y - r.y + 0.5) * p.height / r.height);
  int nearest = 255;
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx) {
      const int px = std::clamp(sx + dx, 0, p.width - 1), py = std::clamp(sy + dy, 0, p.height - 1);
      nearest = std::min(nearest, Distance(drawn, PictureAt(p, px, py)));
    }
  return nearest;
}

TEST(WindowUnitTest, TheBackgroundIsFittedIntoTheClientAreaWithButtonFaceAround) {
  LoadedForm form(true);
  HWND window = form.window();
  ASSERT_TRUE(IsWindowVisible(window));
  RECT client;
  GetClientRect(window, &client);
  const std::vector<std::uint8_t>& bytes = form.properties().backPicture;
  const std::optional<DecodedPicture> picture = DecodePicture(bytes.data(), bytes.size());
  ASSERT_TRUE(picture.has_value());
  const PictureRect r = FitPicture(picture->width, picture->height, client.right, client.bottom);
  // The picture is shrunk, so something of the button face shows.
  ASSERT_TRUE(r.width < client.right || r.height < client.bottom);

  PictureCanvas screen(client.right, client.bottom);
  screen.CopyFrom(window);
  const Rgb face = FromColorref(GetSysColor(COLOR_BTNFACE));
  std::vector<RECT> controls;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) controls.push_back(engine_fixtures::RectInParent(child));
  }
  const auto onControl = [&](int x, int y) {
    for (const RECT& c : controls)
      if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return true;
    return false;
  };

  // Inside: a grid over the rectangle and its first and last rows and columns.
  std::vector<int> xs = {r.x, r.x + r.width - 1}, ys = {r.y, r.y + r.height - 1};
  for (int i = 1; i < 8; ++i) {
    xs.push_back(r.x + r.width * i / 8);
    ys.push_back(r.y + r.height * i / 8);
  }
  for (int y : ys)
    for (int x : xs)
      if (!onControl(x, y)) {
        EXPECT_LE(DistanceFromPicture(screen.At(x, y), *picture, r, x, y), 24) << "picture at " << x << ", " << y;
      }

  // Outside: the button face, along every side the picture leaves free.
  int outside = 0;
  for (int i = 0; i < 8; ++i) {
    const int x = client.right * i / 8 + 3, y = client.bottom * i / 8 + 3;
    const int points[][2] = {{x, r.y - 1}, {x, r.y + r.height}, {r.x - 1, y}, {r.x + r.width, y}};
    for (const auto& [px, py] : points) {
      if (px < 0 || py < 0 || px >= client.right || py >= client.bottom || onControl(px, py)) continue;
      EXPECT_EQ(screen.At(px, py), face) << "button face at " << px << ", " << py;
      ++outside;
    }
  }
  EXPECT_GT(outside, 0);
}

// ---- Keys ----

bool timedOut = false;

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
  timedOut = true;
  PostQuitMessage(1);
}

TEST(WindowUnitTest, EscClosesTheWindowAndEndsTheLoop) {
  LoadedForm form(true);
  ASSERT_NE(FocusedUnit(), 0u);
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
  UINT_PTR timer = SetTimer(nullptr, 0, 20000, &GiveUp);
  RunMessageLoop();
  KillTimer(nullptr, timer);
  EXPECT_FALSE(timedOut);
  EXPECT_EQ(form.window(), nullptr);
  EXPECT_TRUE(Journal().empty());
}

TEST(WindowUnitTest, EnterClicksADefaultButtonOnlyAndOtherwiseDoesNothing) {
  LoadedForm form(true);
  const std::vector<UnitId> cycle = carried_form::TabCycle();
  ASSERT_GE(cycle.size(), 2u);
  PressKey(VK_RETURN);
  EXPECT_TRUE(Journal().empty());
  EXPECT_EQ(FocusedUnit(), cycle[0]);
  ASSERT_NE(form.window(), nullptr);

  // Told to, Enter moves the focus instead, as Tab does.
  WriteUnitProperty(kStartWindow, 0, kEnterMovesFocusProperty, -1, 1, 0);
  PressKey(VK_RETURN);
  EXPECT_TRUE(Journal().empty());
  EXPECT_EQ(FocusedUnit(), cycle[1]);
  WriteUnitProperty(kStartWindow, 0, kEnterMovesFocusProperty, -1, 0, 0);

  // A focused default button first, then the first in the form's unit order.
  struct Case {
    UnitId madeDefault;  // or 0
    UnitId focused;
    UnitId clicked;
  };
  const Case cases[] = {
      {kForumButton, kUninstallButton, kForumButton},
      {kInstallButton, kUninstallButton, kInstallButton},
      {0, kForumButton, kForumButton},
  };
  for (const Case& c : cases) {
    if (c.madeDefault != 0) WriteUnitProperty(kStartWindow, c.madeDefault, kButtonKindProperty, -1, 1, 0);
    SetFocus(form.unit(c.focused));
    Journal().clear();
    PressKey(VK_RETURN);
    EXPECT_EQ(Journal(), std::vector<std::string>{ClickedEntry(c.clicked)}) << std::hex << c.focused;
  }
}

}  // namespace
