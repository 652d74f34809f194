#pragma once

#include <QtGlobal>
#include <functional>

class QImage;
class QRect;
class QWidget;

namespace kelto {

// How the picture area's frames reach the screen. As it stands, the toolkit paints each frame
// and sends what it painted itself; a desktop that can do better supplies its own sender at
// start-up.
class FrameSender {
  public:
    virtual ~FrameSender() = default;

    // The window has been shown. True when this sender shows every frame from now on, by Show;
    // false leaves them to the toolkit's painting. `lost` is to be called whenever what it
    // showed may be gone from the screen: the window is then repainted whole.
    virtual bool Start(QWidget& window, std::function<void()> lost);
    // Shows a one-bit picture (0 black, 1 white) with its top-left at the top-left of `area`,
    // in the window's pixels, cut off at the area's edges. Only after Start returned true.
    virtual void Show(const QImage& picture, const QRect& area);
    // The event step that follows a pass is over, its repaints done: sends what is held back.
    // Throws std::runtime_error when the display refused a frame.
    virtual void EndOfEventStep();
    // Whether frames sent keep one pixel to a screen pixel on a window at this ratio; where
    // not, the toolkit paints them. As it stands, only unscaled.
    virtual bool KeepsPixelSize(qreal devicePixelRatio) const;
};

}  // namespace kelto
