#include "window/picture_area_units.h"

namespace kelto {

PointerUnits PointerToUnits(double x, double y) {
    // kUnitsDown / kInnerHeight is 1/25.6, exact in binary, so Y carries one rounding only.
    constexpr double kUnitsPerRow = kUnitsDown / kInnerHeight;
    static_assert(kUnitsPerRow == 0.0390625);
    return {static_cast<float>(kUnitsAcross * x / kInnerWidth),
            static_cast<float>(y * kUnitsPerRow)};
}

}  // namespace kelto
