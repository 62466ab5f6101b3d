#include "picture/picture_pixels.h"

std::optional<PixelRows> PixelRowsOf(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
  const std::uint64_t packedRow = static_cast<std::uint64_t>(width) * 3;
  const std::uint64_t alignedRow = (packedRow + 3) & ~std::uint64_t{3};
  const std::uint64_t rows = static_cast<std::uint64_t>(height);
  // Both factors are below 2^33, so the product cannot wrap in 64 bits.
  if (alignedRow * rows > kMaxPictureBytes) return std::nullopt;
  return PixelRows{static_cast<std::size_t>(packedRow), static_cast<std::size_t>(alignedRow),
                   static_cast<std::size_t>(packedRow * rows), static_cast<std::size_t>(alignedRow * rows)};
}
