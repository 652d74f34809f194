#pragma once

#include <QAbstractNativeEventFilter>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "window/frame_sender.h"

struct xcb_connection_t;

namespace kelto {

// Frames kept on the X server. Each goes up once, as a one-bit pixmap, and showing it is a
// single copy request: no pixels are converted, copied or sent per pass. One small request a
// pass, answered a pass later, keeps the server no more than a frame behind. Drawing this way
// passes the toolkit's back buffer by, so the window is repainted whole whenever the server may
// have lost what was drawn (exposed, mapped, reparented). The server's answer to a request that
// failed arrives among the window's events; it is kept and thrown, since a picture that was not
// shown must not pass for one that was.
class ServerFrames final : public FrameSender, private QAbstractNativeEventFilter {
  public:
    ServerFrames() = default;
    ~ServerFrames() override;
    ServerFrames(const ServerFrames&) = delete;
    ServerFrames& operator=(const ServerFrames&) = delete;

    // False where pictures cannot be copied into the window pixel for pixel: a scaled window,
    // or one whose visual is not a true-colour visual of its screen.
    bool Start(QWidget& window, std::function<void()> lost) override;
    // Throws when the server refused an earlier request.
    void Show(const QImage& picture, const QRect& area) override;
    void EndOfEventStep() override;

  private:
    struct BitmapFormat {
        int unit = 0;  // bits of a scanline unit
        int pad = 0;   // bits a row is padded to
        bool leastSignificantBitFirst = false;
        bool leastSignificantByteFirst = false;
    };
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void ThrowIfFailed() const;
    std::uint32_t Upload(const QImage& picture);
    // Remembers a request, so that the server's error for it can be told from the toolkit's.
    void Sent(unsigned int sequence, const char* what);

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t window_ = 0;
    std::function<void()> lost_;
    BitmapFormat format_;
    std::uint32_t windowGc_ = 0;
    std::uint32_t bitmapGc_ = 0;
    // Server pixmaps by the picture's cache key.
    std::map<qint64, std::uint32_t> bitmaps_;
    // The setting up and uploads the server may still refuse, by sequence number; the server
    // answers in order, so any later answer settles the earlier ones.
    std::map<unsigned int, const char*> unsettled_;
    std::string failure_;
    // The pass's round trip to the server, by sequence number, until its answer is collected.
    std::optional<unsigned int> paced_;
};

}  // namespace kelto
