#include "host/byte_set.h"

namespace {

std::uint32_t LittleEndianDword(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

ByteSetView ByteSetAt(const std::uint8_t* p) {
  return ByteSetView{p + kByteSetHeaderSize, LittleEndianDword(p + 4)};
}
