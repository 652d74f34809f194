#include "desktop/wayland/wayland_frame.h"

#include <QtGui/private/qhighdpiscaling_p.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QWindow>
#include <algorithm>

#include "desktop/wayland/fractional_grain.h"

namespace kelto {
namespace {

constexpr int kCaptionIndent = 8;

}  // namespace

WaylandFrame::WaylandFrame(QWidget& client)
    // Frameless: Qt neither draws its own frame nor asks the compositor for one.
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), client_(client) {
    setObjectName(QStringLiteral("WaylandFrame"));
    setWindowTitle(client.windowTitle());
    setWindowIcon(client.windowIcon());
    client.setParent(this, Qt::Widget);
    client.show();
    // No maximum for the toolkit: a compositor that maximises or fills the screen checks that
    // the window took the size it was given, and ends a client that did not. The compositor
    // hears of the maximum through the ToplevelTerms.
    Lay();
    resize(minimumSize());
    setFocusProxy(&client);
}

WaylandFrame::~WaylandFrame() {
    // The client outlives its frame.
    client_.setParent(nullptr);
}

int WaylandFrame::Grain() const {
    const QWindow* handle = windowHandle();
    if (!handle) return 1;
    return PixelGrain(qRound(120 / QHighDpiScaling::factor(handle)));
}

void WaylandFrame::Lay() {
    const auto up = [this](int value) { return (value + grain_ - 1) / grain_ * grain_; };
    border_ = ownBar_ ? up(kBorder) : 0;
    barHeight_ = ownBar_ ? up(border_ + kBarHeight) - border_ : 0;
    room_ = QSize(up(client_.width()), up(client_.height()));
    setMinimumSize(room_.width() + 2 * border_, barHeight_ + room_.height() + 2 * border_);
}

void WaylandFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (const int grain = Grain(); grain != grain_) {
        // The toolkit follows another scale: the bar and the client go on its grain.
        grain_ = grain;
        Lay();
        if (terms_) terms_->KeepSize(minimumSize());
    }
    // Outside the maximised and full-screen states a compositor may still offer another size
    // (sway's resize command does, the limits notwithstanding): the frame takes its own back
    // before anything is drawn at the size offered.
    if (terms_ && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) &&
        size() != minimumSize()) {
        resize(minimumSize());
        return;
    }
    const QRect below(border_, border_ + barHeight_, width() - 2 * border_,
                      height() - barHeight_ - 2 * border_);
    QRect place(QPoint(), room_);
    place.moveCenter(below.center());
    const auto down = [this](int value) { return value / grain_ * grain_; };
    place.moveTopLeft(QPoint(std::max(below.left(), down(place.left())),
                             std::max(below.top(), down(place.top()))));
    client_.move(place.topLeft());
}

void WaylandFrame::paintEvent(QPaintEvent*) {
    // The desktop's colours, as the picture area's edge and background take them: a light bar
    // over a dark theme's window would stand out as no other window's does.
    const QPalette& colours = palette();
    QPainter painter(this);
    painter.fillRect(rect(), colours.color(QPalette::Mid));
    if (barHeight_ == 0) return;
    const QRect bar(border_, border_, width() - 2 * border_, barHeight_);
    painter.fillRect(bar, colours.color(QPalette::Window));
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont font = painter.font();
    font.setPixelSize(kCaptionPixelSize);
    painter.setFont(font);
    painter.setPen(colours.color(QPalette::WindowText));
    painter.drawText(bar.adjusted(kCaptionIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     windowTitle());
}

void WaylandFrame::mousePressEvent(QMouseEvent* event) {
    // The caption bar moves the window; it has nothing else to offer.
    if (event->button() == Qt::LeftButton && event->position().y() < border_ + barHeight_ &&
        windowHandle())
        windowHandle()->startSystemMove();
}

void WaylandFrame::DrawOwnBar(bool own) {
    ownBar_ = own;
    Lay();
    resize(minimumSize());
    if (terms_) terms_->KeepSize(minimumSize());
    update();
}

void WaylandFrame::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && terms_) terms_->FollowStates(windowState());
}

void WaylandFrame::closeEvent(QCloseEvent* event) {
    // A close from the compositor reaches the client, which quits as ESC does.
    event->ignore();
    client_.close();
}

std::unique_ptr<WaylandFrame> ShowInOwnFrame(QWidget& window) {
    auto frame = std::make_unique<WaylandFrame>(window);
    frame->show();
    // Shown, the window has its toplevel and no buffer yet: the moment to settle its terms.
    const QPointer<WaylandFrame> held(frame.get());
    frame->terms_ = ToplevelTerms::For(*frame->windowHandle(), [held](bool own) {
        if (held) held->DrawOwnBar(own);
    });
    if (frame->terms_) frame->terms_->KeepSize(frame->minimumSize());
    window.setFocus();
    return frame;
}

}  // namespace kelto
