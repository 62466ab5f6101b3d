#include "picture_canvas.h"

#include <stdexcept>

PictureCanvas::PictureCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc_ == nullptr || bitmap_ == nullptr) throw std::runtime_error("no canvas");
  bits_ = static_cast<const std::uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
}

PictureCanvas::~PictureCanvas() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void PictureCanvas::Fill(COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, width_, height_};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
  GdiFlush();
}

void PictureCanvas::CopyFrom(HWND window) {
  HDC screen = GetDC(window);
  BitBlt(dc_, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
  ReleaseDC(window, screen);
  GdiFlush();
}

picture_fixtures::Rgb PictureCanvas::At(int x, int y) const {
  const std::uint32_t pixel =
      bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
          static_cast<std::uint8_t>(pixel)};
}
