#include "artwork/cam_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelto::artwork {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

double Wrap360(double degrees) {
    const double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

}  // namespace

double Lift(double deltaDegrees) {
    const double delta = Wrap360(deltaDegrees + 180.0) - 180.0;
    if (std::abs(delta) > kLobeHalfSpread) return 0.0;
    return 0.5 * kLobeHeight * (1.0 + std::cos(2.4 * delta * kDegree));
}

double LobeAngle(int frameIndex) {
    return Wrap360(195.0 - 20.0 * frameIndex);
}

double DeltaFromDown(int frameIndex) {
    return Wrap360(LobeAngle(frameIndex) - 270.0 + 180.0) - 180.0;
}

int FrameLift(int frameIndex) {
    return static_cast<int>(std::lround(Lift(DeltaFromDown(frameIndex))));
}

std::vector<Point> CamOutline(int steps) {
    // Support distance h(d) = base + lift(d); the face line for d touches the envelope at
    // h u(d) + h'(d) u'(d).
    std::vector<Point> outline;
    outline.reserve(static_cast<std::size_t>(steps));
    for (int k = 0; k < steps; ++k) {
        const double degrees = 360.0 * k / steps - 180.0;
        const double d = degrees * kDegree;
        const double h = kCamBaseRadius + Lift(degrees);
        const double slope = std::abs(degrees) > kLobeHalfSpread
                                 ? 0.0
                                 : -0.5 * kLobeHeight * 2.4 * std::sin(2.4 * d);
        outline.push_back(
            {h * std::cos(d) - slope * std::sin(d), h * std::sin(d) + slope * std::cos(d)});
    }
    return outline;
}

std::vector<double> RingEdgeRadii(double arcRadius, int steps) {
    // Every follower position within this many degrees of a direction can reach it.
    constexpr double kReach = 40.0;
    const double step = 360.0 / steps;
    const int reach = static_cast<int>(std::ceil(kReach / step));
    std::vector<double> centreDistance(static_cast<std::size_t>(steps));
    for (int j = 0; j < steps; ++j) centreDistance[j] = kArcCentreDistance + Lift(j * step);
    std::vector<double> cosTable(2 * reach + 1), sin2Table(2 * reach + 1);
    for (int k = -reach; k <= reach; ++k) {
        cosTable[k + reach] = std::cos(k * step * kDegree);
        sin2Table[k + reach] = std::pow(std::sin(k * step * kDegree), 2);
    }
    const double r2 = arcRadius * arcRadius;
    const double minAlong = arcRadius * std::cos(kArcHalfAngle * kDegree);

    std::vector<double> radii(static_cast<std::size_t>(steps), 0.0);
    for (int i = 0; i <= steps / 2; ++i) {
        double best = 0.0;
        for (int k = -reach; k <= reach; ++k) {
            const double c =
                centreDistance[static_cast<std::size_t>(((i - k) % steps + steps) % steps)];
            const double cosk = cosTable[k + reach];
            const double disc = r2 - c * c * sin2Table[k + reach];
            if (disc < 0) continue;
            const double t = c * cosk + std::sqrt(disc);
            // The far crossing of the ray belongs to the arc only within its half angle.
            if (t * cosk - c < minAlong) continue;
            best = std::max(best, t);
        }
        radii[i] = best;
        radii[(steps - i) % steps] = best;
    }
    return radii;
}

}  // namespace kelto::artwork
