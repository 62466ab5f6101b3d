// Pictures made by the tests: JPEGs compressed with libjpeg from a colour
// function, a plain libjpeg decode to compare against, icon and cursor files
// built byte by byte, the carried art, and the malformed pictures that every
// build must refuse.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace picture_fixtures {

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

bool Near(Rgb a, Rgb b, int tolerance);
void PrintTo(const Rgb& colour, std::ostream* out);

using ColourAt = std::function<Rgb(int x, int y)>;

enum class JpegSpace { kColour, kGrey, kCmyk };

struct JpegOptions {
  JpegSpace space = JpegSpace::kColour;
  int quality = 95;
  bool progressive = false;
};

std::string MakeJpeg(int width, int height, const ColourAt& colour, const JpegOptions& options = {});
std::string SolidJpeg(int width, int height, Rgb colour);

// The picture cut into a grid of equal blocks, each of one colour from
// `colours` (row by row, cycling); lossy compression keeps block centres.
std::string BlockJpeg(int width, int height, int columns, int rows, const std::vector<Rgb>& colours);
Rgb BlockColour(int x, int y, int width, int height, int columns, int rows, const std::vector<Rgb>& colours);

// The output of libjpeg's own memory source with default settings: rows top
// first, components as libjpeg gives them.
struct ReferenceDecode {
  int width = 0;
  int height = 0;
  int components = 0;
  std::vector<std::uint8_t> samples;
};
ReferenceDecode DecodeWithLibjpeg(const std::string& jpeg);

// The frame header's height and width replaced, as a hostile file would.
std::string WithFrameSize(std::string jpeg, std::uint16_t width, std::uint16_t height);

struct IconEntry {
  std::uint8_t width = 0;
  std::uint8_t height = 0;
  std::uint8_t colourCount = 0;
  std::uint16_t planesOrHotspotX = 1;
  std::uint16_t bitCountOrHotspotY = 0;
  std::string image;
  // Directory fields that lie about the image; by default they tell the truth.
  std::int64_t claimedSize = -1;
  std::int64_t claimedOffset = -1;
};

// A .ico (type 1) or .cur (type 2) file; `count` overrides the image count.
std::string MakeIconFile(std::uint16_t type, const std::vector<IconEntry>& entries, int count = -1);

// An icon image as icon files store it: a 40-byte header with twice the
// height, the colour table, colour rows and an all-opaque mask.
std::string DibIconImage(int width, int height, int bitCount, Rgb colour = {200, 40, 40});

// A PNG signature and IHDR chunk claiming width × height, as far as a reader
// of icon directories looks.
std::string PngHead(std::uint32_t width, std::uint32_t height);

// Pointer data: the kind as a little-endian dword, then `after`.
std::string CursorSpecOfKind(std::int32_t kind, const std::string& after = {});

std::string ReadArt(const std::string& name);  // background.jpg, velmora.ico, hand.cur

struct MalformedPicture {
  const char* name;
  std::string bytes;
};
// Each is answered with no picture, no icon and no cursor image.
std::vector<MalformedPicture> MalformedPictures();

}  // namespace picture_fixtures
