#include "artwork/pixel_path.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace kelto::artwork {

Pixel PixelAt(Point point) {
    // The tiny bias settles exact halves the same way whatever the last bit of the sum.
    constexpr double kBias = 1e-9;
    return {static_cast<int>(std::floor(point.x + 0.5 - kBias)),
            static_cast<int>(std::floor(point.y + 0.5 - kBias))};
}

bool Touching(Pixel a, Pixel b) {
    return !(a == b) && std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1;
}

namespace {

std::vector<Pixel> Bridged(const std::vector<Pixel>& ring) {
    std::vector<Pixel> out;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Pixel a = ring[i];
        const Pixel b = ring[(i + 1) % ring.size()];
        out.push_back(a);
        const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        for (int s = 1; s < steps; ++s)
            out.push_back(PixelAt({a.x + (b.x - a.x) * static_cast<double>(s) / steps,
                                   a.y + (b.y - a.y) * static_cast<double>(s) / steps}));
    }
    return out;
}

}  // namespace

std::vector<Pixel> ThinClosedPath(std::vector<Pixel> ring) {
    return ThinClosedPath(std::move(ring), [](Pixel) { return 0.0; });
}

std::vector<Pixel> ThinClosedPath(std::vector<Pixel> ring,
                                  const std::function<double(Pixel)>& distanceToCurve) {
    ring = Bridged(ring);
    bool changed = true;
    while (changed && ring.size() > 3) {
        changed = false;
        std::vector<Pixel> kept;
        kept.reserve(ring.size());
        const std::size_t n = ring.size();
        auto after = [&](std::size_t i) {
            return i < n ? ring[i] : (kept.empty() ? ring[i - n] : kept[i - n]);
        };
        for (std::size_t i = 0; i < n; ++i) {
            const Pixel prev = kept.empty() ? ring[n - 1] : kept.back();
            const Pixel next = after(i + 1);
            const Pixel here = ring[i];
            if (here == prev || prev == next) {  // a repeat, or the tip of a back-step
                changed = true;
                continue;
            }
            if (Touching(prev, next)) {
                // A staircase corner. When the next pixel could go instead, the one farther
                // from the curve goes.
                const bool nextCouldGo = Touching(here, after(i + 2));
                if (!nextCouldGo || distanceToCurve(here) >= distanceToCurve(next)) {
                    changed = true;
                    continue;
                }
            }
            kept.push_back(here);
        }
        if (!kept.empty() && kept.front() == kept.back()) kept.pop_back();
        ring = std::move(kept);
    }
    return ring;
}

std::vector<Pixel> TraceClosedCurve(const std::vector<Point>& samples) {
    std::vector<Pixel> ring;
    std::vector<double> nearest;  // closest approach of the curve to each pixel's centre
    ring.reserve(samples.size());
    for (const Point& p : samples) {
        const Pixel pixel = PixelAt(p);
        const double d = std::hypot(p.x - pixel.x, p.y - pixel.y);
        if (ring.empty() || !(ring.back() == pixel)) {
            ring.push_back(pixel);
            nearest.push_back(d);
        } else {
            nearest.back() = std::min(nearest.back(), d);
        }
    }
    std::map<std::pair<int, int>, double> distance;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        auto [it, fresh] = distance.try_emplace({ring[i].x, ring[i].y}, nearest[i]);
        it->second = std::min(it->second, nearest[i]);
    }
    return ThinClosedPath(std::move(ring), [&](Pixel p) {
        const auto it = distance.find({p.x, p.y});
        return it == distance.end() ? 1.0 : it->second;
    });
}

}  // namespace kelto::artwork
