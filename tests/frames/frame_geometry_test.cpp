// Measures the frames the program carries: every check decodes the built-in blocks and looks
// only at their pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "frame_measure.h"
#include "frames/holder_pictures.h"

namespace kelto::frames {
namespace {

using namespace measure;

constexpr int kFrames = 18;
constexpr int kLift[kFrames] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 17, 37, 48, 44, 27, 8};
constexpr int kCornerLeft[10] = {168, 166, 165, 165, 164, 164, 165, 165, 166, 167};
constexpr int kCornerRight[10] = {312, 313, 314, 314, 315, 315, 314, 314, 313, 312};

double TableLobeAngle(int i) {
    return std::fmod(195.0 - 20.0 * i + 720.0, 360.0);
}

struct Frame {
    MonoPicture picture;
    FrameParts parts;
    double lobe = 0;  // fitted from the cam's pixels
};

const std::vector<Frame>& Frames() {
    static const std::vector<Frame> frames = [] {
        std::vector<Frame> all;
        for (int i = 0; i < kFrames; ++i) {
            Frame f;
            f.picture = HolderPicture(i + 1);
            f.parts = SplitFrame(f.picture, TableLobeAngle(i));
            f.lobe = FitLobeAngle(f.parts.cam, &CamRadius);
            all.push_back(std::move(f));
        }
        return all;
    }();
    return frames;
}

MonoPicture First480Columns(const MonoPicture& p) {
    MonoPicture out(480, p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < 480; ++x) out.Set(x, y, p.At(x, y));
    return out;
}

// Rays that pass the follower do not see the cam or the ring inner edge alone.
bool PastFollower(double screenAngle) {
    return std::abs(AngleDifference(screenAngle, 270.0)) < 45.0;
}

// Every table lookup a frame's rays are held to: the cam and the ring's inner edge only where
// the follower does not hide them.
template <typename Visit>
void ForEachRay(const Frame& frame, int i, Visit visit) {
    for (double phi = -180; phi < 180; phi += 5) {
        const double screen = TableLobeAngle(i) + phi;
        if (!PastFollower(screen)) {
            visit(frame.parts.cam, CamRadius(phi), screen, phi);
            visit(frame.parts.ringInner, RingInnerRadius(phi), screen, phi);
        }
        visit(frame.parts.ringOuter, RingOuterRadius(phi), screen, phi);
    }
}

// One case per frame, the frame's index as the parameter.
class FrameDrawing : public testing::TestWithParam<int> {
  protected:
    const int i = GetParam();
    const Frame& frame = Frames()[i];
    const FrameParts& f = frame.parts;
};
INSTANTIATE_TEST_SUITE_P(AllFrames, FrameDrawing, testing::Range(0, kFrames));

TEST_P(FrameDrawing, SizesAndTheCornerDot) {
    const MonoPicture& p = frame.picture;
    EXPECT_EQ(p.width, i == 5 ? 481 : 480);
    EXPECT_EQ(p.height, 480);
    EXPECT_TRUE(p.IsBlack(0, 2));
    for (int y = 0; y <= 12; ++y)
        for (int x = 0; x <= 12; ++x)
            if (x != 0 || y != 2) {
                EXPECT_FALSE(p.IsBlack(x, y)) << "at " << x << "," << y;
            }
}

TEST_P(FrameDrawing, LobeAngleFittedFromTheCamMatchesTheTurn) {
    EXPECT_LE(std::abs(AngleDifference(frame.lobe, TableLobeAngle(i))), 0.5)
        << "lobe at " << frame.lobe;
}

TEST_P(FrameDrawing, EveryStepTurnsTwentyDegreesClockwiseSeventeenToZeroIncluded) {
    const int next = (i + 1) % kFrames;
    EXPECT_NEAR(AngleDifference(Frames()[next].lobe, frame.lobe), -20.0, 1.0)
        << i << " -> " << next;
}

TEST(FrameDrawings, EighteenDistinctFrames) {
    for (int i = 0; i < kFrames; ++i)
        for (int j = i + 1; j < kFrames; ++j)
            EXPECT_NE(First480Columns(Frames()[i].picture), First480Columns(Frames()[j].picture))
                << i << " and " << j;
}

TEST_P(FrameDrawing, FollowerRowsFollowTheLift) {
    const PixelSet& rest = Frames()[0].parts.follower;
    const int face = 364 + kLift[i];
    ASSERT_EQ(f.faceRow, face);
    int top = 480, bottom = -1;
    std::map<int, std::pair<int, int>> extent;  // row -> leftmost, rightmost
    for (const Px& p : f.follower.Pixels()) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
        auto [it, fresh] = extent.try_emplace(p.y, p.x, p.x);
        it->second = {std::min(it->second.first, p.x), std::max(it->second.second, p.x)};
    }
    EXPECT_EQ(top, face);
    EXPECT_EQ(bottom, face + 40);
    EXPECT_EQ(extent[face], std::make_pair(168, 312));
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(extent[face + r], std::make_pair(kCornerLeft[r], kCornerRight[r]))
            << "corner row " << face + r;
    // The follower only moves down: same outline as at rest, shifted by the lift.
    int moved = 0;
    for (const Px& p : rest.Pixels()) moved += f.follower.Has({p.x, p.y + kLift[i]});
    EXPECT_EQ(moved, rest.Count());
    EXPECT_EQ(f.follower.Count(), rest.Count());
    // Its face is straight and whole.
    for (int x = 168; x <= 312; ++x) EXPECT_TRUE(f.follower.Has({x, face})) << x;
}

TEST_P(FrameDrawing, CamRestsOnTheFace) {
    int lowest = -1;
    bool aboveFace = false;
    for (const Px& p : f.cam.Pixels()) lowest = std::max(lowest, p.y);
    for (const Px& p : f.cam.Pixels())
        aboveFace = aboveFace || (p.y == f.faceRow - 1 && p.x >= 168 && p.x <= 312);
    EXPECT_EQ(lowest, 363 + kLift[i]);
    EXPECT_TRUE(aboveFace);
}

TEST_P(FrameDrawing, RingTouchesTheFollowerArcWithoutCrossingIt) {
    std::vector<Px> contacts;
    for (const Px& p : f.ringInner.Pixels()) {
        ASSERT_FALSE(f.follower.Has(p) || f.followerInside.Has(p));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Px q{p.x + dx, p.y + dy};
                if (f.follower.Has(q) && q.y >= f.faceRow + 10) contacts.push_back(q);
            }
    }
    ASSERT_FALSE(contacts.empty()) << "a gap between ring and follower";
    // At rest the ring holds the arc at its lowest point; lifted, away from the lobe's side,
    // at most 60 pixels from the middle.
    double nearest = 1e9;
    for (const Px& q : contacts) nearest = std::min(nearest, std::abs(q.x - 239.6));
    if (kLift[i] == 0) {
        EXPECT_LE(nearest, 2.0);
    }
    EXPECT_LE(nearest, 61.0);
}

TEST_P(FrameDrawing, RadiiMatchTheTableWithinAPixel) {
    double worst = 0;
    int rays = 0;
    ForEachRay(frame, i, [&](const PixelSet& part, double table, double screen, double phi) {
        const double r = RayRadius(part, screen);
        ASSERT_GT(r, 0) << "ray " << screen;
        worst = std::max(worst, std::abs(r - table));
        EXPECT_LE(std::abs(r - table), 1.0)
            << "phi " << phi << " radius " << r << " table " << table;
        ++rays;
    });
    for (double a = 0; a < 360; a += 5) EXPECT_NEAR(RayRadius(f.centreCircle, a), 98.1, 1.0) << a;
    std::printf("frame %2d radius rays measured %d, worst difference %.2f px\n", i, rays, worst);
}

TEST_P(FrameDrawing, ClosedThinEightConnectedCurves) {
    // Inside the centre circle, between it and the cam, the groove, the follower, the ring's
    // band and the outside: a gap in any curve would merge two of these. Where the follower
    // touches cam or ring the lines may shut in a few white pixels, and only there.
    const std::vector<PixelSet> regions = WhiteRegions(frame.picture);
    ASSERT_GE(regions.size(), 6u);
    EXPECT_GE(regions[5].Count(), 4000);
    for (std::size_t r = 6; r < regions.size(); ++r) {
        EXPECT_LT(regions[r].Count(), 100);
        for (const Px& p : regions[r].Pixels()) {
            EXPECT_TRUE(p.x >= 150 && p.x <= 330 && p.y >= f.faceRow - 3 && p.y <= f.faceRow + 45)
                << "pocket at " << p.x << "," << p.y;
        }
    }
    const PixelSet* curves[] = {&f.centreCircle, &f.cam, &f.ringInner, &f.ringOuter, &f.follower};
    int classified = 1;  // the corner dot
    for (const PixelSet* curve : curves) {
        classified += curve->Count();
        for (const Px& p : curve->Pixels()) {
            // Each pixel has exactly its two path neighbours: no loose end, no doubled corner.
            ASSERT_EQ(curve->NeighbourCount(p), 2) << "at " << p.x << "," << p.y;
        }
    }
    // Every black pixel belongs to one of the curves or is the corner dot.
    EXPECT_EQ(classified, f.blackCount);
    EXPECT_GE(f.blackCount, 3650);
    EXPECT_LE(f.blackCount, 3800);
}

TEST_P(FrameDrawing, MeasuredValuesPerFrame) {
    // A record of what the pictures show; the checks above hold them to their bounds.
    double worst = 0;
    ForEachRay(frame, i, [&](const PixelSet& part, double table, double screen, double) {
        worst = std::max(worst, std::abs(RayRadius(part, screen) - table));
    });
    std::printf("frame %2d lobe %7.2f lift %2d face row %3d black %4d worst radius %.2f\n", i,
                frame.lobe, f.faceRow - 364, f.faceRow, f.blackCount, worst);
    EXPECT_GT(f.blackCount, 0);
}

}  // namespace
}  // namespace kelto::frames
