#include "form/units/zip_unit.h"

#include <memory>

#include "form/engine/events.h"
#include "form/engine/loader.h"
#include "zip/extract.h"

namespace {

constexpr wchar_t kClassName[] = L"VelmoraZipUnit";

LRESULT CALLBACK ZipUnitProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    if (UnitObject* unit = UnitOfWindow(hwnd)) {
      UnitId window = unit->window, self = unit->unit;
      DetachUnitFromWindow(hwnd);
      NotifyUnitDestroyed(window, self);
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterClassOnce() {
  HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSW existing;
  if (GetClassInfoW(module, kClassName, &existing)) return true;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &ZipUnitProc;
  wc.hInstance = module;
  wc.lpszClassName = kClassName;
  return RegisterClassW(&wc) != 0;
}

std::unique_ptr<UnitObject> Create(const UnitCreateArgs& args) {
  if (!RegisterClassOnce()) return nullptr;
  HWND hwnd = CreateWindowExW(0, kClassName, L"", args.style | WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER, args.x, args.y,
                              args.width, args.height, args.parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlId)),
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  auto unit = std::make_unique<UnitObject>();
  unit->operations = &kZipUnitOperations;
  unit->window = args.window;
  unit->unit = args.unit;
  AttachUnitToWindow(*unit, hwnd);
  return unit;
}

// The unit has no properties of its own.
std::vector<std::uint8_t> Serialise(const UnitObject&) { return {}; }
PropertyValue ReadProperty(const UnitObject&, int, int) { return {}; }

// Who raises the progress event. Kept apart from the unit object, which a
// handler may destroy along with the window while extraction goes on.
struct ProgressSource {
  HWND hwnd;
  UnitId window;
  UnitId unit;
};

// Raises the progress event while the unit's window exists; a false reply
// cancels, unless the handler took the window away.
bool ReportProgress(void* context, int percent) {
  const auto* source = static_cast<const ProgressSource*>(context);
  HWND hwnd = source->hwnd;
  if (!IsWindow(hwnd)) return true;
  EventRecord record;
  record.window = source->window;
  record.unit = source->unit;
  record.event = zip_event::kProgress;
  record.argumentCount = 1;
  record.arguments[0] = percent;
  bool ran = FireEvent(record);
  if (!IsWindow(hwnd)) return true;
  return !HandlerDeclined(ran, record);
}

}  // namespace

const UnitTypeOperations kZipUnitOperations = {
    .create = &Create,
    .serialise = &Serialise,
    .readProperty = &ReadProperty,
};

int ExtractArchive(UnitObject& zipUnit, const std::string& archive, const std::string& destination,
                   const KeepAlive* keepAlive) {
  ProgressSource source{zipUnit.hwnd, zipUnit.window, zipUnit.unit};
  return ExtractArchiveTo(archive, destination, ExtractProgress{&ReportProgress, &source, keepAlive});
}
