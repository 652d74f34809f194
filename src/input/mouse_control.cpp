#include "input/mouse_control.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace kelto {
namespace {

bool FitsFloat(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

}  // namespace

void Picture1_MouseMove(AnimationState& state, int /*Button*/, int /*Shift*/, float X, float Y,
                        ProgramEnd& end) {
    if (state.MouseMode == 0) {
        const double pace = (static_cast<double>(X) * kMouseFactor) * static_cast<double>(Y);
        if (!FitsFloat(pace)) {
            std::ostringstream message;
            message << "floating-point fault in the pointer pace (X " << X << ", Y " << Y << ")";
            end.Fail(message.str());
            return;
        }
        state.DelayCount = static_cast<float>(pace);
        return;
    }
    state.DelayCount = kSteeringDelayCount;
    state.StepCommand = Y >= state.LastMouseY ? step::kStopOrStepForward : step::kStopOrStepBack;
    state.LastMouseY = Y;
}

void Picture1_Click(AnimationState& state) {
    if (state.MouseMode == 0) {
        state.SavedCommand = state.StepCommand;
        state.SavedRunForward = state.RunForward;
        state.SavedRunBackward = state.RunBackward;
    }
    state.MouseMode = static_cast<std::int16_t>((state.MouseMode + 1) % 2);
    if (state.MouseMode == 0) {
        state.StepCommand = state.SavedCommand;
        state.RunForward = state.SavedRunForward;
        state.RunBackward = state.SavedRunBackward;
    }
}

void Picture1_DblClick(ProgramEnd& end) {
    end.Quit();
}

}  // namespace kelto
