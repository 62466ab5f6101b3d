// Pictures for windows and buttons: decoding a picture's bytes once, making a
// device bitmap of it for a paint, drawing it, and reading icons and cursors
// from .ico and .cur files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <windows.h>

#include "host/handle_owners.h"
#include "picture/picture_kind.h"

struct DecodedPicture {
  PictureKind kind = PictureKind::kNone;
  std::int32_t width = 0;
  std::int32_t height = 0;
  OwnedIcon icon;                    // the icon and cursor kinds
  std::vector<std::uint8_t> pixels;  // the others: blue-green-red, bottom row first, width × height × 3 bytes
};

// JPEG pictures decode to pixels, icon and cursor files to the icon that
// ReadIconImage chooses for 32 pixels. Anything else, and anything malformed,
// is no picture.
std::optional<DecodedPicture> DecodePicture(const std::uint8_t* bytes, std::size_t length);

struct IconImage {
  OwnedIcon icon;
  PictureKind kind;  // kIcon or kCursor, by the file's type
  std::int32_t width;
  std::int32_t height;
};

// The icon made from the image that ChooseIconImage picks for wantedWidth.
std::optional<IconImage> ReadIconImage(const std::uint8_t* bytes, std::size_t length, unsigned wantedWidth);

// A decoded picture made ready for one device context.
struct PreparedPicture {
  HDC dc = nullptr;
  PictureKind kind = PictureKind::kNone;
  std::int32_t width = 0;
  std::int32_t height = 0;
  HICON icon = nullptr;  // the icon and cursor kinds; it stays the decoded picture's
  OwnedBitmap bitmap;    // the others
};

// Fails without a device context, for a picture whose pixels do not match its
// size, and when the platform makes no bitmap.
std::optional<PreparedPicture> PreparePicture(HDC dc, const DecodedPicture& picture);

// Draws into the prepared picture's device context; a width or height of -1
// is the picture's own.
void DrawPicture(const PreparedPicture& picture, int x, int y, int width, int height, DWORD rasterOperation);

// Deletes the device bitmap as soon as the paint is done with it.
void ReleasePreparedPicture(PreparedPicture& picture);
