#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <vector>

namespace kelto::testing {

// The holder pictures as a probe looks for them on the screen: for each device pixel of the
// picture area's visible inner part, the frame's black or white, or the background (neither)
// where the frame does not reach. The probes that watch the real window and a Wayland
// compositor's output share it.
class FrameReferences {
  public:
    // Image1.pbm to Image18.pbm in `dir` (holder_dump's output), as shown at a whole `scale`;
    // false, with a line on stderr, when one cannot be read.
    bool Load(const QString& dir, int scale = 1);

    int Scale() const { return scale_; }
    // The visible inner part in device pixels: all but the right column of a frame, and one
    // row of background below it.
    QSize Visible() const;
    // The window's client area in device pixels, and where the inner part starts in it.
    QSize Client() const;
    QPoint InnerOrigin() const;

    // Whether `shot` shows frame `index` with the inner part's top-left at `origin`.
    bool Matches(const QImage& shot, QPoint origin, int index) const;
    // The frame `shot` shows there, trying `near` and its neighbours first; -1 for none.
    int Identify(const QImage& shot, QPoint origin, int near = 0) const;
    // The first black device pixel of frame `index`: an anchor to find it anywhere in a shot.
    QPoint FirstBlack(int index) const { return frames_.at(index).firstBlack; }
    // The holder's picture of frame `index`, at its own size.
    const QImage& Picture(int index) const { return frames_.at(index).picture; }

  private:
    struct Frame {
        QImage picture;
        std::vector<unsigned char> expect;  // visible rows x columns, device pixels
        QPoint firstBlack;
    };
    int scale_ = 1;
    std::vector<Frame> frames_;
};

}  // namespace kelto::testing
