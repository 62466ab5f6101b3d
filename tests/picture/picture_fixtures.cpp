#include "picture_fixtures.h"

#include <cstdio>  // before jpeglib.h, which uses FILE
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

#include "support/scratch.h"

namespace picture_fixtures {

namespace {

void Put16(std::string& s, std::uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}

void Put32(std::string& s, std::uint32_t v) {
  Put16(s, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(s, static_cast<std::uint16_t>(v >> 16));
}

void Put32BigEndian(std::string& s, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}

}  // namespace

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

void PrintTo(const Rgb& colour, std::ostream* out) {
  *out << "rgb(" << int{colour.r} << ", " << int{colour.g} << ", " << int{colour.b} << ")";
}

std::string MakeJpeg(int width, int height, const ColourAt& colour, const JpegOptions& options) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  switch (options.space) {
    case JpegSpace::kColour:
      info.input_components = 3;
      info.in_color_space = JCS_RGB;
      break;
    case JpegSpace::kGrey:
      info.input_components = 1;
      info.in_color_space = JCS_GRAYSCALE;
      break;
    case JpegSpace::kCmyk:
      info.input_components = 4;
      info.in_color_space = JCS_CMYK;
      break;
  }
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * static_cast<std::size_t>(info.input_components));
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < width; ++x) {
      const Rgb c = colour(x, y);
      JSAMPLE* p = row.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(info.input_components);
      switch (options.space) {
        case JpegSpace::kColour:
          p[0] = c.r;
          p[1] = c.g;
          p[2] = c.b;
          break;
        case JpegSpace::kGrey:
          p[0] = c.r;
          break;
        case JpegSpace::kCmyk:
          p[0] = c.r;
          p[1] = c.g;
          p[2] = c.b;
          p[3] = 0;
          break;
      }
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string jpeg(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return jpeg;
}

std::string SolidJpeg(int width, int height, Rgb colour) {
  return MakeJpeg(width, height, [colour](int, int) { return colour; });
}

Rgb BlockColour(int x, int y, int width, int height, int columns, int rows, const std::vector<Rgb>& colours) {
  const int column = x * columns / width;
  const int row = y * rows / height;
  return colours[static_cast<std::size_t>(row * columns + column) % colours.size()];
}

std::string BlockJpeg(int width, int height, int columns, int rows, const std::vector<Rgb>& colours) {
  return MakeJpeg(width, height,
                  [=](int x, int y) { return BlockColour(x, y, width, height, columns, rows, colours); });
}

ReferenceDecode DecodeWithLibjpeg(const std::string& jpeg) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  ReferenceDecode out;
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.components = info.output_components;
  const std::size_t stride = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.components);
  out.samples.resize(stride * static_cast<std::size_t>(out.height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row[] = {out.samples.data() + info.output_scanline * stride};
    jpeg_read_scanlines(&info, row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return out;
}

std::string WithFrameSize(std::string jpeg, std::uint16_t width, std::uint16_t height) {
  // Start-of-frame markers C0 to CF, except C4 (Huffman tables), C8 and CC.
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 &&
        marker != 0xC8 && marker != 0xCC) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      return jpeg;
    }
  }
  throw std::logic_error("no frame header");
}

std::string MakeIconFile(std::uint16_t type, const std::vector<IconEntry>& entries, int count) {
  std::string file;
  Put16(file, 0);
  Put16(file, type);
  Put16(file, static_cast<std::uint16_t>(count >= 0 ? count : static_cast<int>(entries.size())));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  std::string images;
  for (const IconEntry& e : entries) {
    file += static_cast<char>(e.width);
    file += static_cast<char>(e.height);
    file += static_cast<char>(e.colourCount);
    file += '\0';
    Put16(file, e.planesOrHotspotX);
    Put16(file, e.bitCountOrHotspotY);
    Put32(file,
          e.claimedSize >= 0 ? static_cast<std::uint32_t>(e.claimedSize) : static_cast<std::uint32_t>(e.image.size()));
    Put32(file, e.claimedOffset >= 0 ? static_cast<std::uint32_t>(e.claimedOffset) : offset);
    images += e.image;
    offset += static_cast<std::uint32_t>(e.image.size());
  }
  return file + images;
}

std::string DibIconImage(int width, int height, int bitCount, Rgb colour) {
  const int colours = bitCount <= 8 ? 1 << bitCount : 0;
  const std::size_t colourRow = static_cast<std::size_t>((width * bitCount + 31) / 32 * 4);
  const std::size_t maskRow = static_cast<std::size_t>((width + 31) / 32 * 4);
  std::string image;
  Put32(image, 40);
  Put32(image, static_cast<std::uint32_t>(width));
  Put32(image, static_cast<std::uint32_t>(2 * height));
  Put16(image, 1);
  Put16(image, static_cast<std::uint16_t>(bitCount));
  Put32(image, 0);
  Put32(image, static_cast<std::uint32_t>((colourRow + maskRow) * static_cast<std::size_t>(height)));
  for (int i = 0; i < 4; ++i) Put32(image, 0);
  // Palette entry 1 is the colour; every pixel uses it.
  for (int i = 0; i < colours; ++i) {
    const Rgb c = i == 1 ? colour : Rgb{0, 0, 0};
    image += {static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r), '\0'};
  }
  std::string row;
  for (int x = 0; x < width; ++x) {
    switch (bitCount) {
      case 1:
        if (x % 8 == 0) row += static_cast<char>(0xFF);
        break;
      case 4:
        if (x % 2 == 0) row += static_cast<char>(0x11);
        break;
      case 8:
        row += '\x01';
        break;
      case 24:
        row += {static_cast<char>(colour.b), static_cast<char>(colour.g), static_cast<char>(colour.r)};
        break;
      case 32:
        row += {static_cast<char>(colour.b), static_cast<char>(colour.g), static_cast<char>(colour.r), '\xFF'};
        break;
      default:
        throw std::logic_error("bit count");
    }
  }
  row.resize(colourRow, '\0');
  for (int y = 0; y < height; ++y) image += row;
  image.append(maskRow * static_cast<std::size_t>(height), '\0');
  return image;
}

std::string PngHead(std::uint32_t width, std::uint32_t height) {
  std::string png("\x89PNG\r\n\x1A\n", 8);
  Put32BigEndian(png, 13);
  png += "IHDR";
  Put32BigEndian(png, width);
  Put32BigEndian(png, height);
  png += {'\x08', '\x06', '\0', '\0', '\0'};  // 8 bits, RGBA, no interlace
  Put32BigEndian(png, 0);                     // CRC, not checked by a directory reader
  return png;
}

std::string CursorSpecOfKind(std::int32_t kind, const std::string& after) {
  std::string pointerData;
  Put32(pointerData, static_cast<std::uint32_t>(kind));
  return pointerData + after;
}

std::string ReadArt(const std::string& name) {
  return testing_support::ReadWholeFile(testing_support::HostPath(std::string(VELMORA_ART_DIR) + "/" + name));
}

std::vector<MalformedPicture> MalformedPictures() {
  const std::string jpeg = SolidJpeg(16, 16, {10, 200, 30});
  const std::string dib = DibIconImage(32, 32, 4);
  const auto icon = [](std::string image, std::int64_t size = -1, std::int64_t offset = -1) {
    return MakeIconFile(1, {IconEntry{32, 32, 16, 1, 4, std::move(image), size, offset}});
  };
  std::string noHeight = dib;
  noHeight[8] = 1;  // biHeight 1: no room for a mask row
  std::string noWidth = dib;
  noWidth.replace(4, 4, std::string(4, '\0'));
  std::string negativeHeight = dib;
  negativeHeight.replace(8, 4, "\xC0\xFF\xFF\xFF");
  std::string hugeBitmap = dib;
  hugeBitmap.replace(4, 4, std::string("\0\0\1\0", 4));  // 65536 wide, 32 high per half
  hugeBitmap.replace(8, 4, std::string("\0\0\1\0", 4));
  std::string notIhdr = PngHead(32, 32);
  notIhdr.replace(12, 4, "IDAT");
  return {
      {"five bytes", std::string("\xFF\xD8\xFF\xE0\x00", 5)},
      {"empty", std::string()},
      {"jpeg of 43691 x 32768", WithFrameSize(jpeg, 43691, 32768)},
      {"jpeg of 65500 x 65500", WithFrameSize(jpeg, 65500, 65500)},
      {"cmyk jpeg", MakeJpeg(16, 16,
                             [](int, int) {
                               return Rgb{1, 2, 3};
                             },
                             {JpegSpace::kCmyk})},
      {"jpeg cut inside its header", jpeg.substr(0, 40)},
      {"jpeg marker then noise", std::string("\xFF\xD8\x01\x02\x03\x04\x05\x06\x07\x08", 10)},
      {"icon of count 0", MakeIconFile(1, {}, 0) + dib},
      {"icon directory past the end", MakeIconFile(1, {IconEntry{32, 32, 16, 1, 4, dib}}, 3).substr(0, 6 + 16 * 2)},
      {"icon directory cut inside its last entry",
       MakeIconFile(1, {IconEntry{32, 32, 16, 1, 4, dib}, IconEntry{16, 16, 16, 1, 4, dib}}).substr(0, 6 + 16 + 8)},
      {"icon image past the end", icon(dib, static_cast<std::int64_t>(dib.size()) + 1)},
      {"icon image offset past the end", icon(dib, -1, 1 << 20)},
      {"icon image offset wrapping", icon(dib, 0x20, 0xFFFFFFF0)},
      {"icon bitmap shorter than its header", icon(dib.substr(0, 39))},
      {"icon bitmap of width 0", icon(noWidth)},
      {"icon bitmap of height 1", icon(noHeight)},
      {"icon bitmap of negative height", icon(negativeHeight)},
      {"icon bitmap of 65536 x 65536", icon(hugeBitmap)},
      {"icon png entry cut short", icon(PngHead(32, 32).substr(0, 20))},
      {"icon png entry without IHDR", icon(notIhdr)},
      {"icon png entry of width 0", icon(PngHead(0, 32))},
      {"icon png entry of 100000 x 100000", icon(PngHead(100000, 100000))},
      {"icon of type 3", MakeIconFile(3, {IconEntry{32, 32, 16, 1, 4, dib}})},
      {"cursor of count 0", MakeIconFile(2, {}, 0) + dib},
  };
}

}  // namespace picture_fixtures
