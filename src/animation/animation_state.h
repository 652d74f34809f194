#pragma once

#include <cstdint>

namespace kelto {

// Number of pictures in one turn of the cam; all position arithmetic is modulo this.
inline constexpr int kFrameCount = 18;

// Values written to AnimationState::StepCommand.
namespace step {
inline constexpr std::int16_t kStopped = 0;
inline constexpr std::int16_t kRunning = 1;
inline constexpr std::int16_t kRunBackward = -1;
inline constexpr std::int16_t kRunForward = 3;
inline constexpr std::int16_t kStopOrStepBack = -2;
inline constexpr std::int16_t kStopOrStepForward = 2;
}  // namespace step

// Idle iterations per pass at start-up.
inline constexpr double kStartDelayCount = 1000000;

// The one record of animation and input state. Zero until the loop is entered.
struct AnimationState {
    std::int16_t Position = 0;
    std::int16_t StepCommand = 0;
    std::int16_t RunForward = 0;
    std::int16_t RunBackward = 0;
    double DelayCount = 0;
    std::int16_t MouseMode = 0;
    std::int16_t SavedCommand = 0;
    std::int16_t SavedRunForward = 0;
    std::int16_t SavedRunBackward = 0;
    float LastMouseY = 0;

    friend bool operator==(const AnimationState&, const AnimationState&) = default;
};

}  // namespace kelto
