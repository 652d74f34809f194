#include "desktop/wayland/wayland_frame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

namespace kelto {
namespace {

constexpr int kCaptionIndent = 8;
const QColor kBorderColour(0x80, 0x80, 0x80);
const QColor kBarColour(0xdc, 0xdc, 0xdc);
const QColor kSurroundColour(0xa0, 0xa0, 0xa0);

}  // namespace

WaylandFrame::WaylandFrame(QWidget& client)
    // Frameless: Qt neither draws its own frame nor asks the compositor for one.
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), client_(client) {
    setObjectName(QStringLiteral("WaylandFrame"));
    setWindowTitle(client.windowTitle());
    setWindowIcon(client.windowIcon());
    client.setParent(this, Qt::Widget);
    client.show();
    // No maximum: a compositor that maximises or fills the screen checks that the window took
    // the size it was given, and ends a client that did not.
    setMinimumSize(client.width() + 2 * kBorder, kBarHeight + client.height() + 2 * kBorder);
    resize(minimumSize());
    setFocusProxy(&client);
}

WaylandFrame::~WaylandFrame() {
    // The client outlives its frame.
    client_.setParent(nullptr);
}

void WaylandFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QRect below(kBorder, kBorder + kBarHeight, width() - 2 * kBorder,
                      height() - kBarHeight - 2 * kBorder);
    QRect place(QPoint(), client_.size());
    place.moveCenter(below.center());
    place.moveTopLeft(
        QPoint(std::max(below.left(), place.left()), std::max(below.top(), place.top())));
    client_.move(place.topLeft());
}

void WaylandFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kSurroundColour);
    const QRect bar(kBorder, kBorder, width() - 2 * kBorder, kBarHeight);
    painter.fillRect(bar, kBarColour);
    painter.setPen(kBorderColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont font = painter.font();
    font.setPixelSize(kCaptionPixelSize);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(bar.adjusted(kCaptionIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     windowTitle());
}

void WaylandFrame::mousePressEvent(QMouseEvent* event) {
    // The caption bar moves the window; it has nothing else to offer.
    if (event->button() == Qt::LeftButton && event->position().y() < kBorder + kBarHeight &&
        windowHandle())
        windowHandle()->startSystemMove();
}

void WaylandFrame::closeEvent(QCloseEvent* event) {
    // A close from the compositor reaches the client, which quits as ESC does.
    event->ignore();
    client_.close();
}

std::unique_ptr<WaylandFrame> ShowInOwnFrame(QWidget& window) {
    auto frame = std::make_unique<WaylandFrame>(window);
    frame->show();
    window.setFocus();
    return frame;
}

}  // namespace kelto
