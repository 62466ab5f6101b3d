// The program's own form, loaded by the real engine with the program's unit
// types, and with routines that journal the created event and the clicks in
// place of the installer's handlers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/form_ids.h"
#include "engine_fixtures.h"
#include "form/description/window_properties.h"

namespace carried_form {

// The journal entry of a button's click routine (engine_fixtures::Journal).
std::string ClickedEntry(UnitId button);

// Loads the start window as the installer does; with show, the created
// routine makes it visible, as the installer's does when the game is there.
// Going, it destroys the window if it is still there and drops what the
// window left in the queue (the quit message too, once a loop has run).
class LoadedForm {
 public:
  explicit LoadedForm(bool show);
  ~LoadedForm();
  LoadedForm(const LoadedForm&) = delete;
  LoadedForm& operator=(const LoadedForm&) = delete;

  HWND window() const;
  HWND unit(UnitId unit) const;
  // The window's properties as the form carries them.
  const WindowProperties& properties() const { return properties_; }
  // What loading asked CreateWindowEx for.
  const engine_fixtures::CreationRecorder& creations() const { return creations_; }

 private:
  engine_fixtures::CreationRecorder creations_;
  WindowProperties properties_;
};

// Posts a key's down and up messages to the focused control, with Shift held
// or not, and dispatches them through the engine as its loop does.
void PressKey(WPARAM key, bool shift = false);

// The unit whose control has the focus, or 0.
UnitId FocusedUnit();

// The units that Tab moves the focus through, from the focused one on, found
// by pressing Tab until the focus is back where it started.
std::vector<UnitId> TabCycle();

}  // namespace carried_form
