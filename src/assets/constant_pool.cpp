#include "assets/constant_pool.h"

extern "C" const std::uint8_t velmora_constant_pool[];
extern "C" const std::uint8_t velmora_constant_pool_end[];

std::basic_string_view<std::uint8_t> ConstantPoolBlock() {
  return {velmora_constant_pool, static_cast<std::size_t>(velmora_constant_pool_end - velmora_constant_pool)};
}

const char* PoolText(pool::Text text) {
  return reinterpret_cast<const char*>(velmora_constant_pool + static_cast<std::uint32_t>(text));
}

ByteSetView PoolBytes(pool::Bytes bytes) {
  return ByteSetAt(velmora_constant_pool + static_cast<std::uint32_t>(bytes));
}
