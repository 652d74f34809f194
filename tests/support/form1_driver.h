#pragma once

#include "animation/pass_rules.h"
#include "window/form1.h"
#include "window/frame_holder.h"

namespace kelto::testing {

// Runs a Form1's passes by hand, in the loop's place: once a driver holds the window, its
// first activation no longer starts the loop, so a test can fill, enter and step it itself.
class Form1Driver {
  public:
    explicit Form1Driver(Form1& form) : form_(form) { form_.started_ = true; }

    void FillFrameTable() { form_.FillFrameTable(); }
    void EnterLoop() { kelto::EnterLoop(form_.state_); }
    // Fills the table and enters the loop, as the first activation does.
    void Start() {
        FillFrameTable();
        EnterLoop();
    }
    void RunPass() { form_.loop_.RunPass(); }
    void ShowFrame(const FrameHolder& picture) { form_.ShowFrame(picture); }

    AnimationState& State() { return form_.state_; }
    const FrameTable<FrameHolder>& Frames() const { return form_.frameTable_; }
    const FrameHolder& Holder(int holderNumber) const { return form_.Holder(holderNumber); }
    PictureArea* Picture1() const { return form_.picture1_; }

  private:
    Form1& form_;
};

}  // namespace kelto::testing
