#include "picture/picture_jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which uses FILE
#include <new>

#include <jpeglib.h>

namespace {

// The decoder is handed the data in pieces of this size, as it would be from
// a file; libjpeg keeps no pointer into a piece once it asks for the next.
constexpr std::size_t kPieceBytes = 4096;
const JOCTET kEndOfImage[] = {0xFF, JPEG_EOI};

struct MemorySource {
  jpeg_source_mgr manager;  // first, so that libjpeg's pointer is this record
  const std::uint8_t* next;
  std::size_t remaining;
};

struct SilentErrors {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer is this record
  std::jmp_buf escape;
};

// Everything libjpeg touches. It is trivially destructible on purpose: a
// decoder error leaves through longjmp, which must skip no destructor.
struct Decoder {
  jpeg_decompress_struct info;
  SilentErrors errors;
  MemorySource source;
};

MemorySource& SourceOf(j_decompress_ptr info) { return *reinterpret_cast<MemorySource*>(info->src); }

void IgnoreSourceEvent(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info) {
  MemorySource& source = SourceOf(info);
  if (source.remaining == 0) {
    // A stream cut short ends as if its end-of-image marker were there: the
    // rows already coded keep their pixels and the rest come out grey.
    source.manager.next_input_byte = kEndOfImage;
    source.manager.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
  }
  const std::size_t piece = std::min(source.remaining, kPieceBytes);
  source.manager.next_input_byte = source.next;
  source.manager.bytes_in_buffer = piece;
  source.next += piece;
  source.remaining -= piece;
  return TRUE;
}

// Skips within what is left instead of refilling piece by piece, so that a
// huge marker length costs nothing once the data has run out.
void SkipInput(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  MemorySource& source = SourceOf(info);
  std::size_t skip = static_cast<unsigned long>(count);
  if (skip <= source.manager.bytes_in_buffer) {
    source.manager.next_input_byte += skip;
    source.manager.bytes_in_buffer -= skip;
    return;
  }
  skip -= source.manager.bytes_in_buffer;
  source.manager.bytes_in_buffer = 0;
  const std::size_t skipped = std::min(skip, source.remaining);
  source.next += skipped;
  source.remaining -= skipped;
}

[[noreturn]] void Escape(j_common_ptr info) { std::longjmp(reinterpret_cast<SilentErrors*>(info->err)->escape, 1); }

void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

bool AllocatePixels(PixelPicture& picture, std::size_t bytes) {
  try {
    picture.pixels.assign(bytes, 0);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Stores one output row as blue-green-red at its place counted from the
// bottom.
void StoreRow(const JSAMPLE* row, int components, std::size_t width, std::uint8_t* target) {
  for (std::size_t x = 0; x < width; ++x, target += 3) {
    const JSAMPLE* pixel = row + x * static_cast<std::size_t>(components);
    target[0] = pixel[components == 3 ? 2 : 0];
    target[1] = pixel[components == 3 ? 1 : 0];
    target[2] = pixel[0];
  }
}

// All libjpeg calls. Any decoder error longjmps out of here; only trivially
// destructible locals live in this frame.
bool DecodeStream(Decoder& d, const std::uint8_t* bytes, std::size_t length, PixelPicture& picture) {
  jpeg_decompress_struct& info = d.info;
  jpeg_create_decompress(&info);
  d.source.manager.init_source = IgnoreSourceEvent;
  d.source.manager.fill_input_buffer = FillInput;
  d.source.manager.skip_input_data = SkipInput;
  d.source.manager.resync_to_restart = jpeg_resync_to_restart;
  d.source.manager.term_source = IgnoreSourceEvent;
  d.source.manager.next_input_byte = nullptr;
  d.source.manager.bytes_in_buffer = 0;
  d.source.next = bytes;
  d.source.remaining = length;
  info.src = &d.source.manager;

  jpeg_read_header(&info, TRUE);
  // Sizes and components are checked before libjpeg or this function
  // allocates anything for the picture.
  jpeg_calc_output_dimensions(&info);
  const int components = info.output_components;
  const std::optional<PixelRows> rows = PixelRowsOf(info.output_width, info.output_height);
  if (!rows || (components != 1 && components != 3)) return false;
  if (!AllocatePixels(picture, rows->packedBytes)) return false;
  picture.width = static_cast<std::int32_t>(info.output_width);
  picture.height = static_cast<std::int32_t>(info.output_height);

  jpeg_start_decompress(&info);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             info.output_width * static_cast<JDIMENSION>(components), 1);
  while (info.output_scanline < info.output_height) {
    const std::size_t fromBottom = info.output_height - 1 - info.output_scanline;
    if (jpeg_read_scanlines(&info, row, 1) != 1) return false;
    StoreRow(row[0], components, info.output_width, picture.pixels.data() + fromBottom * rows->packedRowBytes);
  }
  jpeg_finish_decompress(&info);
  return true;
}

bool RunDecoder(Decoder& d, const std::uint8_t* bytes, std::size_t length, PixelPicture& picture) {
  d.info.err = jpeg_std_error(&d.errors.manager);
  d.errors.manager.error_exit = Escape;
  d.errors.manager.emit_message = IgnoreMessage;
  d.errors.manager.output_message = IgnoreOutput;
  if (setjmp(d.errors.escape) != 0) {
    jpeg_destroy_decompress(&d.info);
    return false;
  }
  const bool decoded = DecodeStream(d, bytes, length, picture);
  jpeg_destroy_decompress(&d.info);
  return decoded;
}

}  // namespace

std::optional<PixelPicture> DecodeJpeg(const std::uint8_t* bytes, std::size_t length) {
  if (bytes == nullptr || length == 0) return std::nullopt;
  Decoder decoder{};
  PixelPicture picture;
  if (!RunDecoder(decoder, bytes, length, picture)) return std::nullopt;
  return picture;
}
