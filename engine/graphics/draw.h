// 2-D drawing into the 640 x 480 picture (x right, y down), blending, and the pixel-exact
// collision test between strip frames. Everything drawn appears at the next ShowScreen.
#pragma once

#include <cstdint>

namespace zrb {

// Sets the clear colour (red + green * 256 + blue * 65536) and clears the picture at once;
// every presented frame is followed by a clear to this colour.
void ClearScreen(int32_t colour);

// 0: opaque drawing, colour-keyed holes. > 0: additive blending at strength `factor`.
// < 0: translucent blending at strength -factor. The strength is limited to 1. The mode
// holds until changed or until the next presented frame.
void SetAlphaMode(double factor);

// The whole image of the slot, top-left corner at (x, y). An empty slot draws nothing.
void DrawSprite(int32_t slot, int32_t x, int32_t y);

// One frame of a strip, top-left corner at (x, y). Nothing for a slot without frame size.
void DrawAnim(int32_t slot, int32_t frame, int32_t x, int32_t y);

// One frame of a strip turned by `angle` degrees (anticlockwise on screen for positive
// angles) and scaled by `zoom`, about the centre of where DrawAnim would put it.
void RotoZoomAnim(int32_t slot, int32_t frame, int32_t x, int32_t y, double angle, double zoom);

// Fills columns x .. x + width - 1 and rows y .. y + height - 1; a negative width or height
// extends left or up from x or y inclusive. A rectangle in the transparent colour has
// alpha 0, so it only shows while blending is off.
void DrawRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);

// 1 when a non-transparent pixel of frame1 of slot1 drawn at (x1, y1) covers a
// non-transparent pixel of frame2 of slot2 drawn at (x2, y2), else 0.
int32_t AnimCollision(int32_t slot1, int32_t frame1, int32_t x1, int32_t y1, int32_t slot2,
                      int32_t frame2, int32_t x2, int32_t y2);

}  // namespace zrb
