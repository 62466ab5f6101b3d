// Icon (.ico) and cursor (.cur) files: the directory, the choice of one image
// and the checks that make the chosen image's bytes safe to hand to the
// platform. Nothing in a file is trusted: counts, offsets and sizes are
// checked against the data before anything is read through them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "picture/picture_kind.h"

struct IconFileImage {
  PictureKind kind;    // kIcon or kCursor, by the file's type
  std::size_t entry;   // index in the directory
  std::size_t offset;  // of the image's bytes in the file
  std::size_t size;    // of the image's bytes
  std::int32_t width;  // from the image itself, not from the directory
  std::int32_t height;
  std::uint16_t bitCount;  // of a bitmap image; 0 for a PNG image
  bool png;
  std::uint16_t hotspotX;  // cursor files keep the hot spot in the directory entry
  std::uint16_t hotspotY;
};

// The first entry whose colour-count byte is at least 16 and whose width byte
// is wantedWidth, else the last entry; none when the file or that entry's
// image is malformed.
std::optional<IconFileImage> ChooseIconImage(const std::uint8_t* bytes, std::size_t length, unsigned wantedWidth);

// The first image of a cursor file (type 2, more than 22 bytes), or none.
std::optional<IconFileImage> FirstCursorImage(const std::uint8_t* bytes, std::size_t length);
