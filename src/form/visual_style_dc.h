// A device context of a control, released to it when the owner goes on every
// path: of its client area (GetDC) or of its whole window (GetWindowDC).
#pragma once

#include <windows.h>

class ControlDc {
 public:
  enum class Area { Client, Window };
  ControlDc(HWND control, Area area)
      : control_(control), dc_(area == Area::Window ? GetWindowDC(control) : GetDC(control)) {}
  ~ControlDc() {
    if (dc_ != nullptr) ReleaseDC(control_, dc_);
  }
  ControlDc(const ControlDc&) = delete;
  ControlDc& operator=(const ControlDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND control_;
  HDC dc_;
};
