#include "form/engine/message_loop.h"

#include <vector>

#include "form/engine/events.h"
#include "form/engine/live_units.h"
#include "form/engine/runtime.h"
#include "form/engine/template_access.h"

namespace {

struct IdleEntry {
  HWND window;
  IdleRoutine routine;
  void* parameter;
};

std::vector<IdleEntry>& IdleRoutines() {
  static std::vector<IdleEntry> routines;
  return routines;
}

// One round of idle work; true when something asked for more.
bool RunIdle(DWORD idleSince) {
  bool more = false;
  std::vector<IdleEntry>& routines = IdleRoutines();
  for (std::size_t i = routines.size(); i-- > 0;) {
    if (!IsWindow(routines[i].window)) {
      routines.erase(routines.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    more |= routines[i].routine(routines[i].window, routines[i].parameter);
  }
  for (WindowTemplate* t : units::AllWindows()) {
    if (LiveUnit(*t, 0) == nullptr) continue;
    EventRecord idle;
    idle.window = units::WindowIdOf(*t);
    idle.event = window_event::kIdle;
    idle.argumentCount = 1;
    idle.arguments[0] = static_cast<std::int32_t>(GetTickCount() - idleSince);
    if (FireEvent(idle) && idle.replyGiven && idle.reply != 0) more = true;
  }
  return more;
}

}  // namespace

void RegisterIdleRoutine(HWND window, IdleRoutine routine, void* parameter) {
  IdleRoutines().push_back(IdleEntry{window, routine, parameter});
}

void DispatchWithPreTranslation(MSG& msg) {
  for (HWND hwnd = msg.hwnd; hwnd != nullptr; hwnd = GetParent(hwnd)) {
    if (UnitObject* unit = UnitOfWindow(hwnd); unit != nullptr && unit->operations->preTranslate != nullptr) {
      if (unit->operations->preTranslate(*unit, msg)) return;
    }
    if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) break;
  }
  // A Unicode loop: keys typed into the program's Unicode windows arrive as
  // UTF-16 characters, not in the system's code page.
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void PumpWaitingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    DispatchWithPreTranslation(msg);
  }
}

void RunMessageLoop() {
  runtime::SetLoopStarted();
  if (!AnyWindowLoaded()) return;
  MSG msg;
  for (;;) {
    DWORD idleSince = GetTickCount();
    while (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!RunIdle(idleSince)) {
        WaitMessage();
        break;
      }
    }
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return;
    DispatchWithPreTranslation(msg);
  }
}
