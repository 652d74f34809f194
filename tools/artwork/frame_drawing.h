#pragma once

#include <vector>

#include "artwork/cam_geometry.h"
#include "frames/mono_picture.h"

namespace kelto::artwork {

// Draws the 18 frames from the construction. The envelopes are worked out once, on creation;
// each frame then only turns, places and rasterises them.
class FrameArtist {
  public:
    FrameArtist();

    // Frame i, 0 to 17; frame 5 is one column wider, that column white.
    frames::MonoPicture Draw(int frameIndex) const;

  private:
    std::vector<Point> cam_;
    std::vector<double> ringInner_;
    std::vector<double> ringOuter_;
};

// One frame for each holder, frame i for holder Image<i + 1>.
std::vector<frames::MonoPicture> DrawAllFrames();

}  // namespace kelto::artwork
