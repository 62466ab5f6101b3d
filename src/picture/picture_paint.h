// Painting a window's client area from its background picture, picture mode
// and background colour. The window keeps the decoded picture; every paint
// makes and frees the device bitmap.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <windows.h>

#include "picture/picture.h"

// The colour property's value 0xFF000000 stands for the system's button-face
// colour as it is now.
COLORREF ResolveColour(std::uint32_t colour);

// Paints the clip box: the picture as its mode says, and the background
// colour where the mode leaves the clip box uncovered. Without a picture, or
// with one that cannot be prepared, the whole clip box gets the colour.
void PaintBackground(HDC dc, const RECT& clip, int clientWidth, int clientHeight, const DecodedPicture* picture,
                     std::uint32_t pictureMode, std::uint32_t backColor);

// The window's background into dc, the device context of its WM_PAINT,
// within the clip box. The picture is decoded from pictureBytes into
// `decoded` at the first paint that needs it; one that does not decode is
// tried again at the next paint.
void PaintWindowBackground(HWND window, HDC dc, const std::vector<std::uint8_t>& pictureBytes,
                           std::optional<DecodedPicture>& decoded, std::uint32_t pictureMode, std::uint32_t backColor);
