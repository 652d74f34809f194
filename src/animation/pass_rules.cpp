#include "animation/pass_rules.h"

namespace kelto {
namespace {

// Dividends are never negative here: a step back is written as adding kFrameCount - 1.
std::int16_t Wrap(int position) {
    return static_cast<std::int16_t>(position % kFrameCount);
}

void StartRun(AnimationState& s, int firstStep, std::int16_t forward, std::int16_t backward) {
    s.Position = Wrap(s.Position + firstStep);
    s.RunForward = forward;
    s.RunBackward = backward;
    s.StepCommand = step::kRunning;
}

void Stop(AnimationState& s, int step) {
    s.Position = Wrap(s.Position + step);
    s.RunForward = 0;
    s.RunBackward = 0;
    s.StepCommand = step::kStopped;
}

}  // namespace

void EnterLoop(AnimationState& state) {
    state.StepCommand = step::kRunning;
    state.DelayCount = kStartDelayCount;
}

void AdvancePosition(AnimationState& s) {
    // Each test reads what the tests before it left, so a request and the automatic
    // step of the same pass add up.
    if (s.StepCommand == step::kRunBackward) StartRun(s, kFrameCount - 1, 0, 1);
    if (s.StepCommand == step::kRunForward) StartRun(s, 1, 1, 0);
    // A stop request while a run is in progress cancels its own step.
    if (s.StepCommand == step::kStopOrStepBack)
        Stop(s, kFrameCount - 1 + s.RunBackward + s.RunForward);
    if (s.StepCommand == step::kStopOrStepForward) Stop(s, 1 - s.RunBackward - s.RunForward);
    if (s.StepCommand != step::kStopped && s.RunBackward == 0)
        s.Position = Wrap(s.Position + s.StepCommand);
    if (s.RunBackward == 1) s.Position = Wrap(s.Position + kFrameCount - 1);
}

}  // namespace kelto
