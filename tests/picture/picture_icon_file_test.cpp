#include "picture/picture_icon_file.h"

#include <gtest/gtest.h>

#include "picture_fixtures.h"

namespace {

using namespace picture_fixtures;

std::optional<IconFileImage> Choose(const std::string& file, unsigned wanted) {
  return ChooseIconImage(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), wanted);
}

std::optional<IconFileImage> FirstCursor(const std::string& file) {
  return FirstCursorImage(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
}

IconEntry Entry(std::uint8_t width, std::uint8_t colourCount, int bitCount) {
  return IconEntry{
      width, width, colourCount, 1, static_cast<std::uint16_t>(bitCount), DibIconImage(width, width, bitCount)};
}

TEST(IconChoiceTest, FirstSixteenColourEntryOfTheWantedWidthElseTheLast) {
  const struct {
    const char* name;
    std::vector<IconEntry> entries;
    unsigned wanted;
    std::size_t chosen;
  } cases[] = {
      {"the matching entry", {Entry(16, 16, 4), Entry(32, 16, 4), Entry(48, 16, 4)}, 32, 1},
      {"the first of two matches", {Entry(32, 0, 8), Entry(32, 16, 4), Entry(32, 16, 4)}, 32, 1},
      {"more colours pass too", {Entry(16, 16, 4), Entry(32, 255, 8)}, 32, 1},
      {"fewer than 16 colours never", {Entry(32, 2, 1), Entry(32, 0, 32), Entry(48, 16, 4)}, 32, 2},
      {"no match: the last", {Entry(16, 16, 4), Entry(48, 16, 4), Entry(24, 0, 32)}, 32, 2},
      {"a single entry", {Entry(48, 0, 32)}, 16, 0},
  };
  for (const auto& c : cases) {
    const std::string file = MakeIconFile(1, c.entries);
    const std::optional<IconFileImage> image = Choose(file, c.wanted);
    ASSERT_TRUE(image) << c.name;
    EXPECT_EQ(image->entry, c.chosen) << c.name;
    EXPECT_EQ(image->kind, PictureKind::kIcon);
    EXPECT_EQ(image->width, c.entries[c.chosen].width) << c.name;
    EXPECT_EQ(image->height, c.entries[c.chosen].width) << c.name;
    EXPECT_EQ(image->size, c.entries[c.chosen].image.size()) << c.name;
    EXPECT_EQ(file.substr(image->offset, image->size), c.entries[c.chosen].image) << c.name;
  }
}

TEST(IconChoiceTest, SizeComesFromTheImageNotTheDirectory) {
  IconEntry lying = Entry(32, 16, 4);
  lying.image = DibIconImage(20, 24, 4);
  const std::optional<IconFileImage> image = Choose(MakeIconFile(1, {lying}), 32);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 20);
  EXPECT_EQ(image->height, 24);
  EXPECT_EQ(image->bitCount, 4);
  EXPECT_FALSE(image->png);
}

TEST(IconChoiceTest, PngEntriesTakeTheirSizeFromIhdr) {
  // Read as a bitmap header, these bytes would claim a width of 0x0A1A0A0D.
  const std::string file = MakeIconFile(1, {IconEntry{0, 0, 0, 1, 32, PngHead(256, 200)}});
  const std::optional<IconFileImage> image = Choose(file, 32);
  ASSERT_TRUE(image);
  EXPECT_TRUE(image->png);
  EXPECT_EQ(image->width, 256);
  EXPECT_EQ(image->height, 200);
  EXPECT_EQ(image->bitCount, 0);
}

TEST(IconChoiceTest, CursorFilesGiveCursorsAndTheirHotSpot) {
  const std::string file = MakeIconFile(2, {IconEntry{32, 32, 0, 5, 9, DibIconImage(32, 32, 1)}});
  const std::optional<IconFileImage> chosen = Choose(file, 32);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->kind, PictureKind::kCursor);
  const std::optional<IconFileImage> first = FirstCursor(file);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->hotspotX, 5);
  EXPECT_EQ(first->hotspotY, 9);
  EXPECT_EQ(first->width, 32);
  EXPECT_EQ(first->height, 32);
  // An icon file is no cursor file, and a cursor file needs more than 22 bytes.
  EXPECT_FALSE(FirstCursor(MakeIconFile(1, {Entry(32, 16, 4)})));
  EXPECT_FALSE(FirstCursor(file.substr(0, 22)));
}

TEST(IconChoiceTest, CarriedIconGivesItsSixteenColourImages) {
  const std::string icon = ReadArt("velmora.ico");
  // The directory: three 256-pixel PNG images, then 16 to 128 pixels at 4,
  // 8 and 32 bits.
  ASSERT_GE(icon.size(), 6u + 27 * 16);
  EXPECT_EQ(icon.substr(0, 6), std::string("\0\0\1\0\x1B\0", 6));
  const unsigned sizes[] = {16, 24, 32, 48, 64, 72, 96, 128};
  const unsigned bitCounts[] = {4, 8, 32};
  for (std::size_t i = 0; i < 27; ++i) {
    const auto* e = reinterpret_cast<const std::uint8_t*>(icon.data()) + 6 + 16 * i;
    const unsigned bitCount = e[6] | e[7] << 8;
    if (i < 3) {
      EXPECT_EQ(e[0], 0) << i;
      EXPECT_EQ(bitCount, bitCounts[i]) << i;
      EXPECT_EQ(icon.substr(e[12] | e[13] << 8 | e[14] << 16, 4), "\x89PNG") << i;
    } else {
      EXPECT_EQ(e[0], sizes[(i - 3) % 8]) << i;
      EXPECT_EQ(bitCount, bitCounts[(i - 3) / 8]) << i;
      EXPECT_EQ(e[2], bitCount == 4 ? 16 : 0) << i;
    }
  }
  const struct {
    unsigned wanted;
    std::size_t entry;
    std::int32_t size;
    bool png;
  } cases[] = {
      {32, 5, 32, false},   {16, 3, 16, false},
      {48, 6, 48, false},   {0, 0, 256, true},  // the 16-colour PNG: width byte 0
      {20, 26, 128, false},                     // no such width: the last entry
  };
  for (const auto& c : cases) {
    const std::optional<IconFileImage> image = Choose(icon, c.wanted);
    ASSERT_TRUE(image) << c.wanted;
    EXPECT_EQ(image->entry, c.entry) << c.wanted;
    EXPECT_EQ(image->width, c.size) << c.wanted;
    EXPECT_EQ(image->height, c.size) << c.wanted;
    EXPECT_EQ(image->png, c.png) << c.wanted;
    if (!c.png) {
      EXPECT_EQ(image->bitCount, c.entry < 11 ? 4 : 32) << c.wanted;
    }
  }
}

TEST(IconChoiceTest, CarriedHandCursorPointsWithItsFingertip) {
  const std::optional<IconFileImage> hand = FirstCursor(ReadArt("hand.cur"));
  ASSERT_TRUE(hand);
  EXPECT_EQ(hand->width, 32);
  EXPECT_EQ(hand->height, 32);
  EXPECT_EQ(hand->hotspotX, 11);
  EXPECT_EQ(hand->hotspotY, 1);
}

TEST(IconChoiceTest, MalformedPicturesGiveNothing) {
  for (const MalformedPicture& bad : MalformedPictures()) {
    EXPECT_FALSE(Choose(bad.bytes, 32)) << bad.name;
    EXPECT_FALSE(Choose(bad.bytes, 16)) << bad.name;
    EXPECT_FALSE(FirstCursor(bad.bytes)) << bad.name;
  }
  EXPECT_FALSE(ChooseIconImage(nullptr, 64, 32));
}

}  // namespace
