// The Button type under Wine: Buttons made from property blobs of every
// kind, and on the program's own form its buttons' style, captions, ids and
// font as the form gives them, the focus order, clicks by Space and by the
// mouse, and what writes to a Button's own properties do to the control.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engine_carried_form.h"
#include "engine_fixtures.h"
#include "form/description/button_properties.h"
#include "form/engine/loader.h"
#include "form/engine/properties.h"
#include "form/engine/template_access.h"
#include "host/wide_text.h"
#include "installer_driver.h"
#include "picture_fixtures.h"

namespace {

using namespace form_ids;
using carried_form::ClickedEntry;
using carried_form::FocusedUnit;
using carried_form::LoadedForm;
using carried_form::PressKey;
using engine_fixtures::Journal;
using engine_fixtures::RectInParent;
using engine_fixtures::StyleOf;
using installer_driver::Gbk;
using installer_driver::TextOf;

// WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_CENTER |
// BS_VCENTER | BS_PUSHBUTTON.
constexpr DWORD kFormButtonStyle = 0x44012F00;

ButtonProperties Properties(const char* caption, std::uint32_t kind, std::uint32_t hAlign, std::uint32_t vAlign,
                            const std::string& picture = {}, std::vector<std::uint8_t> font = {}) {
  ButtonProperties p;
  p.caption = caption;
  p.buttonKind = kind;
  p.hAlign = hAlign;
  p.vAlign = vAlign;
  p.picture.assign(picture.begin(), picture.end());
  p.font = std::move(font);
  return p;
}

std::vector<std::uint8_t> LogFontBytes(std::size_t length) {
  LOGFONTA font{};
  font.lfHeight = -17;
  std::strcpy(font.lfFaceName, "Tahoma");
  std::vector<std::uint8_t> bytes(length);
  std::memcpy(bytes.data(), &font, std::min(length, sizeof font));
  return bytes;
}

TEST(ButtonUnitTest, AButtonIsMadeFromItsPropertyBlob) {
  using engine_fixtures::kButtonType, engine_fixtures::kOtherWindow, engine_fixtures::kWindow,
      engine_fixtures::kWindowType, engine_fixtures::kWindowUnit;
  using engine_fixtures::RanEntry, engine_fixtures::RoutineOffset, engine_fixtures::Settle, engine_fixtures::TestUnit,
      engine_fixtures::UnitOf, engine_fixtures::WindowOf, engine_fixtures::WindowOfUnit;
  using picture_fixtures::DibIconImage, picture_fixtures::IconEntry, picture_fixtures::MakeIconFile,
      picture_fixtures::SolidJpeg;
  struct Case {
    const char* name;                            // also the caption, but for the empty blob
    std::optional<ButtonProperties> properties;  // none: an empty blob
    std::uint32_t flags;
    DWORD style;  // besides WS_VISIBLE
    int image;    // IMAGE_BITMAP, IMAGE_ICON, or -1 for none
    bool ownFont;
  };
  const std::string icon = MakeIconFile(1, {IconEntry{32, 32, 16, 1, 4, DibIconImage(32, 32, 4)}});
  const Case cases[] = {
      {"empty blob", std::nullopt, 5, kFormButtonStyle, -1, false},
      {"choices out of range", Properties("choices out of range", 3, 5, 7), 5, 0x44012A00, -1, false},
      {"default, left, top", Properties("default, left, top", 1, 0, 0), 5, 0x44012501, -1, false},
      {"disabled, no tab stop", Properties("disabled, no tab stop", 0, 1, 1), 3, 0x4C002F00, -1, false},
      {"JPEG picture", Properties("JPEG picture", 0, 1, 1, SolidJpeg(16, 8, {200, 40, 40})), 5, 0x44012F80,
       IMAGE_BITMAP, false},
      {"icon picture", Properties("icon picture", 0, 1, 1, icon), 5, 0x44012F40, IMAGE_ICON, false},
      {"picture that does not decode", Properties("picture that does not decode", 0, 1, 1, "\xFF\xD8 not a picture"), 5,
       kFormButtonStyle, -1, false},
      {"60-byte font", Properties("60-byte font", 0, 1, 1, {}, LogFontBytes(60)), 5, kFormButtonStyle, -1, true},
      {"59-byte font", Properties("59-byte font", 0, 1, 1, {}, LogFontBytes(59)), 5, kFormButtonStyle, -1, false},
  };
  constexpr int kOnGotFocus = 8, kOnLostFocus = 9;
  std::vector<TestUnit> units = {{kWindowUnit, UnitOf(kWindowType, 0)}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    UnitRecordFields f =
        UnitOf(kButtonType, cases[i].flags, {{-7, RoutineOffset(kOnGotFocus)}, {-8, RoutineOffset(kOnLostFocus)}});
    if (cases[i].properties) f.propertyBlob = SerialiseButtonProperties(*cases[i].properties);
    units.push_back({static_cast<UnitId>(0x16010101 + i), f});
  }
  // A blob of a later version than the type reads: no Button, no window.
  UnitRecordFields later = UnitOf(kButtonType, 5);
  later.propertyBlob = SerialiseButtonProperties(ButtonProperties{});
  later.propertyBlob[0] = 2;
  engine_fixtures::TestRuntime runtime(
      {WindowOf(kWindow, units), WindowOf(kOtherWindow, {{kWindowUnit, UnitOf(kWindowType, 0)}, {0x16010201, later}})});
  EXPECT_FALSE(LoadWindow(*units::FindWindow(kOtherWindow), nullptr));
  LoadStartWindow(kWindow);

  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    HWND button = WindowOfUnit(kWindow, static_cast<UnitId>(0x16010101 + i));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(StyleOf(button) & ~static_cast<DWORD>(WS_VISIBLE), c.style);
    EXPECT_EQ(TextOf(button), c.properties ? std::wstring(c.name, c.name + std::strlen(c.name)) : L"按钮");
    const auto image = reinterpret_cast<HANDLE>(SendMessageA(button, BM_GETIMAGE, c.image == IMAGE_ICON, 0));
    if (c.image == IMAGE_BITMAP) {
      EXPECT_EQ(GetObjectType(image), static_cast<DWORD>(OBJ_BITMAP));
    } else if (c.image == IMAGE_ICON) {
      ICONINFO info{};
      ASSERT_TRUE(GetIconInfo(static_cast<HICON>(image), &info));
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
    } else {
      EXPECT_EQ(image, nullptr);
    }
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)) != GetStockObject(DEFAULT_GUI_FONT),
              c.ownFont);
  }

  // Got and lost focus, after the control has taken or given it up.
  WriteUnitProperty(kWindow, kWindowUnit, kPropertyVisible, -1, 1, 0);
  Settle();
  const UnitId first = 0x16010102, second = 0x16010103;
  SetFocus(WindowOfUnit(kWindow, first));
  Journal().clear();
  SetFocus(WindowOfUnit(kWindow, second));
  EXPECT_EQ(Journal(), (std::vector<std::string>{RanEntry(kOnLostFocus, first), RanEntry(kOnGotFocus, second)}));
  EXPECT_EQ(GetFocus(), WindowOfUnit(kWindow, second));
}

TEST(ButtonUnitTest, TheFormsButtonsAreMadeHiddenWithTheirStyleAndShowWithTheWindow) {
  LoadedForm form(false);
  // The form's Buttons in creation order, the form's last unit first, each
  // control id 10 above the one made before it, from 100.
  std::vector<const DefinedUnit*> buttons;
  for (std::size_t i = std::size(kFormUnits); i-- > 1;)
    if (kFormUnits[i].type == kButtonTypeId) buttons.push_back(&kFormUnits[i]);
  const std::vector<engine_fixtures::CreationRequest> requests = form.creations().requests("Button");
  ASSERT_EQ(requests.size(), buttons.size());
  const WindowTemplate& t = *units::FindWindow(kStartWindow);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const DefinedUnit& u = *buttons[i];
    SCOPED_TRACE(u.name);
    const std::optional<std::uint32_t> index = units::IndexOf(t, u.id);
    ASSERT_TRUE(index);
    const std::optional<ButtonProperties> properties = ReadButtonProperties(units::PropertyBlobOf(t, *index));
    ASSERT_TRUE(properties);
    const std::wstring caption = text::WideForDisplay(properties->caption);
    HWND button = form.unit(u.id);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(requests[i].style, kFormButtonStyle);
    EXPECT_EQ(requests[i].exStyle, 0u);
    EXPECT_EQ(requests[i].text, caption);
    EXPECT_EQ(TextOf(button), caption);
    EXPECT_EQ(GetDlgCtrlID(button), static_cast<int>(100 + 10 * (std::size(kFormUnits) - 1 - *index)));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    const RECT r = RectInParent(button);
    EXPECT_EQ(r.left, u.left);
    EXPECT_EQ(r.top, u.top);
    EXPECT_EQ(r.right - r.left, u.width);
    EXPECT_EQ(r.bottom - r.top, u.height);
    // Shown already, but on a hidden window.
    EXPECT_EQ(StyleOf(button), kFormButtonStyle | WS_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(button));
  }

  WriteUnitProperty(kStartWindow, kWindowUnit, kPropertyVisible, -1, 1, 0);
  engine_fixtures::Settle();
  for (const DefinedUnit* u : buttons) EXPECT_TRUE(IsWindowVisible(form.unit(u->id))) << u->name;
  // The focus on a button, which shows it as the focused one.
  const UnitId focused = FocusedUnit();
  EXPECT_NE(std::find(kButtons.begin(), kButtons.end(), focused), kButtons.end());
  EXPECT_EQ(GetFocus(), form.unit(focused));
}

// Tab goes through every button of the form and back, Shift+Tab the same
// way backwards, each passing over a disabled button. The order among them
// is the engine's (below).
TEST(ButtonUnitTest, TabAndShiftTabCycleThroughTheButtonsInFocusOrder) {
  LoadedForm form(true);
  const std::vector<UnitId> cycle = carried_form::TabCycle();
  std::vector<UnitId> sorted = cycle;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, std::vector<UnitId>(kButtons.begin(), kButtons.end()));
  ASSERT_GE(cycle.size(), 3u);
  for (std::size_t i = cycle.size(); i-- > 0;) {
    PressKey(VK_TAB, true);
    EXPECT_EQ(FocusedUnit(), cycle[i]) << "Shift+Tab";
  }
  WriteUnitProperty(kStartWindow, cycle[1], kPropertyDisabled, -1, 1, 0);
  PressKey(VK_TAB);
  EXPECT_EQ(FocusedUnit(), cycle[2]);
  PressKey(VK_TAB, true);
  EXPECT_EQ(FocusedUnit(), cycle[0]);
  EXPECT_TRUE(Journal().empty());
}

// Ascending tabOrder, the later unit first among equals; units that are
// hidden, disabled or no tab stop are passed over.
TEST(ButtonUnitTest, TheFocusOrderFollowsTabOrderAndSkipsWhatCannotTakeTheFocus) {
  using engine_fixtures::kButtonType, engine_fixtures::kWindow, engine_fixtures::kWindowType,
      engine_fixtures::kWindowUnit;
  struct Unit {
    UnitId id;
    std::uint32_t tabOrder;
    std::uint32_t flags;
  };
  const Unit units[] = {
      {0x16010301, 2, 5},  // third
      {0x16010302, 1, 5},  // second
      {0x16010303, 1, 5},  // first
      {0x16010304, 0, 1},  // no tab stop
      {0x16010305, 0, 4},  // hidden
      {0x16010306, 3, 5},  // fourth
      {0x16010307, 0, 7},  // disabled
  };
  std::vector<engine_fixtures::TestUnit> form = {{kWindowUnit, engine_fixtures::UnitOf(kWindowType, 0)}};
  for (const Unit& u : units) {
    UnitRecordFields f = engine_fixtures::UnitOf(kButtonType, u.flags);
    f.tabOrder = u.tabOrder;
    form.push_back({u.id, f});
  }
  engine_fixtures::TestRuntime runtime({engine_fixtures::WindowOf(kWindow, form)});
  LoadStartWindow(kWindow);
  WriteUnitProperty(kWindow, kWindowUnit, kPropertyVisible, -1, 1, 0);
  engine_fixtures::Settle();
  EXPECT_EQ(FocusedUnit(), 0x16010303u);
  struct Step {
    bool shift;
    UnitId focused;  // afterwards
  };
  const Step steps[] = {{false, 0x16010302}, {false, 0x16010301}, {false, 0x16010306},
                        {false, 0x16010303}, {true, 0x16010306},  {true, 0x16010301}};
  for (const Step& s : steps) {
    PressKey(VK_TAB, s.shift);
    EXPECT_EQ(FocusedUnit(), s.focused) << (s.shift ? "Shift+Tab" : "Tab");
  }
}

TEST(ButtonUnitTest, SpaceClicksTheFocusedButton) {
  LoadedForm form(true);
  for (UnitId button : {kUninstallButton, kForumButton, kInstallButton}) {
    SetFocus(form.unit(button));
    Journal().clear();
    PressKey(VK_SPACE);
    EXPECT_EQ(Journal(), std::vector<std::string>{ClickedEntry(button)}) << std::hex << button;
  }
}

// A left click at the middle of the control, as the user's mouse makes it.
void ClickWithMouse(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) input.type = INPUT_MOUSE;
  inputs[0].mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  inputs[0].mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
  engine_fixtures::Settle();
}

TEST(ButtonUnitTest, ADisabledButtonGivesNoClick) {
  LoadedForm form(true);
  struct Step {
    std::int32_t disabled;
    bool clicks;
  };
  for (const Step& s : {Step{0, true}, Step{1, false}, Step{0, true}}) {
    WriteUnitProperty(kStartWindow, kInstallButton, kPropertyDisabled, -1, s.disabled, 0);
    Journal().clear();
    ClickWithMouse(form.unit(kInstallButton));
    EXPECT_EQ(Journal(), s.clicks ? std::vector<std::string>{ClickedEntry(kInstallButton)} : std::vector<std::string>{})
        << "disabled " << s.disabled;
  }
}

// A Button's own properties by index.
constexpr int kButtonKind = 9, kCaption = 10, kHAlign = 11, kVAlign = 12, kFont = 13;

TEST(ButtonUnitTest, WritesToItsOwnPropertiesAreClampedAndRestyleTheControl) {
  LoadedForm form(true);
  HWND button = form.unit(kUninstallButton);
  // The alignment and kind bits; the rest of the style stays.
  constexpr DWORD kRestyled = BS_CENTER | BS_VCENTER | 0x1F;
  struct Case {
    int index;
    std::int32_t written;
    std::int32_t stored;
    DWORD mask;
    DWORD bits;
  };
  const Case cases[] = {
      {kHAlign, -1, 0, BS_CENTER, BS_LEFT},        {kHAlign, 5, 2, BS_CENTER, BS_RIGHT},
      {kHAlign, 1, 1, BS_CENTER, BS_CENTER},       {kVAlign, -3, 0, BS_VCENTER, BS_TOP},
      {kVAlign, 9, 2, BS_VCENTER, BS_BOTTOM},      {kVAlign, 1, 1, BS_VCENTER, BS_VCENTER},
      {kButtonKind, 7, 1, 0x1F, BS_DEFPUSHBUTTON}, {kButtonKind, -2, 0, 0x1F, BS_PUSHBUTTON},
  };
  for (const Case& c : cases) {
    WriteUnitProperty(kStartWindow, kUninstallButton, c.index, -1, c.written, 0);
    EXPECT_EQ(ReadUnitProperty(kStartWindow, kUninstallButton, c.index, -1).low, c.stored)
        << c.index << " = " << c.written;
    EXPECT_EQ(StyleOf(button) & c.mask, c.bits) << c.index << " = " << c.written;
    EXPECT_EQ(StyleOf(button) & ~kRestyled, (kFormButtonStyle | WS_VISIBLE) & ~kRestyled)
        << c.index << " = " << c.written;
  }

  PropertyValue caption;
  caption.text = Gbk("卸载");
  WriteUnitProperty(kStartWindow, kUninstallButton, kCaption, -1, caption);
  EXPECT_EQ(TextOf(button), L"卸载");

  // Exactly a LOGFONTA makes the font, with the members that tie it to one
  // machine reset and the face name read as GBK; anything else is the stock
  // GUI font.
  LOGFONTA wanted{};
  wanted.lfHeight = -19;
  wanted.lfWeight = FW_BOLD;
  wanted.lfCharSet = GB2312_CHARSET;
  wanted.lfQuality = ANTIALIASED_QUALITY;
  wanted.lfPitchAndFamily = FIXED_PITCH;
  std::strcpy(wanted.lfFaceName, Gbk("宋体").c_str());
  PropertyValue font;
  font.bytes.resize(sizeof wanted);
  std::memcpy(font.bytes.data(), &wanted, sizeof wanted);
  WriteUnitProperty(kStartWindow, kUninstallButton, kFont, -1, font);
  HGDIOBJ made = reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0));
  ASSERT_NE(made, GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW got{};
  ASSERT_EQ(GetObjectW(made, sizeof got, &got), static_cast<int>(sizeof got));
  EXPECT_EQ(got.lfHeight, -19);
  EXPECT_EQ(got.lfWeight, FW_BOLD);
  EXPECT_EQ(got.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(got.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(got.lfPitchAndFamily, 0);
  EXPECT_STREQ(got.lfFaceName, L"宋体");
  for (std::size_t length : {sizeof wanted - 1, sizeof wanted + 1}) {
    font.bytes.resize(length);
    WriteUnitProperty(kStartWindow, kUninstallButton, kFont, -1, font);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT))
        << length;
  }

  // What it would write back into a form.
  UnitObject* unit = UnitOfWindow(button);
  std::optional<ButtonProperties> serialised = ReadButtonProperties(unit->operations->serialise(*unit));
  ASSERT_TRUE(serialised.has_value());
  ButtonProperties expected;
  expected.caption = caption.text;
  expected.font = font.bytes;
  EXPECT_EQ(*serialised, expected);
}

}  // namespace
