#include "form/description/form_description_stream.h"

#include <algorithm>
#include <cstdint>

bool ByteReader::Dword(std::uint32_t& value) {
  if (remaining() < 4) return false;
  value = LoadDword(bytes_.data() + position_);
  position_ += 4;
  return true;
}

bool ByteReader::Dword(std::int32_t& value) {
  std::uint32_t bits = 0;
  if (!Dword(bits)) return false;
  value = static_cast<std::int32_t>(bits);
  return true;
}

bool ByteReader::Logical(bool& value) {
  std::uint32_t bits = 0;
  if (!Dword(bits)) return false;
  value = bits != 0;
  return true;
}

bool ByteReader::Skip(std::size_t count) {
  if (count > remaining()) return false;
  position_ += count;
  return true;
}

bool ByteReader::TerminatedString(std::span<const std::uint8_t>& text) {
  std::span<const std::uint8_t> rest = bytes_.subspan(position_);
  auto nul = std::find(rest.begin(), rest.end(), std::uint8_t{0});
  if (nul == rest.end()) return false;
  text = rest.first(static_cast<std::size_t>(nul - rest.begin()));
  position_ += text.size() + 1;
  return true;
}

bool ByteReader::CountedText(std::string& text) {
  std::size_t start = position_;
  std::uint32_t length = 0;
  if (!Dword(length) || length > remaining()) {
    position_ = start;
    return false;
  }
  const std::uint8_t* first = bytes_.data() + position_;
  text.assign(reinterpret_cast<const char*>(first), length);
  position_ += length;
  return true;
}

bool ByteReader::ByteBuffer(std::span<const std::uint8_t>& bytes) {
  std::size_t start = position_;
  std::uint32_t length = 0;
  if (!Dword(length)) return false;
  if (static_cast<std::int32_t>(length) <= 0) {
    bytes = {};
    return true;
  }
  if (length > remaining()) {
    position_ = start;
    return false;
  }
  bytes = bytes_.subspan(position_, length);
  position_ += length;
  return true;
}

bool ByteReader::ByteBuffer(std::vector<std::uint8_t>& bytes) {
  std::span<const std::uint8_t> view;
  if (!ByteBuffer(view)) return false;
  bytes.assign(view.begin(), view.end());
  return true;
}

void AppendDword(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t bytes[4];
  StoreDword(bytes, value);
  out.insert(out.end(), bytes, bytes + 4);
}

void AppendBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void AppendTerminatedString(std::vector<std::uint8_t>& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

void AppendCountedText(std::vector<std::uint8_t>& out, std::string_view text) {
  AppendDword(out, static_cast<std::uint32_t>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

void AppendByteBuffer(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  AppendDword(out, static_cast<std::uint32_t>(bytes.size()));
  AppendBytes(out, bytes);
}
