#include "picture/picture_icon_file.h"

#include <cstring>

#include "host/byte_order.h"
#include "picture/picture_pixels.h"

namespace {

constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr std::size_t kBitmapHeaderBytes = 40;
constexpr std::uint16_t kIconType = 1;
constexpr std::uint16_t kCursorType = 2;
constexpr std::uint8_t kLeastColourCount = 16;
// A cursor file is tried only when it is longer than its header and one
// directory entry.
constexpr std::size_t kLeastCursorFile = kHeaderBytes + kEntryBytes + 1;

constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kIhdrLengthAt = 8;
constexpr std::size_t kIhdrTypeAt = 12;
constexpr std::size_t kIhdrWidthAt = 16;
constexpr std::size_t kIhdrHeightAt = 20;
constexpr std::uint32_t kIhdrDataBytes = 13;
constexpr std::size_t kLeastPng = kIhdrTypeAt + 4 + kIhdrDataBytes + 4;  // signature, IHDR with its CRC

struct Directory {
  std::uint16_t type;
  std::size_t count;
};

std::optional<Directory> ReadDirectory(const std::uint8_t* bytes, std::size_t length) {
  if (bytes == nullptr || length < kHeaderBytes) return std::nullopt;
  const std::uint16_t type = LoadWord(bytes + 2);
  const std::size_t count = LoadWord(bytes + 4);
  if (LoadWord(bytes) != 0 || (type != kIconType && type != kCursorType) || count == 0) return std::nullopt;
  if (count > (length - kHeaderBytes) / kEntryBytes) return std::nullopt;
  return Directory{type, count};
}

const std::uint8_t* EntryAt(const std::uint8_t* bytes, std::size_t index) {
  return bytes + kHeaderBytes + index * kEntryBytes;
}

// Icons are made by the platform at the image's own size; the same bound as
// for decoded pictures keeps a claimed size from asking for gigabytes.
bool SizeIsSane(std::int64_t width, std::int64_t height) { return PixelRowsOf(width, height).has_value(); }

std::optional<IconFileImage> ReadImage(const std::uint8_t* bytes, std::size_t length, const Directory& directory,
                                       std::size_t index) {
  const std::uint8_t* entry = EntryAt(bytes, index);
  const std::size_t size = LoadDword(entry + 8);
  const std::size_t offset = LoadDword(entry + 12);
  if (offset > length || size > length - offset) return std::nullopt;
  const std::uint8_t* image = bytes + offset;

  IconFileImage result{};
  result.kind = directory.type == kIconType ? PictureKind::kIcon : PictureKind::kCursor;
  result.entry = index;
  result.offset = offset;
  result.size = size;
  result.hotspotX = LoadWord(entry + 4);
  result.hotspotY = LoadWord(entry + 6);

  if (size >= sizeof kPngSignature && std::memcmp(image, kPngSignature, sizeof kPngSignature) == 0) {
    // A PNG image has no bitmap header; its size is in the IHDR chunk.
    if (size < kLeastPng || LoadBigEndianDword(image + kIhdrLengthAt) != kIhdrDataBytes ||
        std::memcmp(image + kIhdrTypeAt, "IHDR", 4) != 0)
      return std::nullopt;
    const std::uint32_t width = LoadBigEndianDword(image + kIhdrWidthAt);
    const std::uint32_t height = LoadBigEndianDword(image + kIhdrHeightAt);
    if (width == 0 || height == 0 || !SizeIsSane(width, height)) return std::nullopt;
    result.width = static_cast<std::int32_t>(width);
    result.height = static_cast<std::int32_t>(height);
    result.png = true;
    return result;
  }

  if (size < kBitmapHeaderBytes) return std::nullopt;
  // The bitmap's height counts the colour rows and the mask rows together.
  const std::int32_t width = static_cast<std::int32_t>(LoadDword(image + 4));
  const std::int32_t doubleHeight = static_cast<std::int32_t>(LoadDword(image + 8));
  if (width <= 0 || doubleHeight < 2 || !SizeIsSane(width, doubleHeight / 2)) return std::nullopt;
  result.width = width;
  result.height = doubleHeight / 2;
  result.bitCount = LoadWord(image + 14);
  return result;
}

}  // namespace

std::optional<IconFileImage> ChooseIconImage(const std::uint8_t* bytes, std::size_t length, unsigned wantedWidth) {
  const std::optional<Directory> directory = ReadDirectory(bytes, length);
  if (!directory) return std::nullopt;
  std::size_t chosen = directory->count - 1;
  for (std::size_t i = 0; i < directory->count; ++i) {
    const std::uint8_t* entry = EntryAt(bytes, i);
    if (entry[2] >= kLeastColourCount && entry[0] == wantedWidth) {
      chosen = i;
      break;
    }
  }
  return ReadImage(bytes, length, *directory, chosen);
}

std::optional<IconFileImage> FirstCursorImage(const std::uint8_t* bytes, std::size_t length) {
  if (length < kLeastCursorFile) return std::nullopt;
  const std::optional<Directory> directory = ReadDirectory(bytes, length);
  if (!directory || directory->type != kCursorType) return std::nullopt;
  return ReadImage(bytes, length, *directory, 0);
}
