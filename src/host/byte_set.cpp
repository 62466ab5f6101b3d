#include "host/byte_set.h"

#include "host/byte_order.h"

ByteSetView ByteSetAt(const std::uint8_t* p) {
  return ByteSetView{p + kByteSetHeaderSize, LoadDword(p + 4)};
}
