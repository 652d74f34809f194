#include "frame_measure.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelto::frames::measure {
namespace {

constexpr double kCx = 239.5, kCy = 241.25;
constexpr double kDegree = std::numbers::pi / 180.0;

// Radius table at 5-degree steps from the lobe axis, 0 to 80; constant beyond.
constexpr double kCamTable[] = {171.7, 169.3, 164.8, 159.4, 153.8, 148.5, 143.8, 139.2, 135.2,
                                131.8, 129.0, 126.7, 124.9, 123.7, 122.9, 122.6, 122.6};
constexpr double kInnerTable[] = {212.3, 212.1, 211.0, 209.4, 207.1, 204.2, 200.9, 197.2, 193.1,
                                  189.0, 184.4, 180.0, 175.7, 171.4, 167.5, 164.0, 163.4};
constexpr double kOuterTable[] = {234.9, 234.5, 233.6, 232.0, 229.8, 227.0, 223.8, 220.2, 216.3,
                                  212.1, 207.6, 203.3, 198.9, 194.6, 190.7, 187.0, 185.9};

double Interpolate(const double (&table)[17], double phi) {
    const double a = std::abs(AngleDifference(phi, 0.0));
    if (a >= 80.0) return table[16];
    const int i = static_cast<int>(a / 5.0);
    const double t = a / 5.0 - i;
    return table[i] * (1 - t) + table[i + 1] * t;
}

bool White(const MonoPicture& p, Px q) {
    return q.x >= 0 && q.y >= 0 && q.x < p.width && q.y < p.height && !p.IsBlack(q.x, q.y);
}

Px PolarPixel(double screenAngle, double radius) {
    return {static_cast<int>(std::lround(kCx + radius * std::cos(screenAngle * kDegree))),
            static_cast<int>(std::lround(kCy - radius * std::sin(screenAngle * kDegree)))};
}

}  // namespace

double AngleDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d < -180.0) d += 360.0;
    if (d >= 180.0) d -= 360.0;
    return d;
}

double CamRadius(double phi) {
    return Interpolate(kCamTable, phi);
}
double RingInnerRadius(double phi) {
    return Interpolate(kInnerTable, phi);
}
double RingOuterRadius(double phi) {
    return Interpolate(kOuterTable, phi);
}

double ScreenDistance(Px p) {
    return std::hypot(p.x - kCx, p.y - kCy);
}
double ScreenAngle(Px p) {
    const double a = std::atan2(kCy - p.y, p.x - kCx) / kDegree;
    return a < 0 ? a + 360.0 : a;
}

bool PixelSet::TouchesAny(Px p) const {
    return Has(p) || NeighbourCount(p) > 0;
}

int PixelSet::NeighbourCount(Px p) const {
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if ((dx || dy) && Has({p.x + dx, p.y + dy})) ++n;
    return n;
}

PixelSet WhiteRegion(const MonoPicture& picture, Px seed) {
    PixelSet region(picture.width, picture.height);
    std::vector<Px> stack;
    stack.push_back(seed);
    while (!stack.empty()) {
        const Px p = stack.back();
        stack.pop_back();
        if (!White(picture, p) || region.Has(p)) continue;
        region.Add(p);
        stack.insert(stack.end(), {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}});
    }
    return region;
}

PixelSet BlackBorder(const MonoPicture& picture, const PixelSet& region) {
    PixelSet border(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.IsBlack(x, y) && (region.Has({x + 1, y}) || region.Has({x - 1, y}) ||
                                          region.Has({x, y + 1}) || region.Has({x, y - 1})))
                border.Add({x, y});
    return border;
}

std::vector<PixelSet> WhiteRegions(const MonoPicture& picture) {
    PixelSet seen(picture.width, picture.height);
    std::vector<PixelSet> regions;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (!picture.IsBlack(x, y) && !seen.Has({x, y})) {
                regions.push_back(WhiteRegion(picture, {x, y}));
                for (const Px& p : regions.back().Pixels()) seen.Add(p);
            }
    std::sort(regions.begin(), regions.end(),
              [](const PixelSet& a, const PixelSet& b) { return a.Count() > b.Count(); });
    return regions;
}

FrameParts SplitFrame(const MonoPicture& picture, double lobeAngleGuess) {
    FrameParts parts;
    for (const auto px : picture.pixels) parts.blackCount += px == kBlack;

    int bestRun = 0;
    for (int y = picture.height / 2; y < picture.height; ++y)
        for (int x = 0, run = 0; x < picture.width; ++x) {
            run = picture.IsBlack(x, y) ? run + 1 : 0;
            if (run > bestRun) bestRun = run, parts.faceRow = y;
        }

    // Seeds on the side away from the follower: up, or sideways when the lobe points up.
    const double up = 90.0;
    const double seedAngle = std::abs(AngleDifference(lobeAngleGuess, up)) < 60.0 ? 0.0 : up;
    const double phi = AngleDifference(seedAngle, lobeAngleGuess);
    const PixelSet insideCam =
        WhiteRegion(picture, PolarPixel(seedAngle, (98.1 + CamRadius(phi)) / 2));
    const PixelSet band = WhiteRegion(
        picture, PolarPixel(seedAngle, (RingInnerRadius(phi) + RingOuterRadius(phi)) / 2));
    const PixelSet outside = WhiteRegion(picture, {picture.width - 1, picture.height - 1});
    parts.followerInside = WhiteRegion(picture, {240, parts.faceRow + 5});

    for (PixelSet* part : {&parts.centreCircle, &parts.cam, &parts.ringInner, &parts.ringOuter})
        *part = PixelSet(picture.width, picture.height);
    const PixelSet camBorder = BlackBorder(picture, insideCam);
    for (const Px& p : camBorder.Pixels())
        (ScreenDistance(p) < 110.0 ? parts.centreCircle : parts.cam).Add(p);
    const PixelSet bandBorder = BlackBorder(picture, band);
    for (const Px& p : bandBorder.Pixels())
        (outside.TouchesAny(p) ? parts.ringOuter : parts.ringInner).Add(p);
    parts.follower = BlackBorder(picture, parts.followerInside);
    return parts;
}

double RayRadius(const PixelSet& part, double screenAngle) {
    // A straight line fitted to the part's pixels close to the ray, read where it meets the ray:
    // a plain mean would lean towards wherever the staircase happens to fall.
    const double ux = std::cos(screenAngle * kDegree), uy = -std::sin(screenAngle * kDegree);
    double n = 0, sl = 0, sa = 0, sll = 0, sla = 0;
    for (const Px& p : part.Pixels()) {
        const double dx = p.x - kCx, dy = p.y - kCy;
        const double along = dx * ux + dy * uy;
        const double lateral = dx * uy - dy * ux;
        if (along <= 0 || std::abs(lateral) > 3.0) continue;
        n += 1, sl += lateral, sa += along, sll += lateral * lateral, sla += lateral * along;
    }
    if (n < 2) return -1.0;
    const double spread = n * sll - sl * sl;
    if (spread <= 1e-9) return sa / n;
    const double slope = (n * sla - sl * sa) / spread;
    return (sa - slope * sl) / n;
}

double FitLobeAngle(const PixelSet& part, double (*profile)(double)) {
    auto cost = [&](double lobe) {
        double c = 0;
        for (const Px& p : part.Pixels()) {
            const double e = ScreenDistance(p) - profile(AngleDifference(ScreenAngle(p), lobe));
            c += e * e;
        }
        return c;
    };
    double best = 0, bestCost = 1e300;
    for (double a = 0; a < 360; a += 1.0)
        if (const double c = cost(a); c < bestCost) best = a, bestCost = c;
    for (double step : {0.1, 0.01}) {
        const double centre = best;
        for (double a = centre - 10 * step; a <= centre + 10 * step; a += step)
            if (const double c = cost(a); c < bestCost) best = a, bestCost = c;
    }
    return std::fmod(best + 360.0, 360.0);
}

}  // namespace kelto::frames::measure
