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

TEST(FrameDrawings, SizesAndTheCornerDot) {
    for (int i = 0; i < kFrames; ++i) {
        const MonoPicture& p = Frames()[i].picture;
        EXPECT_EQ(p.width, i == 5 ? 481 : 480);
        EXPECT_EQ(p.height, 480);
        EXPECT_TRUE(p.IsBlack(0, 2)) << i;
        for (int y = 0; y <= 12; ++y)
            for (int x = 0; x <= 12; ++x)
                if (x != 0 || y != 2) {
                    EXPECT_FALSE(p.IsBlack(x, y)) << i << " at " << x << "," << y;
                }
    }
}

TEST(FrameDrawings, LobeAngleFittedFromTheCamMatchesTheTurn) {
    for (int i = 0; i < kFrames; ++i)
        EXPECT_LE(std::abs(AngleDifference(Frames()[i].lobe, TableLobeAngle(i))), 0.5)
            << "frame " << i << " lobe at " << Frames()[i].lobe;
}

TEST(FrameDrawings, EveryStepTurnsTwentyDegreesClockwiseSeventeenToZeroIncluded) {
    for (int i = 0; i < kFrames; ++i) {
        const int next = (i + 1) % kFrames;
        EXPECT_NEAR(AngleDifference(Frames()[next].lobe, Frames()[i].lobe), -20.0, 1.0)
            << i << " -> " << next;
    }
}

TEST(FrameDrawings, EighteenDistinctFrames) {
    for (int i = 0; i < kFrames; ++i)
        for (int j = i + 1; j < kFrames; ++j)
            EXPECT_NE(First480Columns(Frames()[i].picture), First480Columns(Frames()[j].picture))
                << i << " and " << j;
}

TEST(FrameDrawings, FollowerRowsFollowTheLift) {
    const PixelSet& rest = Frames()[0].parts.follower;
    for (int i = 0; i < kFrames; ++i) {
        const FrameParts& f = Frames()[i].parts;
        const int face = 364 + kLift[i];
        ASSERT_EQ(f.faceRow, face) << "frame " << i;
        int top = 480, bottom = -1;
        std::map<int, std::pair<int, int>> extent;  // row -> leftmost, rightmost
        for (const Px& p : f.follower.Pixels()) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
            auto [it, fresh] = extent.try_emplace(p.y, p.x, p.x);
            it->second = {std::min(it->second.first, p.x), std::max(it->second.second, p.x)};
        }
        EXPECT_EQ(top, face) << i;
        EXPECT_EQ(bottom, face + 40) << i;
        EXPECT_EQ(extent[face], std::make_pair(168, 312)) << i;
        for (int r = 0; r < 10; ++r)
            EXPECT_EQ(extent[face + r], std::make_pair(kCornerLeft[r], kCornerRight[r]))
                << "frame " << i << " corner row " << face + r;
        // The follower only moves down: same outline as at rest, shifted by the lift.
        int moved = 0;
        for (const Px& p : rest.Pixels()) moved += f.follower.Has({p.x, p.y + kLift[i]});
        EXPECT_EQ(moved, rest.Count()) << i;
        EXPECT_EQ(f.follower.Count(), rest.Count()) << i;
        // Its face is straight and whole.
        for (int x = 168; x <= 312; ++x) EXPECT_TRUE(f.follower.Has({x, face})) << i << " " << x;
    }
}

TEST(FrameDrawings, CamRestsOnTheFace) {
    for (int i = 0; i < kFrames; ++i) {
        const FrameParts& f = Frames()[i].parts;
        int lowest = -1;
        bool aboveFace = false;
        for (const Px& p : f.cam.Pixels()) lowest = std::max(lowest, p.y);
        for (const Px& p : f.cam.Pixels())
            aboveFace = aboveFace || (p.y == f.faceRow - 1 && p.x >= 168 && p.x <= 312);
        EXPECT_EQ(lowest, 363 + kLift[i]) << "frame " << i;
        EXPECT_TRUE(aboveFace) << i;
    }
}

TEST(FrameDrawings, RingTouchesTheFollowerArcWithoutCrossingIt) {
    for (int i = 0; i < kFrames; ++i) {
        const FrameParts& f = Frames()[i].parts;
        std::vector<Px> contacts;
        for (const Px& p : f.ringInner.Pixels()) {
            ASSERT_FALSE(f.follower.Has(p) || f.followerInside.Has(p)) << i;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const Px q{p.x + dx, p.y + dy};
                    if (f.follower.Has(q) && q.y >= f.faceRow + 10) contacts.push_back(q);
                }
        }
        ASSERT_FALSE(contacts.empty()) << "frame " << i << ": a gap between ring and follower";
        // At rest the ring holds the arc at its lowest point; lifted, away from the lobe's side,
        // at most 60 pixels from the middle.
        double nearest = 1e9;
        for (const Px& q : contacts) nearest = std::min(nearest, std::abs(q.x - 239.6));
        if (kLift[i] == 0) {
            EXPECT_LE(nearest, 2.0) << i;
        }
        EXPECT_LE(nearest, 61.0) << i;
    }
}

TEST(FrameDrawings, RadiiMatchTheTableWithinAPixel) {
    double worst = 0;
    int rays = 0;
    for (int i = 0; i < kFrames; ++i) {
        const Frame& frame = Frames()[i];
        for (double phi = -180; phi < 180; phi += 5) {
            const double screen = TableLobeAngle(i) + phi;
            struct {
                const PixelSet& part;
                double table;
                bool seen;
            } checks[] = {{frame.parts.cam, CamRadius(phi), !PastFollower(screen)},
                          {frame.parts.ringInner, RingInnerRadius(phi), !PastFollower(screen)},
                          {frame.parts.ringOuter, RingOuterRadius(phi), true}};
            for (const auto& c : checks) {
                if (!c.seen) continue;
                const double r = RayRadius(c.part, screen);
                ASSERT_GT(r, 0) << "frame " << i << " ray " << screen;
                worst = std::max(worst, std::abs(r - c.table));
                EXPECT_LE(std::abs(r - c.table), 1.0)
                    << "frame " << i << " phi " << phi << " radius " << r << " table " << c.table;
                ++rays;
            }
        }
        for (double a = 0; a < 360; a += 5) {
            const double r = RayRadius(frame.parts.centreCircle, a);
            EXPECT_NEAR(r, 98.1, 1.0) << i << " " << a;
        }
    }
    std::printf("radius rays measured %d, worst difference %.2f px\n", rays, worst);
}

TEST(FrameDrawings, ClosedThinEightConnectedCurves) {
    for (int i = 0; i < kFrames; ++i) {
        const Frame& frame = Frames()[i];
        const FrameParts& f = frame.parts;
        // Inside the centre circle, between it and the cam, the groove, the follower, the ring's
        // band and the outside: a gap in any curve would merge two of these. Where the follower
        // touches cam or ring the lines may shut in a few white pixels, and only there.
        const std::vector<PixelSet> regions = WhiteRegions(frame.picture);
        ASSERT_GE(regions.size(), 6u) << i;
        EXPECT_GE(regions[5].Count(), 4000) << i;
        for (std::size_t r = 6; r < regions.size(); ++r) {
            EXPECT_LT(regions[r].Count(), 100) << i;
            for (const Px& p : regions[r].Pixels()) {
                EXPECT_TRUE(p.x >= 150 && p.x <= 330 && p.y >= f.faceRow - 3 &&
                            p.y <= f.faceRow + 45)
                    << "frame " << i << " pocket at " << p.x << "," << p.y;
            }
        }
        const PixelSet* curves[] = {&f.centreCircle, &f.cam, &f.ringInner, &f.ringOuter,
                                    &f.follower};
        int classified = 1;  // the corner dot
        for (const PixelSet* curve : curves) {
            classified += curve->Count();
            for (const Px& p : curve->Pixels()) {
                // Each pixel has exactly its two path neighbours: no loose end, no doubled corner.
                ASSERT_EQ(curve->NeighbourCount(p), 2)
                    << "frame " << i << " at " << p.x << "," << p.y;
            }
        }
        // Every black pixel belongs to one of the curves or is the corner dot.
        EXPECT_EQ(classified, f.blackCount) << i;
        EXPECT_GE(f.blackCount, 3650) << i;
        EXPECT_LE(f.blackCount, 3800) << i;
    }
}

TEST(FrameDrawings, MeasuredValuesPerFrame) {
    // A record of what the pictures show; the checks above hold them to their bounds.
    for (int i = 0; i < kFrames; ++i) {
        const Frame& frame = Frames()[i];
        double worst = 0;
        for (double phi = -180; phi < 180; phi += 5) {
            const double screen = TableLobeAngle(i) + phi;
            if (!PastFollower(screen)) {
                worst =
                    std::max(worst, std::abs(RayRadius(frame.parts.cam, screen) - CamRadius(phi)));
                worst = std::max(worst, std::abs(RayRadius(frame.parts.ringInner, screen) -
                                                 RingInnerRadius(phi)));
            }
            worst = std::max(
                worst, std::abs(RayRadius(frame.parts.ringOuter, screen) - RingOuterRadius(phi)));
        }
        std::printf("frame %2d lobe %7.2f lift %2d face row %3d black %4d worst radius %.2f\n", i,
                    frame.lobe, frame.parts.faceRow - 364, frame.parts.faceRow,
                    frame.parts.blackCount, worst);
        EXPECT_GT(frame.parts.blackCount, 0);
    }
}

}  // namespace
}  // namespace kelto::frames
