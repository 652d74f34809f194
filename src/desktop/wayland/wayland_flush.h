#pragma once

#include "window/frame_sender.h"

namespace kelto {

// Frames on Wayland: the toolkit paints them, and each event step's repaint is sent to the
// compositor as soon as the step is over.
class WaylandFlush final : public FrameSender {
  public:
    void EndOfEventStep() override;
};

}  // namespace kelto
