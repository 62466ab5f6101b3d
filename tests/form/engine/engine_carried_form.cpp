#include "engine_carried_form.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "app/program_routines.h"
#include "app/program_types.h"
#include "assets/form_block.h"
#include "assets/form_units.h"
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

bool showOnCreate = false;

// In place of each of the installer's routines: the window's created routine
// shows the window when asked to, the others note that they ran.
template <std::size_t Index>
EventReply Routine(const std::int32_t*, std::uint32_t) {
  constexpr std::uint32_t offset = kProgramRoutineNames[Index].offset;
  if (offset == BoundOffset(kFormUnits, kWindowUnit, window_event::kCreated)) {
    if (showOnCreate) WriteUnitProperty(kStartWindow, kWindowUnit, kPropertyVisible, -1, 1, 0);
  } else {
    engine_fixtures::Journal().push_back(engine_fixtures::RanEntry(static_cast<int>(offset), CurrentEventSource().unit));
  }
  return {};
}

template <std::size_t... Index>
constexpr std::array<ProgramRoutine, sizeof...(Index)> Routines(std::index_sequence<Index...>) {
  return {ProgramRoutine{kProgramRoutineNames[Index].offset, &Routine<Index>}...};
}

constexpr auto kRoutines = Routines(std::make_index_sequence<std::size(kProgramRoutineNames)>());
const ProgramCode kCode{kProgramCodeImage, kRoutines.data(), kRoutines.size()};

}  // namespace

std::string ClickedEntry(UnitId button) {
  return engine_fixtures::RanEntry(static_cast<int>(BoundOffset(kFormUnits, button, button_event::kClick)), button);
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

std::vector<UnitId> TabCycle() {
  const UnitId start = FocusedUnit();
  std::vector<UnitId> cycle{start};
  for (std::size_t i = 0; i < std::size(kFormUnits); ++i) {
    PressKey(VK_TAB);
    if (FocusedUnit() == start) return cycle;
    cycle.push_back(FocusedUnit());
  }
  ADD_FAILURE() << "Tab never brought the focus back to " << std::hex << start;
  return cycle;
}

}  // namespace carried_form
