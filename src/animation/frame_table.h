#pragma once

#include <array>
#include <stdexcept>
#include <string>

#include "animation/animation_host.h"
#include "animation/animation_state.h"

namespace kelto {

// The 18 pictures of one turn. Entries refer to the holders' pictures; nothing is copied.
template <class Picture>
class FrameTable {
  public:
    // Fills entry k from holder k + 1. Entry 0 is shown at once so the first frame is up
    // while the rest load; events are processed after each later entry.
    template <class HolderPicture>
    void Fill(HolderPicture&& holderPicture, AnimationHost<Picture>& host) {
        entries_[0] = &holderPicture(1);
        host.ShowFrame(*entries_[0]);
        for (int k = 1; k < kFrameCount; ++k) {
            entries_[k] = &holderPicture(k + 1);
            host.ProcessPendingEvents();
        }
    }

    const Picture& Lookup(int position) const {
        if (position < 0 || position >= kFrameCount || entries_[position] == nullptr)
            throw std::out_of_range("no frame at position " + std::to_string(position));
        return *entries_[position];
    }

  private:
    std::array<const Picture*, kFrameCount> entries_{};
};

}  // namespace kelto
