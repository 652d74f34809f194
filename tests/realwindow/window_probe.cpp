// Looks at the running kelto window from outside, the way a person sees it, and tells which
// holder picture it shows. Grabs come straight from the X server, so sampling is fast enough
// to follow the cam at full speed.
//
//   window_probe FRAMES_DIR WINDOW_ID once                   index shown now
//   window_probe FRAMES_DIR WINDOW_ID watch MS    "epoch-ms index" per sample, for MS
//   window_probe FRAMES_DIR WINDOW_ID settle STABLE_MS TIMEOUT_MS
//   window_probe FRAMES_DIR WINDOW_ID change-from INDEX TIMEOUT_MS
//   window_probe FRAMES_DIR WINDOW_ID save FILE.png
//   window_probe FRAMES_DIR WINDOW_ID whole STABLE_MS TIMEOUT_MS [FILE.png]
//       once a frame stands still, the whole client area against the window as it must look:
//       prints "index" and what differs; saves the shot to FILE.png when anything does
//   window_probe FRAMES_DIR WINDOW_ID describe
//       the nearest frame and what differs, on the screen and in the window's own pixels
//
// A window grown by a whole scale factor is sampled one device pixel per pixel.
// Indexes are frame-table positions 0..17 (holder Image<k> is position k - 1); -1 means the
// window shows none of them exactly.
#include <xcb/xcb.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "animation/animation_state.h"
#include "support/frame_references.h"
#include "support/window_look.h"
#include "window/form1.h"

namespace {

using kelto::testing::FrameReferences;

constexpr int kClientSize = kelto::Form1::kClientSize;

class Probe {
  public:
    Probe(WId window, const FrameReferences& references)
        : window_(window), references_(references) {}

    // KELTO_PROBE_TOP_LEFT set: only the client's top-left square, for a window that a tiling
    // window manager made larger. A save always takes the whole window.
    QImage Grab(bool whole = false) const {
        static const bool topLeft = qEnvironmentVariableIsSet("KELTO_PROBE_TOP_LEFT");
        const int side = topLeft && !whole ? kClientSize : -1;
        return QGuiApplication::primaryScreen()
            ->grabWindow(window_, 0, 0, side, side)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // The whole factor the window was grown by; ends the probe for any other size.
    static int ScaleOf(const QImage& shot) {
        const int scale = shot.width() / kClientSize;
        if (scale < 1 || shot.width() != scale * kClientSize || shot.height() != shot.width()) {
            std::fprintf(stderr, "window client is %dx%d, not %dx%d\n", shot.width(), shot.height(),
                         kClientSize, kClientSize);
            std::exit(4);
        }
        return scale;
    }

    // Tries the last seen picture and its neighbours first: that is almost always a hit.
    int Identify(QImage shot) {
        if (const int scale = ScaleOf(shot); scale > 1)
            shot = shot.scaled(kClientSize, kClientSize, Qt::IgnoreAspectRatio,
                               Qt::FastTransformation);
        const int index = references_.Identify(shot, references_.InnerOrigin(), last_);
        if (index >= 0) last_ = index;
        return index;
    }

    int Sample() { return Identify(Grab()); }

    // The window's own pixels, asked of the window itself. The toolkit's grab reads the
    // screen, which under a compositing window manager is what the compositor last painted.
    QImage OwnPixels() const {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11) return {};
        xcb_connection_t* connection = x11->connection();
        const auto window = static_cast<xcb_window_t>(window_);
        const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr),
            &std::free);
        if (!geometry) return {};
        const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
            xcb_get_image_reply(connection,
                                xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                              geometry->width, geometry->height, ~0u),
                                nullptr),
            &std::free);
        // 24 bits in 32 a pixel, as on every true-colour screen the tests make.
        if (!image || xcb_get_image_data_length(image.get()) !=
                          4 * static_cast<int>(geometry->width) * geometry->height)
            return {};
        return QImage(xcb_get_image_data(image.get()), geometry->width, geometry->height,
                      4 * geometry->width, QImage::Format_RGB32)
            .copy();
    }

  private:
    WId window_;
    const FrameReferences& references_;
    int last_ = 0;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: window_probe FRAMES_DIR WINDOW_ID once|watch MS|settle STABLE_MS "
                 "TIMEOUT_MS|change-from INDEX TIMEOUT_MS|save FILE|describe\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Usage();
    // Widgets: the expected window's edge is drawn by the same style as the program's.
    QApplication application(argc, argv);
    // Readers follow the samples while they come.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    FrameReferences references;
    if (!references.Load(QString::fromLocal8Bit(argv[1]))) return 2;
    Probe probe(static_cast<WId>(std::stoul(argv[2], nullptr, 0)), references);
    const std::string command = argv[3];
    QElapsedTimer clock;
    clock.start();

    if (command == "once" && argc == 4) {
        const int index = probe.Sample();
        std::printf("%d\n", index);
        return index < 0 ? 3 : 0;
    }
    if (command == "save" && argc == 5) return probe.Grab(true).save(argv[4]) ? 0 : 1;
    if (command == "watch" && argc == 5) {
        const qint64 length = std::stoll(argv[4]);
        while (clock.elapsed() < length) {
            const int index = probe.Sample();
            std::printf("%lld %d\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                        index);
            // A few hundred samples a second follow any pace the eye can; leave the rest of the
            // machine to the program watched.
            QThread::msleep(2);
        }
        return 0;
    }
    if (command == "settle" && argc == 6) {
        const qint64 stable = std::stoll(argv[4]), timeout = std::stoll(argv[5]);
        int current = -2;
        qint64 since = 0;
        while (clock.elapsed() < timeout) {
            const int index = probe.Sample();
            if (index != current) current = index, since = clock.elapsed();
            if (current >= 0 && clock.elapsed() - since >= stable) {
                std::printf("%d\n", current);
                return 0;
            }
            QThread::msleep(5);
        }
        std::printf("%d\n", current);
        return 1;
    }
    if (command == "whole" && (argc == 6 || argc == 7)) {
        const qint64 stable = std::stoll(argv[4]), timeout = std::stoll(argv[5]);
        int current = -2;
        qint64 since = 0;
        QImage shot;
        while (clock.elapsed() < timeout) {
            shot = probe.Grab();
            const int index = probe.Identify(shot);
            if (index != current) current = index, since = clock.elapsed();
            if (current >= 0 && clock.elapsed() - since >= stable) break;
            QThread::msleep(5);
        }
        if (current < 0) {
            std::printf("%d no frame stood still\n", current);
            if (argc == 7) shot.save(argv[6]);
            return 1;
        }
        const int scale = Probe::ScaleOf(shot);
        const auto difference = kelto::testing::Compare(
            shot, {0, 0}, kelto::testing::ExpectedClient(references.Picture(current), scale));
        std::printf("%d %s\n", current, qPrintable(difference.Describe()));
        if (difference.count && argc == 7) shot.save(argv[6]);
        return difference.count ? 5 : 0;
    }
    // For a failure's log: how far the window is from the nearest frame, whole, on the screen
    // and in its own pixels. A picture the probe missed tells itself from one that never
    // arrived, and a compositor that is behind from both.
    if (command == "describe" && argc == 4) {
        const auto nearest = [&references](const QImage& shot) {
            if (shot.isNull()) return QStringLiteral("not readable");
            const int scale = Probe::ScaleOf(shot);
            kelto::testing::Difference closest;
            int closestIndex = -1;
            for (int index = 0; index < kelto::kFrameCount; ++index) {
                const auto difference = kelto::testing::Compare(
                    shot, {0, 0}, kelto::testing::ExpectedClient(references.Picture(index), scale));
                if (closestIndex < 0 || difference.count < closest.count)
                    closest = difference, closestIndex = index;
            }
            return QStringLiteral("nearest frame %1: %2").arg(closestIndex).arg(closest.Describe());
        };
        std::printf("on the screen %s; in the window's own pixels %s\n",
                    qPrintable(nearest(probe.Grab(true))), qPrintable(nearest(probe.OwnPixels())));
        return 0;
    }
    if (command == "change-from" && argc == 6) {
        const int from = std::stoi(argv[4]);
        const qint64 timeout = std::stoll(argv[5]);
        while (clock.elapsed() < timeout) {
            const int index = probe.Sample();
            if (index >= 0 && index != from) {
                std::printf("%d\n", index);
                return 0;
            }
            QThread::msleep(2);
        }
        std::printf("%d\n", from);
        return 1;
    }
    return Usage();
}
