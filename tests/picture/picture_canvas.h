// A 32-bit top-down bitmap in a memory device context, for drawing into and
// for reading back what a window painted.
#pragma once

#include <cstdint>

#include <windows.h>

#include "picture_fixtures.h"

class PictureCanvas {
 public:
  PictureCanvas(int width, int height);
  ~PictureCanvas();
  PictureCanvas(const PictureCanvas&) = delete;
  PictureCanvas& operator=(const PictureCanvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void Fill(COLORREF colour);
  // Copies the window's client area as it is on screen now.
  void CopyFrom(HWND window);
  picture_fixtures::Rgb At(int x, int y) const;

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  const std::uint32_t* bits_ = nullptr;
};
