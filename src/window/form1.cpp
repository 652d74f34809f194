#include "window/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QRegion>
#include <QTimer>
#include <exception>

#include "frames/holder_pictures.h"
#include "input/keyboard_commands.h"
#include "input/mouse_control.h"

namespace kelto {
namespace {

// Holder k + 1 fills frame table entry k: one holder for each frame of a turn.
static_assert(frames::kHolderCount == kFrameCount);

// A desktop that shows a window without activating it still gets the animation going.
constexpr int kActivationGraceMs = 150;

}  // namespace

const QString Form1::kCaption =
    QStringLiteral("KELTO Valve Control         Use:  +-/*mouse,.        ESC to Quit");

FrameSender& Form1::ToolkitPaintingOnly() {
    static FrameSender toolkitPainting;
    return toolkitPainting;
}

Form1::Form1(ProgramEnd& end, IdleWaiter& waiter, FrameSender& sender)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      end_(end),
      sender_(sender),
      loop_(state_, frameTable_, *this, waiter) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    setFixedSize(kClientSize, kClientSize);
    for (int k = 1; k <= kFrameCount; ++k)
        holders_[k - 1] = {QStringLiteral("Image%1").arg(k),
                           ToMonoImage(frames::HolderPictureRows(k))};
    picture1_ = new PictureArea(*this, sender_, this);
    // The area is taller than the window by design. A tiling window manager can make the
    // window larger against its size hints, for good: what lies below the client size must
    // not show then, and the rest of the window is plain background.
    picture1_->setMask(QRegion(0, 0, kClientSize, kClientSize));
    setFocusProxy(picture1_);
    picture1_->setFocus();
}

const FrameHolder& Form1::Holder(int holderNumber) const {
    return holders_.at(holderNumber - 1);
}

void Form1::Form_Activate() {
    try {
        FillFrameTable();
        loop_.Run();
    } catch (const std::exception& failure) {
        end_.Fail(failure.what());
    }
    std::terminate();  // Fail does not return in the real program
}

void Form1::FillFrameTable() {
    frameTable_.Fill([this](int k) -> const FrameHolder& { return Holder(k); }, *this);
}

void Form1::ShowFrame(const FrameHolder& picture) {
    picture1_->SetPicture(picture);
}

// The pass's frame reaches the screen here: sent (where the sender shows frames), then the
// toolkit's repaints with the handlers' events, then whatever the sender holds back.
void Form1::ProcessPendingEvents() {
    picture1_->SendPicture();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sender_.EndOfEventStep();
}

void Form1::Typed(char16_t codeUnit) {
    Picture1_KeyPress(state_, codeUnit, end_);
}

void Form1::PointerMoved(int Button, int Shift, float X, float Y) {
    Picture1_MouseMove(state_, Button, Shift, X, Y, end_);
}

void Form1::Clicked() {
    Picture1_Click(state_);
}

void Form1::DoubleClicked() {
    Picture1_DblClick(end_);
}

bool Form1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) StartOnce();
    return QWidget::event(event);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QTimer::singleShot(kActivationGraceMs, this, &Form1::StartOnce);
}

void Form1::closeEvent(QCloseEvent* event) {
    // The window offers no close button; a close from the desktop quits like ESC.
    event->ignore();
    end_.Quit();
}

void Form1::StartOnce() {
    if (started_) return;
    started_ = true;
    // Leave the activation event first; the loop then runs from the event loop's top.
    QMetaObject::invokeMethod(this, &Form1::Form_Activate, Qt::QueuedConnection);
}

}  // namespace kelto
