// Arbitrary bytes as a picture: the kind test, the JPEG decoder, the icon and
// cursor directory readers and the pointer-data choice. Beyond not crashing,
// every answer must keep the promises the painter and the platform calls
// rely on; a broken promise stops the run.
#include <cstddef>
#include <cstdint>

#include "picture/cursor_choice.h"
#include "picture/picture_icon_file.h"
#include "picture/picture_jpeg.h"
#include "picture/picture_kind.h"
#include "picture/picture_pixels.h"

namespace {

void Require(bool promise) {
  if (!promise) __builtin_trap();
}

void CheckImage(const std::optional<IconFileImage>& image, std::size_t size) {
  if (!image) return;
  Require(image->offset <= size && image->size <= size - image->offset);
  Require(image->width > 0 && image->height > 0);
  Require(PixelRowsOf(image->width, image->height).has_value());
  Require(image->kind == PictureKind::kIcon || image->kind == PictureKind::kCursor);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PictureKindOf(data, size);

  if (const std::optional<PixelPicture> picture = DecodeJpeg(data, size)) {
    const std::optional<PixelRows> rows = PixelRowsOf(picture->width, picture->height);
    Require(rows.has_value() && picture->pixels.size() == rows->packedBytes);
  }

  CheckImage(ChooseIconImage(data, size, 32), size);
  CheckImage(ChooseIconImage(data, size, 16), size);
  CheckImage(FirstCursorImage(data, size), size);

  const CursorSpecChoice cursor = ChooseCursor(data, size);
  Require(cursor.source != CursorSpecSource::kCursorFile || cursor.fileOffset < size);
  return 0;
}
