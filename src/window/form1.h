#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <memory>

#include "animation/animation_host.h"
#include "animation/animation_loop.h"
#include "animation/animation_state.h"
#include "animation/frame_table.h"
#include "animation/wait_frame.h"
#include "input/program_end.h"
#include "window/frame_holder.h"
#include "window/picture_area.h"
#include "window/picture_area_handlers.h"

namespace kelto {

// The one window. Its first activation fills the frame table and then runs the animation
// loop for the life of the process; every handler runs inside that loop's event steps.
class Form1 final : public QWidget, public AnimationHost<QPixmap>, public PictureAreaHandlers {
  public:
    static constexpr int kClientSize = 483;
    static const QString kCaption;

    struct Options {
        // Defaults end the process for real and wait in real time.
        ProgramEnd* end = nullptr;
        IdleWaiter* waiter = nullptr;
        // Off for tests that drive filling and passes themselves.
        bool enterLoopOnActivation = true;
    };

    Form1();
    explicit Form1(Options options);

    // Fills the frame table, then runs the loop; never returns.
    [[noreturn]] void Form_Activate();
    void FillFrameTable();
    void RunPass() { loop_.RunPass(); }
    void EnterLoop() { kelto::EnterLoop(state_); }

    AnimationState& State() { return state_; }
    const FrameTable<QPixmap>& Frames() const { return frameTable_; }
    const FrameHolder& Holder(int holderNumber) const;
    PictureArea* Picture1 = nullptr;

    void ShowFrame(const QPixmap& picture) override;
    void ProcessPendingEvents() override;

    void Picture1_KeyPress(std::uint16_t KeyAscii) override;
    void Picture1_MouseMove(int Button, int Shift, float X, float Y) override;
    void Picture1_Click() override;
    void Picture1_DblClick() override;

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void StartOnce();

    std::unique_ptr<ProgramEnd> ownEnd_;
    std::unique_ptr<IdleWaiter> ownWaiter_;
    ProgramEnd& end_;
    IdleWaiter& waiter_;
    bool enterLoopOnActivation_;
    bool started_ = false;

    AnimationState state_;
    mutable std::array<FrameHolder, kFrameCount> holders_;
    FrameTable<QPixmap> frameTable_;
    AnimationLoop<QPixmap> loop_;
};

}  // namespace kelto
