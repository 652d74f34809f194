#pragma once

#include <QFrame>
#include <QPixmap>
#include <QRegion>
#include <map>
#include <optional>
#include <utility>

#include "window/picture_area_input.h"
#include "window/picture_area_units.h"

namespace kelto {

// Picture1: a sunken box taller than the window, showing one picture at its own size from
// the inner top-left. It turns Qt's key and pointer events into its own terms.
class PictureArea final : public QFrame {
  public:
    PictureArea(PictureAreaInput& input, QWidget* parent);

    void SetPicture(const QPixmap& picture);
    const QPixmap* Picture() const { return picture_; }
    // The inner area's rectangle in this widget's coordinates.
    QRect InnerRect() const { return contentsRect(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    bool InInnerArea(QPointF pixel) const;
    // Whether the pointer stands on another pixel than last seen; remembers this one.
    bool MovedTo(QPointF pixel);
    QRegion ChangedArea(const QPixmap& from, const QPixmap& to);
    QRectF PictureRect() const;
    void ReportMove(QMouseEvent* event, QPointF pixel);

    PictureAreaInput& input_;
    const QPixmap* picture_ = nullptr;
    // Where two pictures differ inside the inner area, by pair of cache keys.
    std::map<std::pair<qint64, qint64>, QRegion> changes_;
    // A press inside the inner area lets moves outside it through until the release.
    bool dragFromInside_ = false;
    // A click is a left press and release, both over the inner area; the second press
    // of a double-click makes no click of its own.
    bool leftPressInside_ = false;
    bool pressIsDoubleClick_ = false;
    // The pixel the pointer was last seen on: only a move to another pixel is a move.
    std::optional<QPointF> lastPixel_;
    // Where on the screen the pointer rested when the window was shown. The toolkit makes up
    // a move to it before the first press when the window opened under a pointer that has
    // not moved since; that is no move of the pointer.
    std::optional<QPointF> restingAt_;
};

}  // namespace kelto
