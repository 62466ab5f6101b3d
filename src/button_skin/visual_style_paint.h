// Drawing a taken-over push button: the whole control is drawn off screen and
// copied to it in one step, so that it never flickers.
#pragma once

#include <cstdint>
#include <string_view>

#include <windows.h>

#include "button_skin/visual_style_look.h"

// Fills rect with a gradient between its four corner colours: one vertical
// rectangle fill when the top corners are equal and the bottom ones are too
// (all 32 bits compared), otherwise two triangles.
bool FillQuadGradient(HDC dc, const RECT& rect, const QuadColours& corners);

// Draws text in area with the device context's font, laid out as
// LayoutCaption places it.
void DrawCaption(HDC dc, std::wstring_view text, const RECT& area, int alignmentCode);

// Paints the push button control in the look of its state; background is the
// brush its parent answered with, if any. False when a step of the drawing
// could not be done; the control then keeps what it showed before.
bool PaintPushButton(HWND control, std::uint32_t state, HBRUSH background, const PushButtonPalette& palette);
