#include "picture/picture_jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "picture_fixtures.h"

namespace {

using namespace picture_fixtures;

std::optional<PixelPicture> Decode(const std::string& jpeg) {
  return DecodeJpeg(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size());
}

// The decoded pixel at (x, y) counted from the top, as red, green, blue.
Rgb PixelAt(const PixelPicture& picture, int x, int y) {
  const std::size_t row = static_cast<std::size_t>(picture.height - 1 - y);
  const std::uint8_t* p =
      picture.pixels.data() + (row * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x)) * 3;
  return {p[2], p[1], p[0]};
}

// Every pixel equals libjpeg's own decode of the same stream, moved to the
// bottom-up blue-green-red layout.
void ExpectSameAsLibjpeg(const std::string& jpeg) {
  const ReferenceDecode reference = DecodeWithLibjpeg(jpeg);
  const std::optional<PixelPicture> picture = Decode(jpeg);
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, reference.width);
  ASSERT_EQ(picture->height, reference.height);
  ASSERT_EQ(picture->pixels.size(), static_cast<std::size_t>(reference.width) * reference.height * 3);
  for (int y = 0; y < reference.height; ++y)
    for (int x = 0; x < reference.width; ++x) {
      const std::uint8_t* s =
          reference.samples.data() + (static_cast<std::size_t>(y) * reference.width + x) * reference.components;
      const Rgb expected = reference.components == 3 ? Rgb{s[0], s[1], s[2]} : Rgb{s[0], s[0], s[0]};
      ASSERT_EQ(PixelAt(*picture, x, y), expected) << "at " << x << ", " << y;
    }
}

const std::vector<Rgb> kBlocks = {{230, 20, 20}, {20, 200, 40}, {30, 40, 220}, {240, 220, 30}};

TEST(JpegDecodeTest, ColourRowsComeBottomUpAsBlueGreenRed) {
  const std::string jpeg = BlockJpeg(64, 48, 2, 2, kBlocks);
  ExpectSameAsLibjpeg(jpeg);
  const std::optional<PixelPicture> picture = Decode(jpeg);
  ASSERT_TRUE(picture);
  EXPECT_TRUE(Near(PixelAt(*picture, 16, 12), kBlocks[0], 8));  // top left
  EXPECT_TRUE(Near(PixelAt(*picture, 48, 12), kBlocks[1], 8));
  EXPECT_TRUE(Near(PixelAt(*picture, 16, 36), kBlocks[2], 8));
  EXPECT_TRUE(Near(PixelAt(*picture, 48, 36), kBlocks[3], 8));  // bottom right
  EXPECT_EQ(picture->pixels[0], PixelAt(*picture, 0, 47).b);    // the first stored byte is bottom-left blue
}

TEST(JpegDecodeTest, StreamsOfManyPiecesMatchLibjpeg) {
  // Noise makes the stream long enough to arrive in many pieces; odd sizes
  // leave rows that are no multiple of four bytes.
  std::srand(7);
  std::vector<Rgb> noise(331 * 157);
  for (Rgb& c : noise)
    c = {static_cast<std::uint8_t>(std::rand()), static_cast<std::uint8_t>(std::rand()),
         static_cast<std::uint8_t>(std::rand())};
  const ColourAt colour = [&](int x, int y) { return noise[static_cast<std::size_t>(y) * 331 + x]; };
  const std::string baseline = MakeJpeg(331, 157, colour);
  ASSERT_GT(baseline.size(), 10u * 4096);
  ExpectSameAsLibjpeg(baseline);
  ExpectSameAsLibjpeg(MakeJpeg(331, 157, colour, {JpegSpace::kColour, 80, true}));
}

TEST(JpegDecodeTest, GreyscaleIsSpreadToAllThreeChannels) {
  const std::string jpeg = MakeJpeg(40, 30,
                                    [](int x, int y) {
                                      const auto v = static_cast<std::uint8_t>(x * 6 + y);
                                      return Rgb{v, v, v};
                                    },
                                    {JpegSpace::kGrey});
  ExpectSameAsLibjpeg(jpeg);
  const std::optional<PixelPicture> picture = Decode(jpeg);
  ASSERT_TRUE(picture);
  for (std::size_t i = 0; i < picture->pixels.size(); i += 3) {
    ASSERT_EQ(picture->pixels[i], picture->pixels[i + 1]);
    ASSERT_EQ(picture->pixels[i], picture->pixels[i + 2]);
  }
}

TEST(JpegDecodeTest, OnePixel) {
  const std::optional<PixelPicture> picture = Decode(SolidJpeg(1, 1, {250, 120, 10}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 1);
  EXPECT_EQ(picture->height, 1);
  ASSERT_EQ(picture->pixels.size(), 3u);
  EXPECT_TRUE(Near(PixelAt(*picture, 0, 0), {250, 120, 10}, 6));
}

TEST(JpegDecodeTest, StreamCutShortKeepsTheRowsItHas) {
  // Red above, blue below, and cuts in the blue half of the coded rows: the
  // red rows are whole and the picture keeps its full size.
  const std::string jpeg = BlockJpeg(64, 64, 1, 2, {{230, 20, 20}, {30, 40, 220}});
  const std::size_t scan = jpeg.find("\xFF\xDA");
  ASSERT_NE(scan, std::string::npos);
  const std::size_t coded = jpeg.size() - scan;
  for (const std::size_t keep : {jpeg.size() - 2, jpeg.size() - 8, scan + coded * 3 / 4}) {
    const std::optional<PixelPicture> picture = Decode(jpeg.substr(0, keep));
    ASSERT_TRUE(picture) << keep;
    EXPECT_EQ(picture->width, 64);
    EXPECT_EQ(picture->height, 64);
    EXPECT_TRUE(Near(PixelAt(*picture, 10, 4), {230, 20, 20}, 8)) << keep;
  }
  // With no coded rows at all, the picture still has its size.
  const std::optional<PixelPicture> headerOnly = Decode(jpeg.substr(0, scan + 14));
  ASSERT_TRUE(headerOnly);
  EXPECT_EQ(headerOnly->pixels.size(), 64u * 64u * 3u);
}

TEST(JpegDecodeTest, CarriedBackgroundIs1279By719) {
  const std::string background = ReadArt("background.jpg");
  const std::optional<PixelPicture> picture = Decode(background);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 1279);
  EXPECT_EQ(picture->height, 719);
  EXPECT_EQ(picture->pixels.size(), 1279u * 719u * 3u);
  const ReferenceDecode reference = DecodeWithLibjpeg(background);
  EXPECT_EQ(reference.components, 3);
}

TEST(JpegDecodeTest, MalformedPicturesGiveNothing) {
  for (const MalformedPicture& bad : MalformedPictures()) EXPECT_FALSE(Decode(bad.bytes)) << bad.name;
  EXPECT_FALSE(DecodeJpeg(nullptr, 100));
}

TEST(PixelRowsTest, SizesAreCheckedIn64Bits) {
  const std::optional<PixelRows> background = PixelRowsOf(1279, 719);
  ASSERT_TRUE(background);
  EXPECT_EQ(background->packedRowBytes, 3837u);
  EXPECT_EQ(background->alignedRowBytes, 3840u);
  EXPECT_EQ(background->packedBytes, 3837u * 719u);
  EXPECT_EQ(background->alignedBytes, 3840u * 719u);

  // The largest square within the bound passes, one pixel more does not.
  const std::int64_t side = 4729;  // 14188-byte rows × 4729 rows is just below 64 MiB
  EXPECT_TRUE(PixelRowsOf(side, side));
  EXPECT_FALSE(PixelRowsOf(side + 1, side + 1));
  for (const auto& [w, h] : std::vector<std::pair<std::int64_t, std::int64_t>>{
           {0, 10}, {10, 0}, {-1, 10}, {10, -5}, {43691, 32768}, {65500, 65500}, {INT32_MAX, 1}, {1, INT64_MAX}})
    EXPECT_FALSE(PixelRowsOf(w, h)) << w << " x " << h;
}

}  // namespace
