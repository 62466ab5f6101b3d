// What a unit's CursorSpec, its mouse-pointer data, asks for: a pointer kind
// (a dword, or the first byte alone when the data is shorter), optionally
// followed by the bytes of a cursor file. The choice is portable;
// picture_cursor.h makes the cursor.
#pragma once

#include <cstddef>
#include <cstdint>

enum class CursorSpecSource {
  kNone,        // the unit shows its window class's pointer
  kSystem,      // the system pointer `systemPointer`, an IDC_ number
  kOwnHand,     // the program's own hand pointer, which stands in for the system's
  kCursorFile,  // the cursor file that starts at `fileOffset`
};

struct CursorSpecChoice {
  // Data that is itself a cursor file (kind not -1, more than 10 bytes) is
  // tried as one first; `source` applies when that gives nothing.
  bool tryWholeAsFile = false;
  CursorSpecSource source = CursorSpecSource::kNone;
  std::uint16_t systemPointer = 0;
  std::size_t fileOffset = 0;
  bool operator==(const CursorSpecChoice&) const = default;
};

// The program's own cursor resource that stands in for the system's hand.
constexpr std::uint16_t kOwnHandResource = 1032;

std::int32_t CursorKindOf(const std::uint8_t* cursorSpec, std::size_t length);
CursorSpecChoice ChooseCursor(const std::uint8_t* cursorSpec, std::size_t length);
