// Little-endian words and dwords at any alignment, as the form description,
// icon and cursor files, the constant pool's byte sets and ZIP headers store
// them: assembled byte by byte, whatever the machine's own order.
#pragma once

#include <cstdint>

constexpr std::uint16_t LoadWord(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

constexpr std::uint32_t LoadDword(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr void StoreDword(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// PNG's numbers are the one big-endian kind the program reads.
constexpr std::uint32_t LoadBigEndianDword(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}
