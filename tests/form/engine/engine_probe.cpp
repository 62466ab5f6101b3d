// engine_probe MODE
// Runs one thing that must happen in a fresh process: the message loop,
// whose start is remembered for the whole process, or a fatal runtime error,
// which ends it. Prints what it saw for engine_test to compare:
//  - a fatal mode prints the error box's owner, caption, flags and text (as
//    hex bytes) and whether events were suppressed when it came up;
//  - a destroy mode prints its journal, one entry a line.
#include <windows.h>

#include <cstdio>
#include <string>

#include "engine_fixtures.h"
#include "form/engine/loader.h"
#include "form/engine/message_loop.h"
#include "form/engine/properties.h"
#include "form/engine/runtime.h"

using namespace engine_fixtures;

namespace {

constexpr UnitId kRefusedUnit = 0x16010001;
constexpr UnitId kMuteUnit = 0x16010002;
constexpr UnitId kAbsentUnit = 0x16010077;
constexpr UnitReference kWindowReference{kWindow, kWindowUnit, kWindowType};

// kWindow: a hidden window; kOtherWindow: a window whose units cannot be
// made, one of them of a type that may not raise events.
std::vector<std::uint8_t> ProbeForm() {
  return FormOf({WindowOf(kWindow, {{kWindowUnit, UnitOf(kWindowType, 0, WindowBindings())}}),
                 WindowOf(kOtherWindow, {{kWindowUnit, UnitOf(kWindowType, 0)},
                                         {kRefusedUnit, UnitOf(kRefusingType, 5)},
                                         {kMuteUnit, UnitOf(kMuteType, 5)}})});
}

int PrintFatalBox(HWND owner, const char* text, const char* caption, UINT flags) {
  std::printf("owner %s\ncaption %s\nflags %u\ntext %s\nsuppressed %d\n", owner == nullptr ? "none" : "a window",
              HexBytes(caption).c_str(), flags, HexBytes(text).c_str(), runtime::EventSuppression() > 0 ? 1 : 0);
  return IDOK;
}

// The message loop's retrievals, while tracing.
HWND tracedWindow = nullptr;
bool tracing = false;

LRESULT CALLBACK TraceRetrieval(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE && tracing) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    Journal().push_back(RetrievedEntry(msg.message, msg.hwnd == tracedWindow));
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

// Loads the start window, whose created handler asks for its own
// destruction, and runs the loop.
int LoadDestroyAndLoop(bool immediately) {
  StartRuntime(ProbeForm());
  SetRoutineAction(kOnCreated, [immediately](const std::int32_t*, std::uint32_t) {
    tracedWindow = WindowOfUnit(kWindow, 0);
    DestroyUnit(kWindowReference, immediately);
    return EventReply{};
  });
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &TraceRetrieval, nullptr, GetCurrentThreadId());
  LoadStartWindow(kWindow);
  Journal().push_back(LoadedEntry(tracedWindow));
  tracing = true;
  RunMessageLoop();
  tracing = false;
  Journal().push_back(kLoopReturnedEntry);
  MSG msg;
  if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) Journal().push_back(kQuitWaitingEntry);
  UnhookWindowsHookEx(hook);
  for (const std::string& entry : Journal()) std::printf("%s\n", entry.c_str());
  return 0;
}

// Each mode ends in a fatal runtime error.
struct FatalMode {
  const char* name;
  void (*run)();
};

void StartProbeForm() { StartRuntime(ProbeForm()); }

const FatalMode kFatalModes[] = {
    {"unreadable-form",
     [] {
       std::vector<std::uint8_t> form = ProbeForm();
       form.pop_back();
       StartRuntime(form);
     }},
    {"missing-start-window",
     [] {
       StartProbeForm();
       LoadStartWindow(kUnknownWindow);
     }},
    {"failing-start-window",
     [] {
       StartProbeForm();
       LoadStartWindow(kOtherWindow);
     }},
    {"destroy-unloaded-window",
     [] {
       StartProbeForm();
       DestroyUnit(kWindowReference);
     }},
    {"object-of-absent-unit",
     [] {
       StartProbeForm();
       LoadStartWindow(kWindow);
       GetUnitObject(kWindow, kAbsentUnit);
     }},
    {"write-unknown-window",
     [] {
       StartProbeForm();
       WriteUnitProperty(kUnknownWindow, 0, kPropertyLeft, -1, 1, 0);
     }},
    {"read-unknown-window",
     [] {
       StartProbeForm();
       ReadUnitProperty(kUnknownWindow, 0, kPropertyLeft, -1);
     }},
    {"type-property-unloaded",
     [] {
       StartProbeForm();
       WriteUnitProperty(kWindow, kWindowUnit, kFirstTypeProperty, -1, 1, 0);
     }},
    {"event-unknown-window",
     [] {
       StartProbeForm();
       FireEvent(kUnknownWindow, 0, 0);
     }},
    {"event-absent-unit",
     [] {
       StartProbeForm();
       FireEvent(kWindow, kAbsentUnit, 0);
     }},
    {"event-mute-unit",
     [] {
       StartProbeForm();
       FireEvent(kOtherWindow, kMuteUnit, 0);
     }},
    // An allocation that fails with nobody to catch it.
    {"out-of-memory",
     [] {
       StartProbeForm();
       // Out of the compiler's sight, which refuses a size it can see is too large.
       volatile std::size_t size = kImpossibleAllocation;
       void* volatile block = ::operator new(size);
       static_cast<void>(block);
     }},
};

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc == 2 ? argv[1] : "";
  if (mode == "posted-destroy") return LoadDestroyAndLoop(false);
  if (mode == "immediate-destroy") return LoadDestroyAndLoop(true);
  for (const FatalMode& fatal : kFatalModes) {
    if (mode != fatal.name) continue;
    runtime::SetFatalBoxSeam({&PrintFatalBox});
    runtime::RegisterExitCleanup([] { std::printf("exit clean-up ran\n"); });
    fatal.run();
    std::printf("no fatal error\n");
    return 0;
  }
  std::fprintf(stderr, "engine_probe: unknown mode %s\n", mode.c_str());
  return 2;
}
