// Decoded pixels: 24-bit, blue-green-red, bottom row first, rows packed
// without alignment. The size rules live here because the decoder and the
// painter's row-aligned copy must agree on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct PixelPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;  // width × height × 3 bytes
};

// The most bytes a decoded picture may take. Each paint makes a row-aligned
// copy and a device bitmap of the same size beside the kept pixels, and all of
// it must fit a 32-bit process's address space with room to spare; this
// product's background needs 2.7 MB.
constexpr std::uint64_t kMaxPictureBytes = 64u << 20;

struct PixelRows {
  std::size_t packedRowBytes;   // width × 3
  std::size_t alignedRowBytes;  // rounded up to a multiple of 4, as device bitmaps want
  std::size_t packedBytes;      // packedRowBytes × height
  std::size_t alignedBytes;     // alignedRowBytes × height
};

// The byte counts of a 24-bit picture, or none when a side is not positive or
// the aligned size passes kMaxPictureBytes. Computed in 64 bits so that no
// claimed size can wrap around to a small buffer.
std::optional<PixelRows> PixelRowsOf(std::int64_t width, std::int64_t height);
