#include "desktop/wayland/fractional_grain.h"

#include <numeric>

namespace kelto {
namespace {

constexpr int kWhole = 120;

int Down(int value, int grain) {
    return value >= 0 ? value / grain * grain : -((-value + grain - 1) / grain * grain);
}

int Up(int value, int grain) {
    return -Down(-value, grain);
}

}  // namespace

int PixelGrain(int scale120) {
    if (scale120 <= 0) return 1;
    return scale120 / std::gcd(scale120, kWhole);
}

QRect OnGrain(const QRect& pixels, int grain) {
    const QPoint topLeft(Down(pixels.left(), grain), Down(pixels.top(), grain));
    const QPoint end(Up(pixels.left() + pixels.width(), grain),
                     Up(pixels.top() + pixels.height(), grain));
    return QRect(topLeft, end - QPoint(1, 1));
}

int ToUnits(int pixels, int scale120) {
    return static_cast<int>(static_cast<long long>(pixels) * kWhole / scale120);
}

}  // namespace kelto
