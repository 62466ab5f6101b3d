// ByteSet: a counted byte string, laid out as a little-endian dword dimension
// count (always 1), a little-endian dword length, then the bytes. The carried
// payloads are stored this way; a view reads the header byte by byte because
// the constant pool packs entries without alignment.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t kByteSetHeaderSize = 8;

struct ByteSetView {
  const std::uint8_t* bytes = nullptr;
  std::uint32_t size = 0;
};

// A view of the ByteSet whose header starts at p.
ByteSetView ByteSetAt(const std::uint8_t* p);
