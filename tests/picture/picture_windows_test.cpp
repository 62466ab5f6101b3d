// Decoding to icons, preparing and drawing pictures with the platform's own
// calls, under Wine.
#include <gtest/gtest.h>

#include "picture/picture.h"
#include "picture_canvas.h"
#include "picture_fixtures.h"

namespace {

using namespace picture_fixtures;

const std::uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

std::optional<DecodedPicture> Decode(const std::string& bytes) { return DecodePicture(Bytes(bytes), bytes.size()); }

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {0, 0};
  BITMAP colour{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof colour, &colour);
  const LONG height = info.hbmColor ? colour.bmHeight : colour.bmHeight / 2;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {colour.bmWidth, height};
}

TEST(DecodePictureTest, JpegGivesPixelsAndNoIcon) {
  const std::optional<DecodedPicture> picture = Decode(BlockJpeg(40, 20, 2, 1, {{240, 10, 10}, {10, 10, 240}}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->kind, PictureKind::kJpeg);
  EXPECT_EQ(picture->width, 40);
  EXPECT_EQ(picture->height, 20);
  EXPECT_FALSE(picture->icon);
  ASSERT_EQ(picture->pixels.size(), 40u * 20u * 3u);
  // Bottom-left pixel first, blue byte first: the red block.
  EXPECT_TRUE(Near({picture->pixels[2], picture->pixels[1], picture->pixels[0]}, {240, 10, 10}, 8));
}

TEST(DecodePictureTest, CarriedBackgroundAndIcon) {
  const std::optional<DecodedPicture> background = Decode(ReadArt("background.jpg"));
  ASSERT_TRUE(background);
  EXPECT_EQ(background->width, 1279);
  EXPECT_EQ(background->height, 719);

  const std::optional<DecodedPicture> icon = Decode(ReadArt("velmora.ico"));
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->kind, PictureKind::kIcon);
  ASSERT_TRUE(icon->icon);
  EXPECT_EQ(icon->width, 32);
  EXPECT_EQ(icon->height, 32);
  EXPECT_TRUE(icon->pixels.empty());
}

TEST(ReadIconImageTest, WindowIconsComeFromTheSixteenColourImages) {
  const std::string file = ReadArt("velmora.ico");
  for (const unsigned wanted : {32u, 16u}) {
    std::optional<IconImage> image = ReadIconImage(Bytes(file), file.size(), wanted);
    ASSERT_TRUE(image) << wanted;
    EXPECT_EQ(image->kind, PictureKind::kIcon);
    EXPECT_EQ(image->width, static_cast<std::int32_t>(wanted));
    const SIZE size = IconSize(image->icon.get());
    EXPECT_EQ(size.cx, static_cast<LONG>(wanted));
    EXPECT_EQ(size.cy, static_cast<LONG>(wanted));
  }
}

TEST(ReadIconImageTest, PngAndCursorImagesBecomeIcons) {
  // The carried 32-bit 256-pixel PNG image alone, and the hand cursor.
  const std::string carried = ReadArt("velmora.ico");
  const auto* entry = Bytes(carried) + 6 + 2 * 16;
  const std::size_t size = entry[8] | entry[9] << 8 | entry[10] << 16;
  const std::size_t offset = entry[12] | entry[13] << 8 | entry[14] << 16;
  const std::string png = MakeIconFile(1, {IconEntry{0, 0, 0, 1, 32, carried.substr(offset, size)}});
  std::optional<IconImage> big = ReadIconImage(Bytes(png), png.size(), 32);
  ASSERT_TRUE(big);
  EXPECT_EQ(big->width, 256);
  EXPECT_EQ(IconSize(big->icon.get()).cx, 256);

  const std::string hand = ReadArt("hand.cur");
  std::optional<DecodedPicture> cursor = Decode(hand);
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->kind, PictureKind::kCursor);
  EXPECT_TRUE(cursor->icon);
}

TEST(ReadIconImageTest, MalformedPicturesGiveNothing) {
  for (const MalformedPicture& bad : MalformedPictures()) {
    EXPECT_FALSE(Decode(bad.bytes)) << bad.name;
    EXPECT_FALSE(ReadIconImage(Bytes(bad.bytes), bad.bytes.size(), 32)) << bad.name;
    EXPECT_FALSE(ReadIconImage(Bytes(bad.bytes), bad.bytes.size(), 16)) << bad.name;
  }
}

// Three pixels a row make nine bytes, which the device bitmap pads to twelve.
DecodedPicture ThreeByTwo() {
  DecodedPicture picture;
  picture.kind = PictureKind::kJpeg;
  picture.width = 3;
  picture.height = 2;
  // Bottom row first, blue-green-red.
  picture.pixels = {0,   0,   255, 0, 255, 0, 255, 0,   0,     // bottom: red, green, blue
                    255, 255, 255, 0, 0,   0, 0,   255, 255};  // top: white, black, yellow
  return picture;
}

TEST(PreparePictureTest, RowsAreAlignedAndDrawnTopUp) {
  PictureCanvas canvas(8, 4);
  canvas.Fill(RGB(1, 2, 3));
  const DecodedPicture picture = ThreeByTwo();
  std::optional<PreparedPicture> prepared = PreparePicture(canvas.dc(), picture);
  ASSERT_TRUE(prepared);
  EXPECT_EQ(prepared->dc, canvas.dc());
  EXPECT_TRUE(prepared->bitmap);
  DrawPicture(*prepared, 1, 1, -1, -1, SRCCOPY);
  ReleasePreparedPicture(*prepared);
  EXPECT_FALSE(prepared->bitmap);
  GdiFlush();
  const Rgb expected[2][3] = {{{255, 255, 255}, {0, 0, 0}, {255, 255, 0}}, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(canvas.At(1 + x, 1 + y), expected[y][x]) << x << ", " << y;
  EXPECT_EQ(canvas.At(0, 0), (Rgb{1, 2, 3}));
  EXPECT_EQ(canvas.At(4, 1), (Rgb{1, 2, 3}));
  EXPECT_EQ(canvas.At(1, 3), (Rgb{1, 2, 3}));
}

TEST(PreparePictureTest, DrawsStretchedAndDrawsIcons) {
  PictureCanvas canvas(64, 64);
  canvas.Fill(RGB(1, 2, 3));
  DecodedPicture picture;
  picture.kind = PictureKind::kJpeg;
  picture.width = 1;
  picture.height = 1;
  picture.pixels = {40, 80, 120};
  std::optional<PreparedPicture> prepared = PreparePicture(canvas.dc(), picture);
  ASSERT_TRUE(prepared);
  DrawPicture(*prepared, 10, 10, 20, 30, SRCCOPY);
  GdiFlush();
  EXPECT_EQ(canvas.At(10, 10), (Rgb{120, 80, 40}));
  EXPECT_EQ(canvas.At(29, 39), (Rgb{120, 80, 40}));
  EXPECT_EQ(canvas.At(30, 39), (Rgb{1, 2, 3}));
  EXPECT_EQ(canvas.At(29, 40), (Rgb{1, 2, 3}));

  const std::string iconFile = MakeIconFile(1, {IconEntry{16, 16, 16, 1, 24, DibIconImage(16, 16, 24, {30, 160, 90})}});
  const std::optional<DecodedPicture> icon = Decode(iconFile);
  ASSERT_TRUE(icon);
  std::optional<PreparedPicture> preparedIcon = PreparePicture(canvas.dc(), *icon);
  ASSERT_TRUE(preparedIcon);
  EXPECT_EQ(preparedIcon->icon, icon->icon.get());
  EXPECT_FALSE(preparedIcon->bitmap);
  DrawPicture(*preparedIcon, 40, 40, -1, -1, SRCCOPY);
  GdiFlush();
  EXPECT_EQ(canvas.At(40, 40), (Rgb{30, 160, 90}));
  EXPECT_EQ(canvas.At(55, 55), (Rgb{30, 160, 90}));
  EXPECT_EQ(canvas.At(56, 56), (Rgb{1, 2, 3}));
}

TEST(PreparePictureTest, RefusesWhatItCannotMake) {
  PictureCanvas canvas(4, 4);
  DecodedPicture picture = ThreeByTwo();
  EXPECT_FALSE(PreparePicture(nullptr, picture));
  picture.pixels.pop_back();  // pixels that do not match the size
  EXPECT_FALSE(PreparePicture(canvas.dc(), picture));
  picture = ThreeByTwo();
  picture.height = -2;
  EXPECT_FALSE(PreparePicture(canvas.dc(), picture));
  picture = ThreeByTwo();
  picture.kind = PictureKind::kGif;  // kinds this program does not decode
  EXPECT_FALSE(PreparePicture(canvas.dc(), picture));
  EXPECT_FALSE(PreparePicture(canvas.dc(), DecodedPicture{}));
}

}  // namespace
