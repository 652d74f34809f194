#pragma once

namespace kelto {

// What the animation needs from the window it runs in.
template <class Picture>
class AnimationHost {
  public:
    virtual ~AnimationHost() = default;
    // Replaces the picture of the picture area; it reaches the screen when events are next
    // processed.
    virtual void ShowFrame(const Picture& picture) = 0;
    // Runs every pending window event, input handlers and repaints included, then returns.
    virtual void ProcessPendingEvents() = 0;
};

}  // namespace kelto
