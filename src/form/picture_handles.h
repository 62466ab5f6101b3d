// One owner for each platform object that the picture code makes: the
// object is released when its owner goes, on every path.
#pragma once

#include <utility>

#include <windows.h>

template <typename Handle, auto Release>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle handle) : handle_(handle) {}
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Hands the object to a new owner, which releases it from then on.
  Handle release() { return std::exchange(handle_, nullptr); }
  void reset(Handle handle = nullptr) {
    if (handle_ != nullptr) Release(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using OwnedIcon = OwnedHandle<HICON, DestroyIcon>;
using OwnedCursor = OwnedHandle<HCURSOR, DestroyCursor>;
using OwnedBitmap = OwnedHandle<HBITMAP, DeleteObject>;
using OwnedBrush = OwnedHandle<HBRUSH, DeleteObject>;
using OwnedRegion = OwnedHandle<HRGN, DeleteObject>;
using OwnedMemoryDc = OwnedHandle<HDC, DeleteDC>;
