#include "input/keyboard_commands.h"

namespace kelto {

void Picture1_KeyPress(AnimationState& state, char16_t codeUnit, ProgramEnd& end) {
    switch (codeUnit) {
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
