// The installer's carried constants: every text it uses and the two payloads,
// in one read-only block laid out by the build from constants.txt.
#pragma once

#include <cstdint>
#include <string_view>

#include "assets/constant_pool_layout.h"
#include "host/byte_set.h"

// The whole block, as carried.
std::basic_string_view<std::uint8_t> ConstantPoolBlock();

// A NUL-terminated text of the pool, in GBK.
const char* PoolText(pool::Text text);

// One of the carried payloads.
ByteSetView PoolBytes(pool::Bytes bytes);
