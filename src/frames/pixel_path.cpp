#include "frames/pixel_path.h"

#include <cmath>
#include <cstdlib>

namespace kelto::frames {

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
    ring = Bridged(ring);
    bool changed = true;
    while (changed && ring.size() > 3) {
        changed = false;
        std::vector<Pixel> kept;
        kept.reserve(ring.size());
        const std::size_t n = ring.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Pixel prev = kept.empty() ? ring[n - 1] : kept.back();
            const Pixel next = i + 1 < n ? ring[i + 1] : (kept.empty() ? ring[0] : kept.front());
            const Pixel here = ring[i];
            // A repeat, the tip of a back-step, or a corner its two neighbours already bridge.
            if (here == prev || prev == next || Touching(prev, next)) {
                changed = true;
                continue;
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
    ring.reserve(samples.size());
    for (const Point& p : samples) {
        const Pixel pixel = PixelAt(p);
        if (ring.empty() || !(ring.back() == pixel)) ring.push_back(pixel);
    }
    return ThinClosedPath(std::move(ring));
}

}  // namespace kelto::frames
