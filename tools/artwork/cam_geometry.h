#pragma once

#include <vector>

namespace kelto::artwork {

// The mechanism's construction in drawing pixels. Angles are degrees, counter-clockwise as seen
// on screen; drawing x runs right and y down, pixel centres on whole numbers.
inline constexpr double kRotationCentreX = 239.5;
inline constexpr double kRotationCentreY = 241.25;
inline constexpr double kCentreCircleRadius = 98.1;
inline constexpr double kCamBaseRadius = 122.6;
inline constexpr double kLobeHeight = 49.0;
inline constexpr double kLobeHalfSpread = 75.0;
inline constexpr double kArcCentreDistance = 65.3;  // follower arc centre below the rotation centre
inline constexpr double kArcRadius = 97.9;
inline constexpr double kArcHalfAngle = 54.1;
inline constexpr double kRingWidth = 22.6;

inline constexpr int kFrameSize = 480;
inline constexpr int kWideFrameIndex = 5;  // Image6 carries one extra white column

// The follower's fixed outline at rest; a frame moves it down by its rounded lift.
inline constexpr int kFaceRowAtRest = 364;
inline constexpr int kFaceLeft = 168;
inline constexpr int kFaceRight = 312;
inline constexpr double kArcCentreX = 239.6;
inline constexpr double kArcCentreYAtRest = 306.6;
inline constexpr int kCornerRows = 10;
inline constexpr int kCornerLeft[kCornerRows] = {168, 166, 165, 165, 164, 164, 165, 165, 166, 167};
inline constexpr int kCornerRight[kCornerRows] = {312, 313, 314, 314, 315, 315, 314, 314, 313, 312};
inline constexpr int kCornerDotX = 0;
inline constexpr int kCornerDotY = 2;

struct Point {
    double x = 0;
    double y = 0;
};

// Lift for a direction delta degrees away from the lobe axis: a cosine rise and return over
// 75 degrees either side, 49 high.
double Lift(double deltaDegrees);

// Lobe angle of frame i, in [0, 360).
double LobeAngle(int frameIndex);
// The lobe axis measured from straight down, in [-180, 180).
double DeltaFromDown(int frameIndex);
// The follower's lift in frame i, rounded to whole pixels.
int FrameLift(int frameIndex);

// The cam outline in the cam's own frame (lobe axis along +x, counter-clockwise +y): the inner
// envelope of the follower's flat-face lines, one point per step of the turn.
std::vector<Point> CamOutline(int steps);

// Polar radius of a ring edge in the cam's own frame, sampled at angle 360 k / steps from the
// lobe axis: the farthest reach of the follower's lower arc (radius arcRadius) over a full turn.
std::vector<double> RingEdgeRadii(double arcRadius, int steps);

}  // namespace kelto::artwork
