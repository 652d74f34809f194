#pragma once

#include <QImage>
#include <QPoint>
#include <cstdint>
#include <map>
#include <memory>

class QWidget;
struct xcb_connection_t;

namespace kelto {

// Pictures kept on the X server. Each goes up once, as a one-bit pixmap, and showing it is a
// single copy request: no pixels are converted, copied or sent per pass, and no reply is
// awaited. Drawing this way passes the toolkit's back buffer by, so the caller must have the
// toolkit repaint from the current picture whenever the window is exposed.
class ServerFrames {
  public:
    // Null where pictures cannot be copied into the window pixel for pixel: not an X11 window,
    // a scaled one, or a window whose visual is not a true-colour visual of its screen.
    static std::unique_ptr<ServerFrames> For(const QWidget& window);
    ~ServerFrames();
    ServerFrames(const ServerFrames&) = delete;
    ServerFrames& operator=(const ServerFrames&) = delete;

    // Draws a one-bit picture (colour 0 black, 1 white) with its top-left at `at`, in the
    // window's pixels, and sends the request.
    void Show(const QImage& picture, QPoint at);

  private:
    struct BitmapFormat {
        int unit = 0;  // bits of a scanline unit
        int pad = 0;   // bits a row is padded to
        bool leastSignificantBitFirst = false;
        bool leastSignificantByteFirst = false;
    };
    ServerFrames(xcb_connection_t* connection, std::uint32_t window, BitmapFormat format,
                 std::uint32_t white);
    std::uint32_t Upload(const QImage& picture);

    xcb_connection_t* connection_;
    std::uint32_t window_;
    BitmapFormat format_;
    std::uint32_t windowGc_ = 0;
    std::uint32_t bitmapGc_ = 0;
    // Server pixmaps by the picture's cache key.
    std::map<qint64, std::uint32_t> bitmaps_;
};

}  // namespace kelto
