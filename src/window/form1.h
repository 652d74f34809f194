#pragma once

#include <QWidget>
#include <array>

#include "animation/animation_host.h"
#include "animation/animation_loop.h"
#include "animation/animation_state.h"
#include "animation/frame_table.h"
#include "animation/wait_frame.h"
#include "input/program_end.h"
#include "window/frame_holder.h"
#include "window/frame_sender.h"
#include "window/picture_area.h"
#include "window/picture_area_input.h"

namespace kelto {

namespace testing {
class Form1Driver;
}

// The one window. Its first activation fills the frame table and then runs the animation
// loop for the life of the process; every handler runs inside that loop's event steps.
class Form1 final : public QWidget, private AnimationHost<FrameHolder>, private PictureAreaInput {
  public:
    static constexpr int kClientSize = 483;
    static const QString kCaption;

    // end decides how quitting and failures end the process, waiter how a pass waits and
    // sender how frames reach the screen (the toolkit's painting alone, by default).
    Form1(ProgramEnd& end, IdleWaiter& waiter, FrameSender& sender = ToolkitPaintingOnly());

    // The sender that leaves every frame to the toolkit's painting.
    static FrameSender& ToolkitPaintingOnly();

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Tests drive the passes themselves instead of the loop: tests/support/form1_driver.h.
    friend class testing::Form1Driver;

    // Fills the frame table, then runs the loop; never returns.
    [[noreturn]] void Form_Activate();
    void FillFrameTable();
    void StartOnce();
    const FrameHolder& Holder(int holderNumber) const;

    void ShowFrame(const FrameHolder& picture) override;
    void ProcessPendingEvents() override;

    // The picture area's input goes straight to the handlers.
    void Typed(char16_t codeUnit) override;
    void PointerMoved(int Button, int Shift, float X, float Y) override;
    void Clicked() override;
    void DoubleClicked() override;

    ProgramEnd& end_;
    FrameSender& sender_;
    bool started_ = false;

    AnimationState state_;
    std::array<FrameHolder, kFrameCount> holders_;
    FrameTable<FrameHolder> frameTable_;
    AnimationLoop<FrameHolder> loop_;
    PictureArea* picture1_ = nullptr;
};

}  // namespace kelto
