// What kind of picture a byte string holds, told by its first six bytes alone.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PictureKind : std::uint8_t {
  kNone = 0,
  kJpeg = 1,
  kBmp = 2,
  kIcon = 3,
  kCursor = 4,
  kGif = 5,
  kPcx8 = 6,  // PCX, 8 bits per pixel
  kPcx1 = 7,  // PCX, 1 bit per pixel
};

// The first matching test wins; data of five bytes or fewer is no picture.
PictureKind PictureKindOf(const std::uint8_t* bytes, std::size_t length);
