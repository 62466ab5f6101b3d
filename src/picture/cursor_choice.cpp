#include "picture/cursor_choice.h"

#include <algorithm>
#include <iterator>

#include "host/byte_order.h"

namespace {

// The system's hand, which the program's own hand pointer stands in for.
constexpr std::uint16_t kHandPointer = 32649;
constexpr std::int32_t kCursorFileKind = -1;
constexpr std::size_t kKindBytes = 4;
// Pointer data is tried as a cursor file as a whole only when longer than 10 bytes.
constexpr std::size_t kLeastWholeFile = 11;

// Pointer kinds 0 to 14 name these system pointers (IDC_ numbers); 0 names none.
constexpr std::uint16_t kPointerByKind[] = {
    0,             // none
    32512,         // arrow
    32515,         // cross
    32513,         // I-beam
    32514,         // wait
    32651,         // help
    32650,         // application starting
    32648,         // no
    32646,         // size all
    32643,         // size north-east to south-west
    32645,         // size north to south
    32642,         // size north-west to south-east
    32644,         // size west to east
    32516,         // up arrow
    kHandPointer,  // hand
};

bool IsKnownPointer(std::int32_t value) {
  return value != 0 &&
         std::find(std::begin(kPointerByKind), std::end(kPointerByKind), value) != std::end(kPointerByKind);
}

}  // namespace

std::int32_t CursorKindOf(const std::uint8_t* cursorSpec, std::size_t length) {
  if (cursorSpec == nullptr || length == 0) return 0;
  if (length < kKindBytes) return cursorSpec[0];
  return static_cast<std::int32_t>(LoadDword(cursorSpec));
}

CursorSpecChoice ChooseCursor(const std::uint8_t* cursorSpec, std::size_t length) {
  std::int32_t kind = CursorKindOf(cursorSpec, length);
  CursorSpecChoice choice;
  choice.tryWholeAsFile = kind != kCursorFileKind && length >= kLeastWholeFile;
  if (kind >= 0 && kind < static_cast<std::int32_t>(std::size(kPointerByKind))) kind = kPointerByKind[kind];
  if (kind == kHandPointer) {
    choice.source = CursorSpecSource::kOwnHand;
  } else if (kind == kCursorFileKind) {
    if (length > kKindBytes) {
      choice.source = CursorSpecSource::kCursorFile;
      choice.fileOffset = kKindBytes;
    }
  } else if (IsKnownPointer(kind)) {
    choice.source = CursorSpecSource::kSystem;
    choice.systemPointer = static_cast<std::uint16_t>(kind);
  }
  return choice;
}
