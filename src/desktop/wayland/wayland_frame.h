#pragma once

#include <QWidget>
#include <memory>

#include "desktop/wayland/toplevel_terms.h"

namespace kelto {

// The window's frame on Wayland, drawn by the program: a caption bar holding the whole caption
// and no buttons, and a thin border. Compositors there leave the frame to the client, and Qt's
// own frame cuts the caption and adds buttons the window cannot honour. The client keeps its
// fixed size inside; a frame that the compositor makes larger (maximised, full screen) shows
// the client in its middle.
class WaylandFrame final : public QWidget {
  public:
    static constexpr int kBorder = 1;
    static constexpr int kBarHeight = 24;
    static constexpr int kCaptionPixelSize = 14;

    explicit WaylandFrame(QWidget& client);
    ~WaylandFrame() override;

    // Where the compositor draws the title bar, the frame is the client alone.
    void DrawOwnBar(bool own);
    // The screen pixels that make whole surface units: 1, or more where the toolkit follows a
    // fractional scale. The client and the bar then start on that grain.
    int Grain() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    friend std::unique_ptr<WaylandFrame> ShowInOwnFrame(QWidget& window);

    QWidget& client_;
    void Lay();

    bool ownBar_ = true;
    int grain_ = 1;
    int border_ = kBorder;
    int barHeight_ = kBarHeight;
    // The client's room: its size out to the grain.
    QSize room_;
    std::unique_ptr<ToplevelTerms> terms_;
};

// Shows the main window inside a WaylandFrame, which the result holds.
std::unique_ptr<WaylandFrame> ShowInOwnFrame(QWidget& window);

}  // namespace kelto
