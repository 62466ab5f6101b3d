// A window whose handler works through a long sequence on the user-interface
// thread (an install, an uninstall). For as long as the sequence lasts the
// window goes on painting and answering the system, shows the busy pointer,
// takes no input and refuses to close: closing it would destroy the window
// and its units under the handler that is still working. The handler looks
// after it between pieces of work (Tend) and waits through it (Wait); a
// second message loop that dispatched input would let the player start
// things in the middle of the sequence.
#pragma once

#include <optional>

#include <windows.h>

#include "form/engine/unit_object.h"
#include "host/keep_alive.h"

// What the program draws over the window's client area while the sequence
// runs, after the window's own painting.
struct BusyOverlay {
  RECT area;  // in client coordinates; the overlay draws nothing outside it
  void (*paint)(HDC dc, const void* context);
  const void* context;
};

class BusyWindow {
 public:
  // Marks the loaded window busy until the object goes.
  explicit BusyWindow(UnitId window, std::optional<BusyOverlay> overlay = std::nullopt);
  ~BusyWindow();
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

  // Handles what is waiting for the thread's windows when they were last
  // looked after long enough ago; true when it did.
  bool Tend();
  // Waits, handling what comes for the thread's windows as it comes.
  void Wait(DWORD milliseconds);
  // Draws the overlay now, for a change of what it shows.
  void RedrawOverlay() const;
  // Draws the overlay into the window's paint.
  void PaintOverlay(HDC dc) const;

  // For the steps of a sequence that draws nothing of its own: every piece
  // of work tends, every pause waits.
  const KeepAlive* keepAlive() const { return &keepAlive_; }

 private:
  UnitId window_;
  HWND hwnd_;
  std::optional<BusyOverlay> overlay_;
  const BusyWindow* previous_;
  DWORD lastTended_;
  KeepAlive keepAlive_;
};
