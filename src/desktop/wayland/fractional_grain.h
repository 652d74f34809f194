#pragma once

#include <QRect>

namespace kelto {

// A compositor's fractional scale comes in 120ths (wp_fractional_scale_v1): 180 is 1.5. Screen
// pixels and surface units meet every `PixelGrain` pixels only: 3 pixels are 2 units at 1.5,
// 7 are 4 at 1.75, 5 are 4 at 1.25. A surface placed and sized on that grain shows its buffer
// pixel for pixel.
int PixelGrain(int scale120);
// The rectangle grown outward to the grain.
QRect OnGrain(const QRect& pixels, int grain);
// Screen pixels as surface units; exact on the grain.
int ToUnits(int pixels, int scale120);

}  // namespace kelto
