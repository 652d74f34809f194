#pragma once

#include "animation/animation_host.h"
#include "animation/animation_state.h"
#include "animation/frame_table.h"
#include "animation/pass_rules.h"
#include "animation/wait_frame.h"

namespace kelto {

// The endless stepping loop. Input handlers run only inside WaitFrame's event processing
// and talk to the loop through the state alone.
template <class Picture>
class AnimationLoop {
  public:
    AnimationLoop(AnimationState& state, const FrameTable<Picture>& frames,
                  AnimationHost<Picture>& host, IdleWaiter& waiter)
        : state_(state), frames_(frames), host_(host), waiter_(waiter) {}

    [[noreturn]] void Run() {
        EnterLoop(state_);
        for (;;) RunPass();
    }

    void RunPass() {
        AdvancePosition(state_);
        host_.ShowFrame(frames_.Lookup(state_.Position));
        WaitFrame();
    }

    void WaitFrame() {
        waiter_.WaitIterations(IdleIterations(state_.DelayCount));
        host_.ProcessPendingEvents();
    }

  private:
    AnimationState& state_;
    const FrameTable<Picture>& frames_;
    AnimationHost<Picture>& host_;
    IdleWaiter& waiter_;
};

}  // namespace kelto
