// The mouse pointer of a unit, made from its CursorSpec (see
// cursor_choice.h). System pointers and the program's own hand are
// shared and must never be destroyed; a pointer made from cursor-file bytes
// belongs to its unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include <windows.h>

#include "host/handle_owners.h"

class UnitCursor {
 public:
  UnitCursor() = default;
  static UnitCursor Shared(HCURSOR cursor) { return UnitCursor(cursor, OwnedCursor()); }
  static UnitCursor Owned(OwnedCursor cursor) {
    const HCURSOR handle = cursor.get();
    return UnitCursor(handle, std::move(cursor));
  }

  HCURSOR get() const { return handle_; }
  bool isOwned() const { return static_cast<bool>(owned_); }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  UnitCursor(HCURSOR handle, OwnedCursor owned) : handle_(handle), owned_(std::move(owned)) {}
  HCURSOR handle_ = nullptr;
  OwnedCursor owned_;  // empty for shared pointers
};

// An empty result means the unit has no pointer of its own and shows its
// window class's pointer.
UnitCursor MakeUnitCursor(const std::uint8_t* cursorSpec, std::size_t length);
