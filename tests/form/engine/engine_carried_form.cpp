#include "engine_carried_form.h"

#include "app/program_types.h"
#include "app/routine_names.h"
#include "assets/form_block.h"
#include "engine_fixtures.h"
#include "form/engine/engine_start.h"
#include "form/engine/events.h"
#include "form/engine/loader.h"
#include "form/engine/message_loop.h"
#include "form/engine/properties.h"
#include "form/engine/template_access.h"

namespace carried_form {

namespace {

using namespace form_ids;

// The installer's routines, at the offsets the form binds them by.
constexpr std::uint32_t kOnWindowCreated = RoutineOffset("OnWindowCreated");
constexpr std::uint32_t kOnForumClicked = RoutineOffset("OnForumClicked");
constexpr std::uint32_t kOnInstallClicked = RoutineOffset("OnInstallClicked");
constexpr std::uint32_t kOnUninstallClicked = RoutineOffset("OnUninstallClicked");

bool showOnCreate = false;

EventReply WindowCreated(const std::int32_t*, std::uint32_t) {
  if (showOnCreate) WriteUnitProperty(kStartWindow, kWindowUnit, kPropertyVisible, -1, 1, 0);
  return {};
}

template <std::uint32_t Offset>
EventReply Clicked(const std::int32_t*, std::uint32_t) {
  engine_fixtures::Journal().push_back(engine_fixtures::RanEntry(static_cast<int>(Offset), CurrentEventSource().unit));
  return {};
}

const ProgramRoutine kRoutines[] = {
    {kOnWindowCreated, &WindowCreated},
    {kOnForumClicked, &Clicked<kOnForumClicked>},
    {kOnInstallClicked, &Clicked<kOnInstallClicked>},
    {kOnUninstallClicked, &Clicked<kOnUninstallClicked>},
};
const ProgramCode kCode{0x00401000, 0x1000, kRoutines, std::size(kRoutines)};

}  // namespace

std::string ClickedEntry(UnitId button) {
  std::uint32_t routine = button == kInstallButton ? kOnInstallClicked
                          : button == kForumButton ? kOnForumClicked
                                                   : kOnUninstallClicked;
  return engine_fixtures::RanEntry(static_cast<int>(routine), button);
}

LoadedForm::LoadedForm(bool show) {
  InitializeRuntime(kCode, ProgramUnitTypes(), FormDescriptionBlock());
  properties_ = *ReadWindowProperties(units::PropertyBlobOf(*units::FindWindow(kStartWindow), 0));
  showOnCreate = show;
  LoadStartWindow(kStartWindow);
  creations_.Stop();
  engine_fixtures::Settle();
}

LoadedForm::~LoadedForm() {
  if (window() != nullptr) DestroyUnit(UnitReference{kStartWindow, kWindowUnit, kWindowType}, true);
  PumpWaitingMessages();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  engine_fixtures::ResetJournal();
}

HWND LoadedForm::window() const { return engine_fixtures::WindowOfUnit(kStartWindow, 0); }

HWND LoadedForm::unit(UnitId unit) const { return engine_fixtures::WindowOfUnit(kStartWindow, unit); }

void PressKey(WPARAM key, bool shift) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  HWND target = GetFocus();
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  engine_fixtures::Settle();
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

UnitId FocusedUnit() {
  UnitObject* unit = UnitOfWindow(GetFocus());
  return unit != nullptr ? unit->unit : 0;
}

}  // namespace carried_form
