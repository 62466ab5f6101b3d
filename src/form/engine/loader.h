// Loading a window template into a live window, and taking it down again.
#pragma once

#include <cstdint>

#include "form/engine/unit_object.h"

struct WindowTemplate;
class BusyWindow;

// Private messages of the engine.
constexpr UINT kDeferredDestroyMessage = 0x8065;
constexpr UINT kUnitsCreatedMessage = 0x806F;
// Sent once the units exist; docking units would lay themselves out on it,
// and none of this program's types docks.
constexpr UINT kDockLayoutMessage = 0x8004;
constexpr UINT kLoadFinishedMessage = 0x8076;

// Loads the template of window as a top-level window without parent; a
// missing template or a failed load is fatal.
void LoadStartWindow(UnitId window);

// Loads t with the given parent (or none). False when a unit cannot be made.
bool LoadWindow(WindowTemplate& t, HWND parent);

// The live object of a unit (0 = the window unit); fatal when the window or
// the unit is not loaded.
UnitObject& GetUnitObject(UnitId window, UnitId unit);

// A reference to a unit as handlers pass it.
struct UnitReference {
  UnitId window;
  UnitId unit;
  TypeId type;
};

// Destroys a unit; for a window unit the whole window, through a posted
// request unless immediately is true.
void DestroyUnit(const UnitReference& reference, bool immediately = false);

// Obeys a pending destroy request of the window (the posted message or an
// immediate request); does nothing when none is pending.
void CarryOutDeferredDestroy(UnitId window);

// Called by every unit type at its native window's last message, after it
// detached its object from the window: the engine deletes the unit's object
// then, and with it what the unit made. The caller touches it no more.
void NotifyUnitDestroyed(UnitId window, UnitId unit);

// Writing visible = true to a window unit: the first-show steps once after
// loading, else a plain show.
void ShowWindowUnit(UnitId window);

// The window the focus went to last time the window was deactivated.
HWND& FocusMemoryOf(UnitId window);

// The sequence that the window's handler runs (busy_window.h), or nullptr
// when none runs or the window is not loaded.
const BusyWindow* BusyWindowOf(UnitId window);
// Setting it for a window that is not loaded does nothing.
void SetBusyWindow(UnitId window, const BusyWindow* busy);
