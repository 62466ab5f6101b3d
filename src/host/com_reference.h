// One owner for one reference to a COM interface, released when the owner
// goes, on every path.
#pragma once

#include <utility>

#include <windows.h>
#include <unknwn.h>

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
