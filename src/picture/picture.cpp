#include "picture/picture.h"

#include <cstring>
#include <new>

#include "picture/picture_icon_file.h"
#include "picture/picture_jpeg.h"
#include "picture/picture_pixels.h"

namespace {

constexpr DWORD kIconFormatVersion = 0x00030000;
constexpr unsigned kWantedIconWidth = 32;

bool HasPixels(PictureKind kind) { return kind == PictureKind::kJpeg || kind == PictureKind::kBmp; }

// Stretching blends neighbouring pixels only when the display can show the
// blend; on a palette display the blend would only dither.
int StretchModeForDisplay() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmBitsPerPel > 16) return HALFTONE;
  return COLORONCOLOR;
}

OwnedBitmap MakeDeviceBitmap(HDC dc, const DecodedPicture& picture) {
  const std::optional<PixelRows> rows = PixelRowsOf(picture.width, picture.height);
  if (!rows || picture.pixels.size() != rows->packedBytes) return {};
  // Device-independent bitmaps want every row on a 4-byte boundary; the
  // copy lives only until the device bitmap has been made from it.
  std::vector<std::uint8_t> aligned;
  try {
    aligned.assign(rows->alignedBytes, 0);
  } catch (const std::bad_alloc&) {
    return {};
  }
  for (std::size_t y = 0; y < static_cast<std::size_t>(picture.height); ++y)
    std::memcpy(aligned.data() + y * rows->alignedRowBytes, picture.pixels.data() + y * rows->packedRowBytes,
                rows->packedRowBytes);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return OwnedBitmap(CreateDIBitmap(dc, &info.bmiHeader, CBM_INIT, aligned.data(), &info, DIB_RGB_COLORS));
}

}  // namespace

std::optional<IconImage> ReadIconImage(const std::uint8_t* bytes, std::size_t length, unsigned wantedWidth) {
  const std::optional<IconFileImage> image = ChooseIconImage(bytes, length, wantedWidth);
  if (!image) return std::nullopt;
  // A copy, because the platform reads the image's header in place and an
  // entry may start at any offset of the file.
  std::vector<BYTE> copy(bytes + image->offset, bytes + image->offset + image->size);
  const auto size = static_cast<DWORD>(copy.size());
  OwnedIcon icon(CreateIconFromResourceEx(copy.data(), size, TRUE, kIconFormatVersion, image->width, image->height,
                                          LR_DEFAULTCOLOR));
  if (!icon && image->bitCount != 16) icon.reset(CreateIconFromResource(copy.data(), size, TRUE, kIconFormatVersion));
  if (!icon) return std::nullopt;
  return IconImage{std::move(icon), image->kind, image->width, image->height};
}

std::optional<DecodedPicture> DecodePicture(const std::uint8_t* bytes, std::size_t length) {
  DecodedPicture picture;
  picture.kind = PictureKindOf(bytes, length);
  switch (picture.kind) {
    case PictureKind::kJpeg: {
      std::optional<PixelPicture> pixels = DecodeJpeg(bytes, length);
      if (!pixels) return std::nullopt;
      picture.width = pixels->width;
      picture.height = pixels->height;
      picture.pixels = std::move(pixels->pixels);
      return picture;
    }
    case PictureKind::kIcon:
    case PictureKind::kCursor: {
      std::optional<IconImage> image = ReadIconImage(bytes, length, kWantedIconWidth);
      if (!image) return std::nullopt;
      picture.width = image->width;
      picture.height = image->height;
      picture.icon = std::move(image->icon);
      return picture;
    }
    default:
      // This program carries only JPEG and icon pictures; the other kinds are
      // recognised but not decoded.
      return std::nullopt;
  }
}

std::optional<PreparedPicture> PreparePicture(HDC dc, const DecodedPicture& picture) {
  if (dc == nullptr) return std::nullopt;
  PreparedPicture prepared;
  prepared.dc = dc;
  prepared.kind = picture.kind;
  prepared.width = picture.width;
  prepared.height = picture.height;
  if (picture.icon) {
    prepared.icon = picture.icon.get();
    return prepared;
  }
  if (!HasPixels(picture.kind)) return std::nullopt;
  prepared.bitmap = MakeDeviceBitmap(dc, picture);
  if (!prepared.bitmap) return std::nullopt;
  return prepared;
}

void DrawPicture(const PreparedPicture& picture, int x, int y, int width, int height, DWORD rasterOperation) {
  if (width == -1) width = picture.width;
  if (height == -1) height = picture.height;
  const int stretchMode = StretchModeForDisplay();
  SetStretchBltMode(picture.dc, stretchMode);
  // Halftone stretching lines its pattern up with the brush origin.
  if (stretchMode == HALFTONE) SetBrushOrgEx(picture.dc, 0, 0, nullptr);
  if (picture.icon != nullptr) {
    DrawIconEx(picture.dc, x, y, picture.icon, width, height, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!picture.bitmap) return;
  OwnedMemoryDc source(CreateCompatibleDC(picture.dc));
  if (!source) return;
  const HGDIOBJ previous = SelectObject(source.get(), picture.bitmap.get());
  StretchBlt(picture.dc, x, y, width, height, source.get(), 0, 0, picture.width, picture.height, rasterOperation);
  SelectObject(source.get(), previous);
}

void ReleasePreparedPicture(PreparedPicture& picture) { picture.bitmap.reset(); }
