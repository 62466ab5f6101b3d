// One owner for each platform object the program holds: released when its
// owner goes, on every path, not by remembering. The native build stands in
// for kernel32 only, so the owners of windows' objects (GDI, COM) are the
// Windows build's alone.
#pragma once

#include <utility>

#include <windows.h>

// A Win32 file handle; Close, earlier, gives the verdict a writer needs.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(FileHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  FileHandle& operator=(FileHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

  // False when the platform reports a failure: written data may then not
  // have reached the file.
  bool Close() {
    if (!IsOpen()) return true;
    return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

#ifdef _WIN32

#include <unknwn.h>

// A GDI or USER object, released by Release.
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
using OwnedFont = OwnedHandle<HFONT, DeleteObject>;
using OwnedRegion = OwnedHandle<HRGN, DeleteObject>;
using OwnedMemoryDc = OwnedHandle<HDC, DeleteDC>;

// A device context of a control, released to it: of its client area (GetDC)
// or of its whole window (GetWindowDC).
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

// One reference to a COM interface.
template <typename Interface>
class ComReference {
 public:
  ComReference() = default;
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;
  ~ComReference() { Release(); }

  Interface* operator->() const { return pointer_; }

  // Where CoCreateInstance or QueryInterface stores a new reference; one
  // already held is released first so that it cannot leak.
  void** Receive() {
    Release();
    return reinterpret_cast<void**>(&pointer_);
  }

 private:
  void Release() {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }
  Interface* pointer_ = nullptr;
};

#endif  // _WIN32
