#pragma once

#include <vector>

#include "artwork/cam_geometry.h"
#include "frames/mono_picture.h"

namespace kelto::frames {

// Draws the 18 frames from the construction. The envelopes are worked out once, on creation;
// each frame then only turns, places and rasterises them.
class FrameArtist {
  public:
    FrameArtist();

    // Frame i, 0 to 17; frame 5 is one column wider, that column white.
    MonoPicture Draw(int frameIndex) const;

  private:
    std::vector<Point> cam_;
    std::vector<double> ringInner_;
    std::vector<double> ringOuter_;
};

std::vector<MonoPicture> DrawAllFrames();

}  // namespace kelto::frames
