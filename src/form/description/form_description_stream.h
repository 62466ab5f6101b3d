// The primitives of the form description's byte stream: little-endian dwords,
// counted texts, byte buffers and terminated strings. The stream packs fields
// without alignment, so every value is assembled byte by byte; a reader never
// looks past the end of its range, and every length is compared with what
// remains before it is used, so that no position arithmetic can overflow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/byte_order.h"

// A forward-only reader over one range. A read that does not fit answers
// false and leaves the position where it was.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t position() const { return position_; }
  std::size_t remaining() const { return bytes_.size() - position_; }

  bool Dword(std::uint32_t& value);
  bool Dword(std::int32_t& value);
  // A dword logical: any value but 0 is true.
  bool Logical(bool& value);
  bool Skip(std::size_t count);
  // A terminated string: the bytes before its NUL, which must lie in range;
  // the NUL is consumed too.
  bool TerminatedString(std::span<const std::uint8_t>& text);
  // A dword length n and n bytes, n taken as unsigned.
  bool CountedText(std::string& text);
  // A dword length n taken as signed: 0 or less is empty with nothing after it.
  bool ByteBuffer(std::span<const std::uint8_t>& bytes);
  bool ByteBuffer(std::vector<std::uint8_t>& bytes);

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

void AppendDword(std::vector<std::uint8_t>& out, std::uint32_t value);
void AppendBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes);
void AppendTerminatedString(std::vector<std::uint8_t>& out, std::string_view text);
void AppendCountedText(std::vector<std::uint8_t>& out, std::string_view text);
// Byte buffers longer than 0x7FFFFFFF bytes cannot be written: their length
// would read back as negative, that is empty. Callers keep below it.
void AppendByteBuffer(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes);
