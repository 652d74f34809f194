#pragma once

namespace kelto {

// Picture1's size and its own units, kept free of Qt: the widget is laid out from these
// numbers and the pointer is scaled by them, so the two cannot drift apart.
inline constexpr int kPictureEdge = 2;  // the sunken edge, all round
inline constexpr int kPictureOuterWidth = 483;
inline constexpr int kPictureOuterHeight = 768;
inline constexpr int kInnerWidth = kPictureOuterWidth - 2 * kPictureEdge;
inline constexpr int kInnerHeight = kPictureOuterHeight - 2 * kPictureEdge;

// The units span the whole inner area, hidden part included, and are not square.
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
