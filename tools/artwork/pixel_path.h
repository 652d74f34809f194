#pragma once

#include <functional>
#include <vector>

#include "artwork/cam_geometry.h"

namespace kelto::artwork {

struct Pixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// Pixel holding a drawing point; an exact half goes up and left.
Pixel PixelAt(Point point);

bool Touching(Pixel a, Pixel b);  // 8-neighbours (a pixel does not touch itself)

// Closes a ring of pixels into a one-pixel-thin 8-connected path: gaps are bridged, repeats,
// back-steps and staircase corners removed.
std::vector<Pixel> ThinClosedPath(std::vector<Pixel> ring);
// The same, choosing between two removable corner pixels by their distance to the curve.
std::vector<Pixel> ThinClosedPath(std::vector<Pixel> ring,
                                  const std::function<double(Pixel)>& distanceToCurve);

// Rasterises a densely sampled closed curve (samples well under a pixel apart).
std::vector<Pixel> TraceClosedCurve(const std::vector<Point>& samples);

}  // namespace kelto::artwork
