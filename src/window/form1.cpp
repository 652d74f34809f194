#include "window/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <exception>

#include "frames/holder_pictures.h"
#include "input/keyboard_commands.h"
#include "input/mouse_control.h"
#include "window/program_end_now.h"
#ifdef KELTO_BENCH_HOOKS
#include "window/bench_hooks.h"
#endif

namespace kelto {
namespace {

// A desktop that shows a window without activating it still gets the animation going.
constexpr int kActivationGraceMs = 150;

template <class T, class Default>
std::unique_ptr<T> OwnUnlessGiven(T* given) {
    return given ? nullptr : std::make_unique<Default>();
}

}  // namespace

const QString Form1::kCaption =
    QStringLiteral("KELTO Valve Control         Use:  +-/*mouse,.        ESC to Quit");

Form1::Form1() : Form1(Options{}) {}

Form1::Form1(Options options)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ownEnd_(OwnUnlessGiven<ProgramEnd, ProgramEndNow>(options.end)),
      ownWaiter_(OwnUnlessGiven<IdleWaiter, PreciseIdleWaiter>(options.waiter)),
      end_(options.end ? *options.end : *ownEnd_),
      waiter_(options.waiter ? *options.waiter : *ownWaiter_),
      enterLoopOnActivation_(options.enterLoopOnActivation),
      loop_(state_, frameTable_, *this, waiter_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    setFixedSize(kClientSize, kClientSize);
    for (int k = 1; k <= kFrameCount; ++k)
        holders_[k - 1] = {QStringLiteral("Image%1").arg(k), ToMonoImage(frames::HolderPicture(k)),
                           QPixmap()};
    Picture1 = new PictureArea(*this, this);
    setFocusProxy(Picture1);
    Picture1->setFocus();
}

const FrameHolder& Form1::Holder(int holderNumber) const {
    // Converted on first use: the window shows without waiting for all 18 conversions (16 MB
    // written), and filling the frame table converts the rest one per event step.
    FrameHolder& holder = holders_.at(holderNumber - 1);
    if (holder.picture.isNull()) holder.picture = ToDisplayPixmap(holder.loaded);
    return holder;
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
    frameTable_.Fill([this](int k) -> const QPixmap& { return Holder(k).picture; }, *this);
}

void Form1::ShowFrame(const QPixmap& picture) {
    Picture1->SetPicture(picture);
#ifdef KELTO_BENCH_HOOKS
    bench::OnShowFrame(state_);
#endif
}

void Form1::ProcessPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Form1::Picture1_KeyPress(std::uint16_t KeyAscii) {
    kelto::Picture1_KeyPress(state_, KeyAscii, end_);
}

void Form1::Picture1_MouseMove(int Button, int Shift, float X, float Y) {
    kelto::Picture1_MouseMove(state_, Button, Shift, X, Y, end_);
}

void Form1::Picture1_Click() {
    kelto::Picture1_Click(state_);
}

void Form1::Picture1_DblClick() {
    kelto::Picture1_DblClick(end_);
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
    if (started_ || !enterLoopOnActivation_) return;
    started_ = true;
    // Leave the activation event first; the loop then runs from the event loop's top.
    QMetaObject::invokeMethod(this, &Form1::Form_Activate, Qt::QueuedConnection);
}

}  // namespace kelto
