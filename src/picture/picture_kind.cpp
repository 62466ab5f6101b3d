#include "picture/picture_kind.h"

#include <cstring>

#include "host/byte_order.h"

namespace {

constexpr std::size_t kKindBytes = 6;

bool IsIconDirectory(const std::uint8_t* p, std::uint16_t type) {
  return LoadWord(p) == 0 && LoadWord(p + 2) == type && LoadWord(p + 4) != 0;
}

}  // namespace

PictureKind PictureKindOf(const std::uint8_t* bytes, std::size_t length) {
  if (bytes == nullptr || length < kKindBytes) return PictureKind::kNone;
  const std::uint8_t* p = bytes;
  if (p[0] == 0xFF && p[1] == 0xD8) return PictureKind::kJpeg;
  if (p[0] == 'B' && p[1] == 'M') return PictureKind::kBmp;
  if (IsIconDirectory(p, 1)) return PictureKind::kIcon;
  if (IsIconDirectory(p, 2)) return PictureKind::kCursor;
  if (std::memcmp(p, "GIF87a", kKindBytes) == 0 || std::memcmp(p, "GIF89a", kKindBytes) == 0) return PictureKind::kGif;
  // PCX: manufacturer 0x0A, version, encoding 1 (run-length), bits per pixel.
  if (p[0] == 0x0A && p[1] <= 5 && p[2] == 1 && p[3] == 8) return PictureKind::kPcx8;
  if (p[0] == 0x0A && p[1] == 3 && p[2] == 1 && p[3] == 1) return PictureKind::kPcx1;
  return PictureKind::kNone;
}
