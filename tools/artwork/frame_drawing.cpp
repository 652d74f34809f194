#include "artwork/frame_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "artwork/pixel_path.h"
#include "frames/holder_pictures.h"

namespace kelto::artwork {

using frames::kBlack;
using frames::MonoPicture;

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr int kCamSteps = 36000;
constexpr int kRingSteps = 18000;
constexpr int kCircleSteps = 12000;
// Half-width, in columns, of the local pull that seats the cam on the follower's face.
constexpr double kPullHalfWidth = 25.0;
constexpr double kPullStep = 0.05;
// Half-width, in degrees about the follower's arc centre, of the local ring adjustment.
constexpr double kRingAdjustHalfAngle = 25.0;

std::runtime_error DrawingError(int frameIndex, const std::string& what) {
    return std::runtime_error("frame " + std::to_string(frameIndex) + ": " + what);
}

std::vector<Point> PolarCurve(const std::vector<double>& radii, double turnDegrees) {
    std::vector<Point> points;
    points.reserve(radii.size());
    const double steps = static_cast<double>(radii.size());
    for (std::size_t k = 0; k < radii.size(); ++k) {
        const double theta = (turnDegrees + 360.0 * static_cast<double>(k) / steps) * kDegree;
        points.push_back({kRotationCentreX + radii[k] * std::cos(theta),
                          kRotationCentreY - radii[k] * std::sin(theta)});
    }
    return points;
}

// A bitmap of which pixels belong to a set, for the follower checks.
class Mask {
  public:
    Mask(int w, int h) : w_(w), h_(h), bits_(static_cast<std::size_t>(w) * h, 0) {}
    bool Inside(Pixel p) const { return p.x >= 0 && p.y >= 0 && p.x < w_ && p.y < h_; }
    bool Has(Pixel p) const { return Inside(p) && bits_[Index(p)] != 0; }
    void Add(Pixel p) {
        if (Inside(p)) bits_[Index(p)] = 1;
    }
    // Adds the 4-connected region around seed that no set pixel bounds; false if it leaks out.
    bool FillFrom(Pixel seed) {
        std::vector<Pixel> stack{seed};
        while (!stack.empty()) {
            const Pixel p = stack.back();
            stack.pop_back();
            if (!Inside(p)) return false;
            if (Has(p)) continue;
            Add(p);
            stack.push_back({p.x + 1, p.y});
            stack.push_back({p.x - 1, p.y});
            stack.push_back({p.x, p.y + 1});
            stack.push_back({p.x, p.y - 1});
        }
        return true;
    }

  private:
    std::size_t Index(Pixel p) const { return static_cast<std::size_t>(p.y) * w_ + p.x; }
    int w_;
    int h_;
    std::vector<std::uint8_t> bits_;
};

// The follower at rest; a frame shifts these pixels down by its lift, so every frame shows the
// very same outline.
std::vector<Pixel> FollowerOutlineAtRest() {
    const int face = kFaceRowAtRest;
    const double arcCentreY = kArcCentreYAtRest;
    std::vector<Pixel> ring;
    for (int x = kFaceLeft; x <= kFaceRight; ++x) ring.push_back({x, face});
    for (int r = 1; r < kCornerRows; ++r) ring.push_back({kCornerRight[r], face + r});
    // The arc takes over just below the rounded corners.
    const double start = std::acos((face + kCornerRows - 0.4 - arcCentreY) / kArcRadius);
    const int steps = 4000;
    for (int s = 0; s <= steps; ++s) {
        const double beta = start - 2.0 * start * s / steps;
        const Pixel p = PixelAt(
            {kArcCentreX + kArcRadius * std::sin(beta), arcCentreY + kArcRadius * std::cos(beta)});
        if (!(ring.back() == p)) ring.push_back(p);
    }
    for (int r = kCornerRows - 1; r >= 1; --r) ring.push_back({kCornerLeft[r], face + r});
    // The face's left end steps down two columns at once; close it on the corner's row.
    ring.push_back({kCornerLeft[0] - 1, face + 1});
    return ThinClosedPath(std::move(ring));
}

int LowestRow(const std::vector<Pixel>& path) {
    int lowest = -1;
    for (const Pixel& p : path) lowest = std::max(lowest, p.y);
    return lowest;
}

// The follower moved down by the frame's lift, with its inside, which nothing else may enter,
// and its lower arc, which the ring must touch.
struct Follower {
    std::vector<Pixel> outline;
    Mask area;
    Mask arc;
};

Follower PlaceFollower(int frameIndex, int lift, int width) {
    const int face = kFaceRowAtRest + lift;
    Follower follower{FollowerOutlineAtRest(), Mask(width, kFrameSize), Mask(width, kFrameSize)};
    for (Pixel& p : follower.outline) p.y += lift;
    for (const Pixel& p : follower.outline) follower.area.Add(p);
    if (!follower.area.FillFrom({kFaceLeft + (kFaceRight - kFaceLeft) / 2, face + 10}))
        throw DrawingError(frameIndex, "follower outline is not closed");
    for (const Pixel& p : follower.outline)
        if (p.y >= face + kCornerRows) follower.arc.Add(p);
    return follower;
}

// The cam, turned to its lobe angle and seated on the face: pulled in locally, just enough for
// its lowest pixel to sit on the row above the face.
std::vector<Pixel> SeatCam(int frameIndex, const std::vector<Point>& outline, double lobe,
                           int face) {
    std::vector<Point> cam;
    cam.reserve(outline.size());
    const double c = std::cos(lobe * kDegree), s = std::sin(lobe * kDegree);
    Point lowest{0, -1};
    for (const Point& p : outline) {
        const Point q{kRotationCentreX + p.x * c - p.y * s, kRotationCentreY - (p.x * s + p.y * c)};
        if (q.y > lowest.y) lowest = q;
        cam.push_back(q);
    }
    double pull = std::max(0.0, lowest.y - (face - 0.6));
    for (int attempt = 0;; ++attempt, pull += kPullStep) {
        if (attempt == 40) throw DrawingError(frameIndex, "cannot seat the cam on the follower");
        std::vector<Point> pulled = cam;
        for (Point& p : pulled) {
            const double u = (p.x - lowest.x) / kPullHalfWidth;
            if (p.y > kRotationCentreY && std::abs(u) < 1.0)
                p.y -= pull * std::pow(std::cos(0.5 * std::numbers::pi * u), 2);
        }
        std::vector<Pixel> camPath = TraceClosedCurve(pulled);
        if (LowestRow(camPath) == face - 1) return camPath;
    }
}

// The ring's inner edge, set locally at a small distance outside the follower's arc so the two
// touch but never cross, whatever the rounding of the follower's lift.
std::vector<Pixel> SeatRingInner(int frameIndex, const std::vector<double>& radii, double lobe,
                                 int lift, const Follower& follower) {
    const std::vector<Point> ringInner = PolarCurve(radii, lobe);
    const Point arcCentre{kArcCentreX, kArcCentreYAtRest + lift};
    double minGap = 1e9, minGapAngle = 0;
    for (const Point& p : ringInner) {
        const double dx = p.x - arcCentre.x, dy = p.y - arcCentre.y;
        const double angle = std::atan2(dx, dy) / kDegree;
        if (dy <= 0 || std::abs(angle) > kArcHalfAngle) continue;
        const double gap = std::hypot(dx, dy) - kArcRadius;
        if (gap < minGap) minGap = gap, minGapAngle = angle;
    }
    for (double target : {0.9, 0.8, 1.0, 0.7, 1.1, 0.6, 1.2, 0.5, 1.3, 1.4, 1.5}) {
        std::vector<Point> adjusted = ringInner;
        for (Point& p : adjusted) {
            const double dx = p.x - arcCentre.x, dy = p.y - arcCentre.y;
            const double angle = std::atan2(dx, dy) / kDegree;
            if (dy <= 0 || std::abs(angle) > kArcHalfAngle) continue;
            const double distance = std::hypot(dx, dy);
            const double u = (angle - minGapAngle) / kRingAdjustHalfAngle;
            const double bump =
                std::abs(u) < 1.0 ? std::pow(std::cos(0.5 * std::numbers::pi * u), 2) : 0.0;
            const double gap = std::max(distance - kArcRadius + (target - minGap) * bump, target);
            p = {arcCentre.x + dx * (kArcRadius + gap) / distance,
                 arcCentre.y + dy * (kArcRadius + gap) / distance};
        }
        std::vector<Pixel> ringInnerPath = TraceClosedCurve(adjusted);
        bool crosses = false, touches = false;
        for (const Pixel& p : ringInnerPath) {
            crosses = crosses || follower.area.Has(p);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    touches = touches || follower.arc.Has({p.x + dx, p.y + dy});
        }
        if (!crosses && touches) return ringInnerPath;
    }
    throw DrawingError(frameIndex, "cannot seat the ring on the follower");
}

}  // namespace

FrameArtist::FrameArtist()
    : cam_(CamOutline(kCamSteps)),
      ringInner_(RingEdgeRadii(kArcRadius, kRingSteps)),
      ringOuter_(RingEdgeRadii(kArcRadius + kRingWidth, kRingSteps)) {}

MonoPicture FrameArtist::Draw(int frameIndex) const {
    const double lobe = LobeAngle(frameIndex);
    const int lift = FrameLift(frameIndex);
    const int width = frameIndex == kWideFrameIndex ? kFrameSize + 1 : kFrameSize;

    const Follower follower = PlaceFollower(frameIndex, lift, width);
    const std::vector<Pixel> cam = SeatCam(frameIndex, cam_, lobe, kFaceRowAtRest + lift);
    const std::vector<Pixel> ringInner =
        SeatRingInner(frameIndex, ringInner_, lobe, lift, follower);
    const std::vector<double> circle(kCircleSteps, kCentreCircleRadius);

    MonoPicture picture(width, kFrameSize);
    auto draw = [&](const std::vector<Pixel>& path) {
        for (const Pixel& p : path) {
            if (p.x < 0 || p.y < 0 || p.x >= kFrameSize || p.y >= kFrameSize)
                throw DrawingError(frameIndex, "a line leaves the picture");
            picture.Set(p.x, p.y, kBlack);
        }
    };
    draw(TraceClosedCurve(PolarCurve(circle, 0.0)));
    draw(cam);
    draw(ringInner);
    draw(TraceClosedCurve(PolarCurve(ringOuter_, lobe)));
    draw(follower.outline);
    picture.Set(kCornerDotX, kCornerDotY, kBlack);
    return picture;
}

std::vector<MonoPicture> DrawAllFrames() {
    const FrameArtist artist;
    std::vector<MonoPicture> frames;
    for (int i = 0; i < frames::kHolderCount; ++i) frames.push_back(artist.Draw(i));
    return frames;
}

}  // namespace kelto::artwork
