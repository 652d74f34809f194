#pragma once

#include <QAbstractNativeEventFilter>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

class QWidget;
struct xcb_connection_t;

namespace kelto {

// Pictures kept on the X server. Each goes up once, as a one-bit pixmap, and showing it is a
// single copy request: no pixels are converted, copied or sent per pass, and no reply is
// awaited. Drawing this way passes the toolkit's back buffer by, so the caller must have the
// toolkit repaint from the current picture whenever the window is exposed. The server's
// answer to a request that failed arrives among the window's events; it is kept for
// ThrowIfFailed, since a picture that was not shown must not pass for one that was.
class ServerFrames final : public QAbstractNativeEventFilter {
  public:
    // Null where pictures cannot be copied into the window pixel for pixel: not an X11 window,
    // a scaled one, or a window whose visual is not a true-colour visual of its screen.
    static std::unique_ptr<ServerFrames> For(const QWidget& window);
    ~ServerFrames() override;
    ServerFrames(const ServerFrames&) = delete;
    ServerFrames& operator=(const ServerFrames&) = delete;

    // Draws a one-bit picture (colour 0 black, 1 white) with its top-left at the top-left of
    // `area`, in the window's pixels, cut off at the area's edges, and sends the request.
    // Throws when an earlier request has failed.
    void Show(const QImage& picture, const QRect& area);
    // Throws std::runtime_error, saying what failed, once the server has refused a request.
    void ThrowIfFailed() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

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
    // Remembers a request, so that the server's error for it can be told from the toolkit's.
    void Sent(unsigned int sequence, const char* what);

    xcb_connection_t* connection_;
    std::uint32_t window_;
    BitmapFormat format_;
    std::uint32_t windowGc_ = 0;
    std::uint32_t bitmapGc_ = 0;
    // Server pixmaps by the picture's cache key.
    std::map<qint64, std::uint32_t> bitmaps_;
    // Requests the server may still refuse, by sequence number; the server answers in order,
    // so any later answer settles the earlier ones.
    std::map<unsigned int, const char*> unsettled_;
    std::string failure_;
};

}  // namespace kelto
