// JPEG pictures decoded with libjpeg from memory, silently: a stream that
// libjpeg rejects, or whose pixels would not fit the size rules of
// picture_pixels.h, gives no picture and writes nothing anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "picture/picture_pixels.h"

// Greyscale output is spread to all three channels; output of any other
// number of components than one or three (CMYK, YCCK) is refused. A stream
// cut short decodes as far as its data goes.
std::optional<PixelPicture> DecodeJpeg(const std::uint8_t* bytes, std::size_t length);
