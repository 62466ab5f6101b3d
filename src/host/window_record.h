// A record of the program's own, kept with a native window and found from the
// window alone, as a window procedure must find it. The engine keeps its live
// units this way and the visual style its taken-over controls, each under a
// property name of its own. The record belongs to whoever made it; the window
// only points at it until it is detached.
#pragma once

#include <windows.h>

template <typename Record>
class WindowRecord {
 public:
  explicit constexpr WindowRecord(const wchar_t* property) : property_(property) {}

  // The window's record, or nullptr.
  Record* Of(HWND window) const {
    return window != nullptr ? static_cast<Record*>(GetPropW(window, property_)) : nullptr;
  }
  // False when the platform could not keep it.
  bool Attach(HWND window, Record& record) const { return SetPropW(window, property_, &record) != FALSE; }
  void Detach(HWND window) const { RemovePropW(window, property_); }

 private:
  const wchar_t* property_;
};
