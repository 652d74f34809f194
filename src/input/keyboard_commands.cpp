#include "input/keyboard_commands.h"

namespace kelto {

void Picture1_KeyPress(AnimationState& state, std::uint16_t KeyAscii, ProgramEnd& end) {
    switch (KeyAscii) {
        case kEscape:
            end.Quit();
            return;
        case u'-':
            state.StepCommand = step::kRunBackward;
            return;
        case u'+':
        case u',':
            state.StepCommand = step::kRunForward;
            return;
        case u'/':
            state.StepCommand = step::kStopOrStepBack;
            return;
        case u'*':
        case u'.':
            state.StepCommand = step::kStopOrStepForward;
            return;
        default:
            return;
    }
}

}  // namespace kelto
