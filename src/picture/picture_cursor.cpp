#include "picture/picture_cursor.h"

#include <vector>

#include "picture/cursor_choice.h"
#include "picture/picture_icon_file.h"

namespace {

constexpr DWORD kIconFormatVersion = 0x00030000;

// A cursor resource is its hot spot, two words, followed by the image.
UnitCursor CursorFromFile(const std::uint8_t* bytes, std::size_t length) {
  const std::optional<IconFileImage> image = FirstCursorImage(bytes, length);
  if (!image) return {};
  std::vector<BYTE> resource{static_cast<BYTE>(image->hotspotX), static_cast<BYTE>(image->hotspotX >> 8),
                             static_cast<BYTE>(image->hotspotY), static_cast<BYTE>(image->hotspotY >> 8)};
  resource.insert(resource.end(), bytes + image->offset, bytes + image->offset + image->size);
  OwnedCursor cursor(CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE,
                                              kIconFormatVersion, image->width, image->height, LR_DEFAULTCOLOR));
  if (!cursor) return {};
  return UnitCursor::Owned(std::move(cursor));
}

}  // namespace

UnitCursor MakeUnitCursor(const std::uint8_t* cursorSpec, std::size_t length) {
  const CursorSpecChoice choice = ChooseCursor(cursorSpec, length);
  if (choice.tryWholeAsFile) {
    if (UnitCursor cursor = CursorFromFile(cursorSpec, length)) return cursor;
  }
  switch (choice.source) {
    case CursorSpecSource::kNone:
      return {};
    case CursorSpecSource::kSystem:
      return UnitCursor::Shared(LoadCursorW(nullptr, MAKEINTRESOURCEW(choice.systemPointer)));
    case CursorSpecSource::kOwnHand:
      return UnitCursor::Shared(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kOwnHandResource)));
    case CursorSpecSource::kCursorFile:
      return CursorFromFile(cursorSpec + choice.fileOffset, length - choice.fileOffset);
  }
  return {};
}
