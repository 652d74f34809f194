#include "window/picture_area.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "input/keyboard_commands.h"
#include "input/pointer_scale.h"

namespace kelto {
namespace {

// The buttons and shift keys as the handlers see them: 1 left, 2 right, 4 middle;
// 1 shift, 2 control, 4 alt.
int ButtonState(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int ShiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

PictureArea::PictureArea(PictureAreaHandlers& handlers, QWidget* parent)
    : QFrame(parent), handlers_(handlers) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(kEdge);
    setGeometry(0, 0, kOuterWidth, kOuterHeight);
    setBackgroundRole(QPalette::Button);
    // Every pixel is painted here; nothing to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void PictureArea::SetPicture(const QPixmap& picture) {
    picture_ = &picture;
    update(InnerRect());
}

QRectF PictureArea::PictureRect() const {
    if (!picture_) return {};
    // Frames keep their one-pixel lines crisp on dense screens: they grow by whole device
    // pixels only, the nearest whole factor at or below the screen's.
    const qreal ratio = devicePixelRatioF();
    const qreal whole = std::max<qreal>(1, std::floor(ratio));
    return {QPointF(InnerRect().topLeft()), QSizeF(picture_->size()) * (whole / ratio)};
}

void PictureArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect inner = InnerRect();
    if (!inner.contains(event->rect())) drawFrame(&painter);
    painter.setClipRect(inner & event->rect());
    const QRectF pictureRect = PictureRect();
    const QRect surelyCovered(
        QPoint(std::ceil(pictureRect.left()), std::ceil(pictureRect.top())),
        QPoint(std::floor(pictureRect.right()) - 1, std::floor(pictureRect.bottom()) - 1));
    const QRegion uncovered = QRegion(inner & event->rect()).subtracted(surelyCovered);
    for (const QRect& rect : uncovered) painter.fillRect(rect, palette().brush(QPalette::Button));
    if (picture_) painter.drawPixmap(pictureRect, *picture_, QRectF(picture_->rect()));
}

void PictureArea::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() && event->key() == Qt::Key_Escape) {
        handlers_.Picture1_KeyPress(kEscape);
        return;
    }
    for (const QChar character : text) handlers_.Picture1_KeyPress(character.unicode());
}

bool PictureArea::focusNextPrevChild(bool) {
    // The only stop of the tab order: Tab is a typed character like any other.
    return false;
}

bool PictureArea::InInnerArea(QPointF position) const {
    const QRectF inner = InnerRect();
    return position.x() >= inner.left() && position.y() >= inner.top() &&
           position.x() < inner.left() + inner.width() &&
           position.y() < inner.top() + inner.height();
}

void PictureArea::ReportMove(QMouseEvent* event) {
    const QPointF offset = event->position() - QPointF(InnerRect().topLeft());
    const PointerUnits units = PointerToUnits(offset.x(), offset.y());
    handlers_.Picture1_MouseMove(ButtonState(event->buttons()), ShiftState(event->modifiers()),
                                 units.X, units.Y);
}

void PictureArea::mouseMoveEvent(QMouseEvent* event) {
    if (dragFromInside_ || InInnerArea(event->position())) ReportMove(event);
}

void PictureArea::mousePressEvent(QMouseEvent* event) {
    const bool inside = InInnerArea(event->position());
    if (event->buttons() == event->button()) dragFromInside_ = inside;
    if (event->button() == Qt::LeftButton) {
        leftPressInside_ = inside;
        pressIsDoubleClick_ = false;
    }
}

void PictureArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) dragFromInside_ = false;
    if (event->button() != Qt::LeftButton) return;
    const bool clicked = leftPressInside_ && !pressIsDoubleClick_ && InInnerArea(event->position());
    leftPressInside_ = false;
    pressIsDoubleClick_ = false;
    if (clicked) handlers_.Picture1_Click();
}

void PictureArea::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton && leftPressInside_) {
        pressIsDoubleClick_ = true;
        handlers_.Picture1_DblClick();
    }
}

}  // namespace kelto
