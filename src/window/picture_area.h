#pragma once

#include <QFrame>
#include <QImage>
#include <QRegion>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "window/frame_holder.h"
#include "window/frame_sender.h"
#include "window/picture_area_input.h"
#include "window/picture_area_units.h"

namespace kelto {

// Picture1: a sunken box taller than the window, showing one picture at its own size from
// the inner top-left. It turns Qt's key and pointer events into its own terms.
class PictureArea final : public QFrame {
  public:
    // Frames go to the screen through `sender`, or by the toolkit's painting where it leaves
    // them to it.
    PictureArea(PictureAreaInput& input, FrameSender& sender, QWidget* parent);

    // The picture reaches the screen in the next event step: SendPicture, then the toolkit's
    // repaints, then the sender's end of the step.
    void SetPicture(const FrameHolder& picture);
    const FrameHolder* Picture() const { return picture_; }
    // Hands a new picture to the sender, where it shows them; nothing else.
    void SendPicture();
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
    QRegion ChangedArea(const QImage& from, const QImage& to);
    bool SenderShowsFrames();
    void RepaintAfterLoss();
    QRectF PictureRect() const;
    // The rows of a part of the picture (in picture pixels, at most a tile high) in the
    // display's format, at the part's own columns from the top of the result.
    const QImage& Expanded(const QRect& part);
    void ReportMove(QMouseEvent* event, QPointF pixel);

    PictureAreaInput& input_;
    const FrameHolder* picture_ = nullptr;
    FrameSender& sender_;
    // Whether the sender shows the frames, decided once the window is shown.
    std::optional<bool> senderShows_;
    bool pictureToSend_ = false;
    // Where two pictures differ inside the inner area, by pair of cache keys.
    std::map<std::pair<qint64, qint64>, QRegion> changes_;
    // Rows of the picture in the display's format, a tile high, made again for each band.
    QImage expanded_;
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
