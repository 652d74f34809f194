#pragma once

namespace kelto {

// The picture area's own units. They span its whole inner area, hidden part included,
// and are not square: 14.88274 units across 479 pixels, 29.84375 down 764.
inline constexpr int kInnerWidth = 479;
inline constexpr int kInnerHeight = 764;
inline constexpr double kUnitsAcross = 14.882740020751953;  // the float 14.88274
inline constexpr double kUnitsDown = 29.84375;

struct PointerUnits {
    float X;
    float Y;
};

// x and y are pixels from the inner area's top-left; fractions and values outside the
// area (a drag past its edge) are converted as they come.
PointerUnits PointerToUnits(double x, double y);

}  // namespace kelto
