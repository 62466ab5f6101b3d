#include "picture/picture_kind.h"

#include <gtest/gtest.h>

#include <string>

namespace {

PictureKind KindOf(const std::string& bytes) {
  return PictureKindOf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(PictureKindTest, FirstSixBytesTellTheKind) {
  const struct {
    std::string bytes;
    PictureKind kind;
  } cases[] = {
      {std::string("\xFF\xD8\xFF\xE0\0\x10", 6), PictureKind::kJpeg},
      {std::string("\xFF\xD8\0\0\0\0\0\0", 8), PictureKind::kJpeg},
      {std::string("BM\0\0\0\0", 6), PictureKind::kBmp},
      {std::string("\0\0\1\0\1\0", 6), PictureKind::kIcon},
      {std::string("\0\0\1\0\x1B\0", 6), PictureKind::kIcon},
      {std::string("\0\0\2\0\1\0", 6), PictureKind::kCursor},
      {std::string("\0\0\1\0\0\0", 6), PictureKind::kNone},  // no images
      {std::string("\0\0\2\0\0\0", 6), PictureKind::kNone},
      {std::string("\0\0\3\0\1\0", 6), PictureKind::kNone},
      {std::string("\1\0\1\0\1\0", 6), PictureKind::kNone},  // reserved word set
      {"GIF87a", PictureKind::kGif},
      {"GIF89a", PictureKind::kGif},
      {"GIF90a", PictureKind::kNone},
      {std::string("\x0A\x05\x01\x08\0\0", 6), PictureKind::kPcx8},
      {std::string("\x0A\x00\x01\x08\0\0", 6), PictureKind::kPcx8},
      {std::string("\x0A\x06\x01\x08\0\0", 6), PictureKind::kNone},  // version above 5
      {std::string("\x0A\x03\x01\x01\0\0", 6), PictureKind::kPcx1},
      {std::string("\x0A\x05\x01\x01\0\0", 6), PictureKind::kNone},  // 1 bit only in version 3
      {std::string("\x0A\x03\x00\x08\0\0", 6), PictureKind::kNone},  // not run-length encoded
      {std::string("\x89PNG\r\n\x1A\n", 8), PictureKind::kNone},
      {std::string("\xFF\xD8\xFF\xE0\0", 5), PictureKind::kNone},  // five bytes are no picture
      {std::string("BM", 2), PictureKind::kNone},
      {std::string(), PictureKind::kNone},
  };
  for (const auto& c : cases) EXPECT_EQ(KindOf(c.bytes), c.kind) << testing::PrintToString(c.bytes);
  EXPECT_EQ(PictureKindOf(nullptr, 6), PictureKind::kNone);
}

}  // namespace
