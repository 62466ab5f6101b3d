#include "form/units/button_unit.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "form/description/button_properties.h"
#include "form/engine/events.h"
#include "form/engine/loader.h"
#include "form/engine/unit_cursor.h"
#include "form/units/property_field_value.h"
#include "host/handle_owners.h"
#include "host/wide_text.h"
#include "picture/picture.h"

namespace {

constexpr DWORD kAlwaysStyle = WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE;
constexpr DWORD kHorizontalBits = BS_LEFT | BS_CENTER | BS_RIGHT;
constexpr DWORD kVerticalBits = BS_TOP | BS_VCENTER | BS_BOTTOM;
constexpr std::size_t kLogFontSize = 60;

struct ButtonObject final : UnitObject {
  ButtonProperties properties;
  OwnedFont font;  // made from the font property; without it the stock GUI font
  std::optional<DecodedPicture> picture;
  std::optional<PreparedPicture> prepared;  // the bitmap shown, made from the picture
  WNDPROC previousProc = nullptr;
};

// Every unit of this type is a ButtonObject: the engine hands back what
// Create made.
ButtonObject& ObjectOf(UnitObject& unit) { return static_cast<ButtonObject&>(unit); }
const ButtonObject& ObjectOf(const UnitObject& unit) { return static_cast<const ButtonObject&>(unit); }

// Creation maps any other value to right or bottom; writes clamp first.
DWORD HorizontalStyle(std::uint32_t hAlign) { return hAlign == 0 ? BS_LEFT : hAlign == 1 ? BS_CENTER : BS_RIGHT; }
DWORD VerticalStyle(std::uint32_t vAlign) { return vAlign == 0 ? BS_TOP : vAlign == 1 ? BS_VCENTER : BS_BOTTOM; }

std::uint32_t Clamped(std::int32_t value, std::int32_t highest) {
  return static_cast<std::uint32_t>(std::clamp(value, 0, highest));
}

void ReleasePicture(ButtonObject& b) {
  b.prepared.reset();
  b.picture.reset();
}

// The font record as the platform's wide functions take it: the same
// numbers, and the face name ("宋体", say) read as GBK.
LOGFONTW WideLogFont(const LOGFONTA& narrow) {
  // Both records lay out their numbers alike; only the face name differs.
  static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName));
  LOGFONTW wide{};
  std::memcpy(&wide, &narrow, offsetof(LOGFONTA, lfFaceName));
  const std::wstring face = text::WideForDisplay(
      std::string_view(narrow.lfFaceName, strnlen(narrow.lfFaceName, sizeof narrow.lfFaceName)));
  face.copy(wide.lfFaceName, std::min(face.size(), std::size(wide.lfFaceName) - 1));
  return wide;
}

// A 60-byte LOGFONTA becomes the button's font, with the members that would
// tie it to one machine reset; anything else gets the stock GUI font. The
// font the control showed goes once it shows the new one.
void ApplyFont(ButtonObject& b) {
  OwnedFont font;
  const std::vector<std::uint8_t>& bytes = b.properties.font;
  if (bytes.size() == kLogFontSize) {
    LOGFONTA lf;
    static_assert(sizeof lf == kLogFontSize);
    std::memcpy(&lf, bytes.data(), sizeof lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = 0;
    lf.lfClipPrecision = 0;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = 0;
    const LOGFONTW wide = WideLogFont(lf);
    font.reset(CreateFontIndirectW(&wide));
  }
  HGDIOBJ shown = font ? static_cast<HGDIOBJ>(font.get()) : GetStockObject(DEFAULT_GUI_FONT);
  SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
  b.font = std::move(font);
}

// Decodes and prepares the picture; the image style it needs, or 0.
DWORD PreparePictureImage(ButtonObject& b) {
  const std::vector<std::uint8_t>& bytes = b.properties.picture;
  if (bytes.empty()) return 0;
  b.picture = DecodePicture(bytes.data(), bytes.size());
  if (!b.picture) return 0;
  HDC screen = GetDC(nullptr);
  b.prepared = PreparePicture(screen, *b.picture);
  ReleaseDC(nullptr, screen);
  if (!b.prepared) {
    ReleasePicture(b);
    return 0;
  }
  return b.prepared->icon != nullptr ? BS_ICON : BS_BITMAP;
}

void ReplaceStyle(HWND hwnd, DWORD mask, DWORD bits) {
  DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((style & ~mask) | bits));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  UnitObject* unit = UnitOfWindow(hwnd);
  if (unit == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  ButtonObject& b = ObjectOf(*unit);
  WNDPROC previous = b.previousProc;
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      UnitId window = b.window, self = b.unit;
      LRESULT result = CallWindowProcW(previous, hwnd, message, wParam, lParam);
      FireEvent(window, self, message == WM_SETFOCUS ? unit_event::kGotFocus : unit_event::kLostFocus);
      return result;
    }
    case WM_SETCURSOR:
      if (ShowUnitCursor(b)) return TRUE;
      return CallWindowProcW(previous, hwnd, message, wParam, lParam);
    case WM_NCDESTROY: {
      // The font and the picture go with the object, once the control no
      // longer shows them.
      UnitId window = b.window, self = b.unit;
      DetachUnitFromWindow(hwnd);
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      LRESULT result = CallWindowProcW(previous, hwnd, message, wParam, lParam);
      NotifyUnitDestroyed(window, self);
      return result;
    }
    default:
      return CallWindowProcW(previous, hwnd, message, wParam, lParam);
  }
}

std::unique_ptr<UnitObject> Create(const UnitCreateArgs& args) {
  std::optional<ButtonProperties> properties = ReadButtonProperties({args.blob, args.blobLength});
  if (!properties) return nullptr;
  auto b = std::make_unique<ButtonObject>();
  b->properties = std::move(*properties);
  b->operations = &kButtonUnitOperations;
  b->window = args.window;
  b->unit = args.unit;
  const ButtonProperties& p = b->properties;
  DWORD style = args.style | kAlwaysStyle | (p.buttonKind == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                HorizontalStyle(p.hAlign) | VerticalStyle(p.vAlign) | PreparePictureImage(*b);
  // Made and subclassed with the wide functions, the control is a Unicode
  // window: its caption is kept, drawn and read back in UTF-16.
  HWND hwnd = CreateWindowExW(0, L"BUTTON", text::WideForDisplay(p.caption).c_str(), style, args.x, args.y,
                              args.width, args.height, args.parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlId)),
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  AttachUnitToWindow(*b, hwnd);
  b->previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonProc)));
  ApplyFont(*b);
  if (b->prepared && b->prepared->icon != nullptr)
    SendMessageW(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(b->prepared->icon));
  else if (b->prepared)
    SendMessageW(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(b->prepared->bitmap.get()));
  return b;
}

// The Button's own properties by own index (property index - 8).
constexpr int kPicture = OwnIndexOf(kButtonPropertyFields, "picture");
constexpr int kButtonKind = OwnIndexOf(kButtonPropertyFields, "buttonKind");
constexpr int kCaption = OwnIndexOf(kButtonPropertyFields, "caption");
constexpr int kHAlign = OwnIndexOf(kButtonPropertyFields, "hAlign");
constexpr int kVAlign = OwnIndexOf(kButtonPropertyFields, "vAlign");
constexpr int kFont = OwnIndexOf(kButtonPropertyFields, "font");

void PropertyChanged(UnitObject& unit, int ownIndex, int, const PropertyValue& v) {
  ButtonObject& b = ObjectOf(unit);
  ButtonProperties& p = b.properties;
  HWND hwnd = b.hwnd;
  switch (ownIndex) {
    case kPicture: p.picture = v.bytes; break;
    case kButtonKind:
      p.buttonKind = Clamped(v.low, 1);
      ReplaceStyle(hwnd, BS_DEFPUSHBUTTON, p.buttonKind == 1 ? BS_DEFPUSHBUTTON : 0);
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case kCaption: p.caption = v.text; SetWindowTextW(hwnd, text::WideForDisplay(p.caption).c_str()); break;
    case kHAlign:
      p.hAlign = Clamped(v.low, 2);
      ReplaceStyle(hwnd, kHorizontalBits, HorizontalStyle(p.hAlign));
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case kVAlign:
      p.vAlign = Clamped(v.low, 2);
      ReplaceStyle(hwnd, kVerticalBits, VerticalStyle(p.vAlign));
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case kFont: p.font = v.bytes; ApplyFont(b); break;
    default: break;
  }
}

PropertyValue ReadProperty(const UnitObject& unit, int ownIndex, int) {
  return ReadPropertyField(kButtonPropertyFields, ObjectOf(unit).properties, ownIndex);
}

std::vector<std::uint8_t> Serialise(const UnitObject& unit) { return SerialiseButtonProperties(ObjectOf(unit).properties); }

bool IsDefaultButton(const UnitObject& unit) {
  return (GetWindowLongW(unit.hwnd, GWL_STYLE) & 0x1F) == BS_DEFPUSHBUTTON;
}

// The window hands BN_CLICKED back to the button that sent it.
LRESULT Reflect(UnitObject& unit, UINT message, WPARAM wParam, LPARAM, bool& handled) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    handled = true;
    FireEvent(unit.window, unit.unit, button_event::kClick);
  }
  return 0;
}

}  // namespace

const UnitTypeOperations kButtonUnitOperations = {
    .create = &Create,
    .propertyChanged = &PropertyChanged,
    .serialise = &Serialise,
    .readProperty = &ReadProperty,
    .isDefaultButton = &IsDefaultButton,
    .reflect = &Reflect,
};
