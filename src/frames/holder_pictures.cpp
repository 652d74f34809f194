#include "frames/holder_pictures.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace kelto::frames {

// Stand-in pictures until the cam drawings are carried: a spoke that turns 20 degrees
// clockwise a frame, and a ring.
MonoPicture HolderPicture(int holderNumber) {
    if (holderNumber < 1 || holderNumber > kHolderCount)
        throw std::out_of_range("no frame holder Image" + std::to_string(holderNumber));
    MonoPicture picture(480, 480);
    const double cx = 239.5, cy = 241.25;
    const double angle = (195.0 - 20.0 * (holderNumber - 1)) * std::numbers::pi / 180.0;
    for (int r = 0; r <= 170; ++r)
        picture.Set(static_cast<int>(std::lround(cx + r * std::cos(angle))),
                    static_cast<int>(std::lround(cy - r * std::sin(angle))), kBlack);
    for (int step = 0; step < 2000; ++step) {
        const double a = step * 2 * std::numbers::pi / 2000;
        picture.Set(static_cast<int>(std::lround(cx + 185.9 * std::cos(a))),
                    static_cast<int>(std::lround(cy - 185.9 * std::sin(a))), kBlack);
    }
    picture.Set(0, 2, kBlack);
    return picture;
}

}  // namespace kelto::frames
