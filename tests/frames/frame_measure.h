#pragma once

#include <vector>

#include "frames/mono_picture.h"

namespace kelto::frames::measure {

// Pixel coordinates of a drawing.
struct Px {
    int x = 0;
    int y = 0;
    friend bool operator==(const Px&, const Px&) = default;
};

// Sets of pixels of one picture, as a flag per pixel.
class PixelSet {
  public:
    PixelSet() = default;
    PixelSet(int w, int h) : w_(w), h_(h), flags_(static_cast<std::size_t>(w) * h, 0) {}
    bool Has(Px p) const {
        return p.x >= 0 && p.y >= 0 && p.x < w_ && p.y < h_ && flags_[Index(p)] != 0;
    }
    void Add(Px p) {
        if (p.x < 0 || p.y < 0 || p.x >= w_ || p.y >= h_ || Has(p)) return;
        flags_[Index(p)] = 1;
        list_.push_back(p);
    }
    const std::vector<Px>& Pixels() const { return list_; }
    int Count() const { return static_cast<int>(list_.size()); }
    bool TouchesAny(Px p) const;  // p or one of its 8 neighbours is in the set
    int NeighbourCount(Px p) const;

  private:
    std::size_t Index(Px p) const { return static_cast<std::size_t>(p.y) * w_ + p.x; }
    int w_ = 0;
    int h_ = 0;
    std::vector<std::uint8_t> flags_;
    std::vector<Px> list_;
};

// The 4-connected white region around seed (empty if seed is black).
PixelSet WhiteRegion(const MonoPicture& picture, Px seed);
// Black pixels that share a side with region.
PixelSet BlackBorder(const MonoPicture& picture, const PixelSet& region);
// White 4-connected regions, largest first.
std::vector<PixelSet> WhiteRegions(const MonoPicture& picture);

// The parts of one frame, told apart only by which white areas they border.
struct FrameParts {
    int faceRow = -1;  // the longest horizontal black run, low in the picture
    PixelSet centreCircle;
    PixelSet cam;
    PixelSet ringInner;
    PixelSet ringOuter;
    PixelSet follower;        // its outline
    PixelSet followerInside;  // white inside it
    int blackCount = 0;
};
// lobeAngleGuess only picks white seeds away from the lobe; measurements do not use it.
FrameParts SplitFrame(const MonoPicture& picture, double lobeAngleGuess);

// Distance from the rotation centre at which a ray at screenAngle crosses the part, from the
// part's pixels within 3 of the ray; negative if none.
double RayRadius(const PixelSet& part, double screenAngle);

// Lobe angle that best fits the part's pixels to the given polar profile (radius against angle
// from the lobe axis), searched over the whole turn.
double FitLobeAngle(const PixelSet& part, double (*profile)(double));

// Radius tables of the drawing, by angle from the lobe axis.
double CamRadius(double phi);
double RingInnerRadius(double phi);
double RingOuterRadius(double phi);

double ScreenDistance(Px p);                 // from the rotation centre
double ScreenAngle(Px p);                    // counter-clockwise, degrees in [0, 360)
double AngleDifference(double a, double b);  // a - b in [-180, 180)

}  // namespace kelto::frames::measure
