#pragma once

#include <vector>

#include "animation/pass_rules.h"

namespace kelto::testing {

// The positions the loop would show over the next passes.
inline std::vector<int> Positions(AnimationState& state, int passes) {
    std::vector<int> seen;
    for (int i = 0; i < passes; ++i) {
        AdvancePosition(state);
        seen.push_back(state.Position);
    }
    return seen;
}

}  // namespace kelto::testing
