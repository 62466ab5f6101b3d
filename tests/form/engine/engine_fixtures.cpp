#include "engine_fixtures.h"

#include <array>
#include <cstdio>
#include <utility>

#include "app/program_routines.h"
#include "form/description/button_properties.h"
#include "form/description/window_properties.h"
#include "form/engine/engine_start.h"
#include "form/engine/live_units.h"
#include "form/engine/loader.h"
#include "form/engine/message_loop.h"
#include "form/engine/template_access.h"
#include "form/units/button_unit.h"
#include "form/units/window_unit.h"

namespace engine_fixtures {

namespace {

using RoutineAction = std::function<EventReply(const std::int32_t*, std::uint32_t)>;

std::array<RoutineAction, kRoutineCount>& Actions() {
  static std::array<RoutineAction, kRoutineCount> actions;
  return actions;
}

template <int N>
EventReply Routine(const std::int32_t* arguments, std::uint32_t count) {
  Journal().push_back(RanEntry(N, CurrentEventSource().unit));
  const RoutineAction& action = Actions()[N];
  return action ? action(arguments, count) : EventReply{};
}

template <std::size_t... N>
constexpr std::array<ProgramRoutine, sizeof...(N)> RoutineTable(std::index_sequence<N...>) {
  return {ProgramRoutine{RoutineOffset(static_cast<int>(N)), &Routine<static_cast<int>(N)>}...};
}

constexpr auto kRoutines = RoutineTable(std::make_index_sequence<kRoutineCount>());

std::string Hex(UnitId id) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08X", id);
  return digits;
}

const char* WindowState(bool shown) { return shown ? "shown" : "hidden"; }

bool TopLevelShown(HWND hwnd) { return IsWindowVisible(GetAncestor(hwnd, GA_ROOT)) != FALSE; }

struct ProbeObject final : UnitObject {
  WNDPROC previous = nullptr;
};

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* probe = static_cast<ProbeObject*>(UnitOfWindow(hwnd));
  if (probe == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  WNDPROC previous = probe->previous;
  UnitId window = probe->window, self = probe->unit;
  switch (message) {
    case WM_SHOWWINDOW:
      // Only an explicit show; a parent's showing reports its children too.
      if (wParam && lParam == 0) Journal().push_back(ShownEntry(self, TopLevelShown(hwnd)));
      break;
    case kUnitsCreatedMessage:
      FireEvent(window, self, kUnitsCreatedEvent);
      break;
    case kLoadFinishedMessage:
      FireEvent(window, self, kLoadFinishedEvent);
      break;
    case WM_NCDESTROY: {
      DetachUnitFromWindow(hwnd);
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      Journal().push_back(DestroyedEntry(self));
      LRESULT result = CallWindowProcA(previous, hwnd, message, wParam, lParam);
      NotifyUnitDestroyed(window, self);
      return result;
    }
    default:
      break;
  }
  return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

extern const UnitTypeOperations kProbeOperations;

std::unique_ptr<UnitObject> CreateProbe(const UnitCreateArgs& args) {
  HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | args.style, args.x, args.y, args.width, args.height,
                              args.parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlId)),
                              GetModuleHandleA(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  // Stacked at the bottom, against the platform's habit of putting a new
  // control on top, so that the final order is the loader's doing alone.
  SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  HWND windowHwnd = WindowOfUnit(args.window, 0);
  Journal().push_back(CreatedEntry(args.unit, static_cast<UINT>(GetDlgCtrlID(hwnd)),
                                   windowHwnd != nullptr && GetParent(hwnd) == windowHwnd, TopLevelShown(hwnd)));
  auto probe = std::make_unique<ProbeObject>();
  probe->operations = &kProbeOperations;
  probe->window = args.window;
  probe->unit = args.unit;
  AttachUnitToWindow(*probe, hwnd);
  probe->previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProbeProc)));
  FireEvent(args.window, args.unit, kCreateEvent);
  return probe;
}

std::unique_ptr<UnitObject> CreateNothing(const UnitCreateArgs&) { return nullptr; }

const UnitTypeOperations kProbeOperations = {.create = &CreateProbe};
const UnitTypeOperations kRefusingOperations = {.create = &CreateNothing};

// 窗口 in the ANSI code page.
const UnitTypeInfo kWindowTypeInfo{"\xB4\xB0\xBF\xDA", kWindowTypeFlags, kWindowPropertyTable,
                                   &kWindowUnitOperations};
const UnitTypeInfo kProbeTypeInfo{"probe", type_flags::kWindowBased, {}, &kProbeOperations};
const UnitTypeInfo kHiddenTypeInfo{
    "hidden", type_flags::kWindowBased | type_flags::kHiddenAtRunTime, {}, &kProbeOperations};
const UnitTypeInfo kRefusingTypeInfo{"refusing", type_flags::kWindowBased, {}, &kRefusingOperations};
const UnitTypeInfo kMuteTypeInfo{"mute", 0, {}, &kRefusingOperations};

// 按钮 in the ANSI code page.
const UnitTypeInfo kButtonTypeInfo{"\xB0\xB4\xC5\xA5", kButtonTypeFlags, kButtonPropertyTable,
                                   &kButtonUnitOperations};

const UnitTypeInfo* const kTypes[] = {&kWindowTypeInfo,   &kProbeTypeInfo, &kHiddenTypeInfo,
                                      &kRefusingTypeInfo, &kMuteTypeInfo,  &kButtonTypeInfo};
const UnitLibrary kLibraries[] = {{kTypes}};

std::vector<CreationRequest>* recording = nullptr;

LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && recording != nullptr) {
    const CREATESTRUCTW& cs = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    char name[64] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    recording->push_back(CreationRequest{name, cs.lpszName != nullptr ? cs.lpszName : L"",
                                         static_cast<DWORD>(cs.style), cs.dwExStyle, cs.x, cs.y, cs.cx, cs.cy});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

std::span<const UnitLibrary> TestLibraries() { return kLibraries; }

const ProgramCode& TestCode() {
  static const ProgramCode code{kProgramCodeImage, kRoutines.data(), kRoutines.size()};
  return code;
}

void SetRoutineAction(int n, RoutineAction action) { Actions()[static_cast<std::size_t>(n)] = std::move(action); }

std::vector<std::string>& Journal() {
  static std::vector<std::string> journal;
  return journal;
}

std::string CreatedEntry(UnitId unit, UINT controlId, bool underItsWindow, bool windowShown) {
  return "created " + Hex(unit) + " as control " + std::to_string(controlId) + " under " +
         (underItsWindow ? "its window" : "another window") + ", window " + WindowState(windowShown);
}

std::string ShownEntry(UnitId unit, bool windowShown) {
  return "shown " + Hex(unit) + ", window " + WindowState(windowShown);
}

std::string DestroyedEntry(UnitId unit) { return "destroyed " + Hex(unit); }

std::string RanEntry(int routine, UnitId source) {
  return "routine " + std::to_string(routine) + " ran for " + Hex(source);
}

std::string RetrievedEntry(UINT message, bool forTheWindow) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04X", message);
  return std::string("retrieved message ") + digits + (forTheWindow ? " for the window" : " for another window");
}

std::string LoadedEntry(HWND window) {
  return std::string("loaded, the window ") + (!IsWindow(window)         ? "gone"
                                               : IsWindowVisible(window) ? "shown"
                                                                         : "hidden");
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", c);
    out += digits;
  }
  return out;
}

void ResetJournal() {
  Journal().clear();
  for (RoutineAction& action : Actions()) action = nullptr;
}

std::vector<EventBinding> WindowBindings() {
  return {{0, RoutineOffset(kOnCreated)},
          {2, RoutineOffset(kOnDestroying)},
          {3, RoutineOffset(kOnMoved)},
          {4, RoutineOffset(kOnResized)}};
}

UnitRecordFields UnitOf(TypeId type, std::uint32_t flags, std::vector<EventBinding> bindings) {
  UnitRecordFields f;
  f.type = type;
  f.left = 10;
  f.top = 10;
  f.width = 60;
  f.height = 20;
  f.cursorSpec = {0, 0, 0, 0};
  f.flags = flags;
  f.bindings = std::move(bindings);
  if (type == kWindowType) {
    WindowProperties p;
    p.caption = "engine test";
    p.startPosition = 0;
    f.propertyBlob = SerialiseWindowProperties(p);
    f.width = 400;
    f.height = 300;
  }
  return f;
}

WindowDescription WindowOf(UnitId window, const std::vector<TestUnit>& units) {
  WindowDescription w;
  w.window = window;
  for (const TestUnit& u : units) w.units.push_back(UnitDescription{u.id, EncodeUnitRecord(u.fields)});
  return w;
}

std::vector<std::uint8_t> FormOf(const std::vector<WindowDescription>& windows) {
  return EncodeFormDescription(windows);
}

void StartRuntime(std::span<const std::uint8_t> block) { InitializeRuntime(TestCode(), TestLibraries(), block); }

TestRuntime::TestRuntime(const std::vector<WindowDescription>& windows) { StartRuntime(FormOf(windows)); }

TestRuntime::~TestRuntime() {
  for (WindowTemplate* t : units::AllWindows())
    if (LiveUnit(*t, 0) != nullptr) DestroyUnit(UnitReference{units::WindowIdOf(*t), 0, kWindowType}, true);
  Settle();
  ResetJournal();
}

CreationRecorder::CreationRecorder() {
  recording = &requests_;
  hook_ = SetWindowsHookExW(WH_CBT, &RecordCreation, nullptr, GetCurrentThreadId());
}

CreationRecorder::~CreationRecorder() { Stop(); }

void CreationRecorder::Stop() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (recording == &requests_) recording = nullptr;
}

std::vector<CreationRequest> CreationRecorder::requests(const std::string& className) const {
  std::vector<CreationRequest> matching;
  for (const CreationRequest& r : requests_)
    if (lstrcmpiA(r.className.c_str(), className.c_str()) == 0) matching.push_back(r);
  return matching;
}

HWND WindowOfUnit(UnitId window, UnitId unit) {
  WindowTemplate* t = units::FindWindow(window);
  std::optional<std::uint32_t> index = t ? units::IndexOf(*t, unit) : std::nullopt;
  UnitObject* live = index ? LiveUnit(*t, *index) : nullptr;
  return live != nullptr ? live->hwnd : nullptr;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }

RECT RectInParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Settle() {
  for (int round = 0; round < 20; ++round) {
    PumpWaitingMessages();
    Sleep(10);
  }
}

}  // namespace engine_fixtures
