#include "window/picture_area.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "frames/eight_pixels.h"
#include "input/keyboard_commands.h"

namespace kelto {
namespace {

// The buttons and shift keys as PictureAreaInput counts them.
int ButtonState(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

// Granularity of the repainted area: small enough to skip what stays, large enough that
// each piece is a long straight copy.
constexpr int kTile = 32;

int ShiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// The pixel under a position, whatever fraction of a pixel an input device reports. Kept in
// floating point: positions far out of range reach the handlers as they are.
QPointF PixelAt(QPointF position) {
    return {std::floor(position.x()), std::floor(position.y())};
}

}  // namespace

PictureArea::PictureArea(PictureAreaInput& input, FrameSender& sender, QWidget* parent)
    : QFrame(parent), input_(input), sender_(sender) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(kPictureEdge);
    setGeometry(0, 0, kPictureOuterWidth, kPictureOuterHeight);
    setBackgroundRole(QPalette::Button);
    // Every pixel is painted here; nothing to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void PictureArea::SetPicture(const FrameHolder& picture) {
    const FrameHolder* previous = picture_;
    picture_ = &picture;
    if (SenderShowsFrames()) {
        // The window keeps what was sent; what it loses is repainted by the toolkit.
        pictureToSend_ = pictureToSend_ || previous != &picture;
        return;
    }
    // What is on screen already matches the previous picture; repaint only what differs.
    const bool unscaled = PictureRect().size() == QSizeF(picture.Loaded().size());
    update(previous && unscaled ? ChangedArea(previous->Loaded(), picture.Loaded())
                                : QRegion(InnerRect()));
}

void PictureArea::SendPicture() {
    if (!pictureToSend_) return;
    pictureToSend_ = false;
    // Cut off at the inner area, as the toolkit's painting is: the edge stays whole.
    sender_.Show(picture_->Loaded(),
                 QRect(mapTo(window(), InnerRect().topLeft()), InnerRect().size()));
}

bool PictureArea::SenderShowsFrames() {
    if (!senderShows_ && window()->isVisible())
        senderShows_ = sender_.Start(*window(), [this] { RepaintAfterLoss(); });
    // Sent frames keep their own size: a window moved to a scaled screen is painted instead.
    return senderShows_.value_or(false) && sender_.KeepsPixelSize(devicePixelRatio());
}

void PictureArea::RepaintAfterLoss() {
    // Frames sent past the toolkit never reached its back buffer, which it would show as it
    // stands: it paints the whole window anew, the current picture included, and the picture
    // is sent again after it.
    window()->update();
    update(InnerRect());
    pictureToSend_ = picture_ != nullptr;
}

QRegion PictureArea::ChangedArea(const QImage& from, const QImage& to) {
    const auto key = std::make_pair(from.cacheKey(), to.cacheKey());
    if (const auto found = changes_.find(key); found != changes_.end()) return found->second;
    const QRect inner = InnerRect();
    const QRect shown = (from.rect() | to.rect()) & QRect(QPoint(0, 0), inner.size());
    // One bit a pixel: a tile's row is the bytes under its columns.
    const auto rowsDiffer = [&](const QRect& tile) {
        if (!from.rect().contains(tile) || !to.rect().contains(tile)) return true;
        const int firstByte = tile.left() / 8;
        const auto bytes = static_cast<std::size_t>(tile.right() / 8 - firstByte + 1);
        for (int y = tile.top(); y <= tile.bottom(); ++y)
            if (std::memcmp(from.constScanLine(y) + firstByte, to.constScanLine(y) + firstByte,
                            bytes) != 0)
                return true;
        return false;
    };
    QRegion changed;
    for (int top = 0; top <= shown.bottom(); top += kTile)
        for (int left = 0; left <= shown.right(); left += kTile) {
            const QRect tile = QRect(left, top, kTile, kTile) & shown;
            if (rowsDiffer(tile)) changed += tile;
        }
    changed.translate(inner.topLeft());
    changes_.emplace(key, changed);
    return changed;
}

const QImage& PictureArea::Expanded(const QRect& part) {
    // The pictures stay at one bit a pixel (18 of them in the display's format took 16 MB),
    // and a straight copy of what is widened here costs less than the toolkit's own conversion
    // of a one-bit picture.
    const QImage& picture = picture_->Loaded();
    if (expanded_.width() < picture.width() || expanded_.height() < kTile)
        expanded_ = QImage(picture.width() + 8, kTile, QImage::Format_RGB32);
    const int firstByte = part.left() / 8;
    const int lastByte = part.right() / 8;
    for (int y = 0; y < part.height(); ++y) {
        const uchar* bits = picture.constScanLine(part.top() + y);
        auto* row = reinterpret_cast<QRgb*>(expanded_.scanLine(y));
        for (int byte = firstByte; byte <= lastByte; ++byte)
            std::copy_n(frames::EightPixels(bits[byte]).data(), 8, row + byte * 8);
    }
    return expanded_;
}

QRectF PictureArea::PictureRect() const {
    if (!picture_) return {};
    // Frames keep their one-pixel lines crisp on dense screens: they grow by whole device
    // pixels only, the nearest whole factor at or below the screen's.
    const qreal ratio = devicePixelRatioF();
    const qreal whole = std::max<qreal>(1, std::floor(ratio));
    return {QPointF(InnerRect().topLeft()), QSizeF(picture_->Loaded().size()) * (whole / ratio)};
}

void PictureArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect inner = InnerRect();
    const QBrush background = palette().brush(QPalette::Button);
    if (!inner.contains(event->rect())) {
        // On a dense screen the edge's lines are thinner than the edge: the rest of it shows
        // the background, not whatever the back buffer held.
        for (const QRect& edge : event->region().subtracted(inner))
            painter.fillRect(edge, background);
        drawFrame(&painter);
    }
    const QRectF pictureRect = PictureRect();
    if (picture_ && pictureRect.size() != QSizeF(picture_->Loaded().size())) {
        // Dense screens: background first, then the whole picture scaled, clipped.
        painter.setClipRegion(event->region() & inner);
        const QRect surelyCovered(
            QPoint(std::ceil(pictureRect.left()), std::ceil(pictureRect.top())),
            QPoint(std::floor(pictureRect.right()) - 1, std::floor(pictureRect.bottom()) - 1));
        for (const QRect& bare : (event->region() & inner).subtracted(surelyCovered))
            painter.fillRect(bare, background);
        painter.drawPixmap(pictureRect, picture_->Pixmap(), QRectF(picture_->Pixmap().rect()));
        return;
    }
    // Rectangle by rectangle: each stays a straight copy, where a clip region would make the
    // raster engine blend span by span.
    const QRect covering = pictureRect.toRect() & inner;
    for (const QRect& rect : event->region() & inner) {
        const QRect covered = rect & covering;
        // In bands of a tile's height: the toolkit hands copies of many rows to helper
        // threads, whose wake-ups cost more than these copies.
        for (int top = covered.top(); top <= covered.bottom(); top += kTile) {
            const QRect band(covered.left(), top, covered.width(),
                             std::min(kTile, covered.bottom() + 1 - top));
            const QRect part = band.translated(-inner.topLeft());
            painter.drawImage(band.topLeft(), Expanded(part),
                              QRect(part.left(), 0, part.width(), part.height()));
        }
        for (const QRect& bare : QRegion(rect).subtracted(covered))
            painter.fillRect(bare, background);
    }
}

void PictureArea::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() && event->key() == Qt::Key_Escape) {
        input_.Typed(kEscape);
        return;
    }
    for (const QChar character : text) input_.Typed(character.unicode());
}

bool PictureArea::focusNextPrevChild(bool) {
    // The only stop of the tab order: Tab is a typed character like any other.
    return false;
}

bool PictureArea::InInnerArea(QPointF pixel) const {
    const QRect inner = InnerRect();
    return pixel.x() >= inner.left() && pixel.y() >= inner.top() &&
           pixel.x() < inner.left() + inner.width() && pixel.y() < inner.top() + inner.height();
}

bool PictureArea::MovedTo(QPointF pixel) {
    // A position that is not a number has always moved.
    const bool moved = !lastPixel_ || lastPixel_->x() != pixel.x() || lastPixel_->y() != pixel.y();
    lastPixel_ = pixel;
    return moved;
}

void PictureArea::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    restingAt_ = PixelAt(QCursor::pos());
}

void PictureArea::leaveEvent(QEvent* event) {
    QFrame::leaveEvent(event);
    restingAt_.reset();
}

void PictureArea::ReportMove(QMouseEvent* event, QPointF pixel) {
    const QPointF offset = pixel - QPointF(InnerRect().topLeft());
    const PointerUnits units = PointerToUnits(offset.x(), offset.y());
    input_.PointerMoved(ButtonState(event->buttons()), ShiftState(event->modifiers()), units.X,
                        units.Y);
}

void PictureArea::mouseMoveEvent(QMouseEvent* event) {
    const QPointF onScreen = PixelAt(event->globalPosition());
    if (restingAt_ && *restingAt_ == onScreen) return;
    restingAt_.reset();
    const QPointF pixel = PixelAt(event->position());
    if (!MovedTo(pixel)) return;
    if (dragFromInside_ || InInnerArea(pixel)) ReportMove(event, pixel);
}

void PictureArea::mousePressEvent(QMouseEvent* event) {
    const QPointF pixel = PixelAt(event->position());
    lastPixel_ = pixel;
    const bool inside = InInnerArea(pixel);
    if (event->buttons() == event->button()) dragFromInside_ = inside;
    if (event->button() == Qt::LeftButton) {
        leftPressInside_ = inside;
        pressIsDoubleClick_ = false;
    }
}

void PictureArea::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF pixel = PixelAt(event->position());
    lastPixel_ = pixel;
    if (event->buttons() == Qt::NoButton) dragFromInside_ = false;
    if (event->button() != Qt::LeftButton) return;
    const bool clicked = leftPressInside_ && !pressIsDoubleClick_ && InInnerArea(pixel);
    leftPressInside_ = false;
    pressIsDoubleClick_ = false;
    if (clicked) input_.Clicked();
}

void PictureArea::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton && leftPressInside_) {
        pressIsDoubleClick_ = true;
        input_.DoubleClicked();
    }
}

}  // namespace kelto
