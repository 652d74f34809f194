// Looks at the kelto window inside a nested Wayland compositor's output, an X window, the way
// a person sees it: finds the picture area wherever the compositor placed the window and tells
// which holder picture it shows.
//
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE once            index shown now
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE watch MS        "epoch-ms index" per sample
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE change-from INDEX TIMEOUT_MS
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE client          "x y digest" of the client
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE caption TEXT    checks the bar above the client
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE nothing-above   no second bar above that bar
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE save FILE.png   the whole output
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE steps COUNT     types keypad '*' COUNT times
//       at random moments and prints "ms from to" per key: how long the change took to show
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE whole COUNT     compares the whole client
//       area with the window as it must look, then types '.' and does it again, COUNT times;
//       prints "index" and what differs each time (status 5: a window differed, 6: a step
//       did not move one frame on)
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE background       grey level of the background
//       row below the frame
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE placed MS        for MS, every grab shows
//       one frame, in a whole client (status 1: one did not)
//   wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE bar              grey level of the caption bar
//       at its right end, past the caption
//
// SCALE is the output's scale: each frame pixel shows as SCALE x SCALE device pixels. Indexes
// are frame-table positions 0..17; -1 means the window shows none of them exactly.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "animation/animation_state.h"
#include "support/frame_references.h"
#include "support/window_look.h"
#include "window/form1.h"
#include "window/picture_area_units.h"

// Last: Xlib's macros would clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using kelto::kFrameCount;
using kelto::testing::FrameReferences;

constexpr int kClientSize = kelto::Form1::kClientSize;
constexpr int kEdge = kelto::kPictureEdge;

int scale = 1;

class Probe {
  public:
    Probe(WId output, const FrameReferences& references)
        : output_(output), references_(references) {}

    QImage Grab(QRect area = {}) const {
        if (area.isNull()) area = QRect(0, 0, -1, -1);
        return QGuiApplication::primaryScreen()
            ->grabWindow(output_, area.x(), area.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // Searches the whole output for a frame: anchored on black pixels, so cheap enough.
    bool Locate() {
        const QImage shot = Grab();
        for (int y = 0; y < shot.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
            for (int x = 0; x < shot.width(); ++x) {
                if ((row[x] & 0xffffff) != 0) continue;
                for (int index = 0; index < kFrameCount; ++index) {
                    const QPoint origin = QPoint(x, y) - references_.FirstBlack(index);
                    if (references_.Matches(shot, origin, index)) {
                        origin_ = origin;
                        last_ = index;
                        return true;
                    }
                }
            }
        }
        return false;
    }

    int Sample() {
        if (!origin_ && !Locate()) return -1;
        const QImage shot = Grab(QRect(*origin_, references_.Visible()));
        if (const int index = references_.Identify(shot, {0, 0}, last_); index >= 0)
            return last_ = index;
        origin_.reset();  // moved, or not a frame: look again next time
        return -1;
    }

    // Where the client lies and a digest of it with its decoration and a margin around it:
    // a window that changed size or state shows a different digest.
    std::optional<std::pair<QPoint, quint64>> Client() {
        if (!Locate()) return std::nullopt;
        const QPoint topLeft = *origin_ - QPoint(kEdge, kEdge) * scale;
        const int margin = 12 * scale, bar = 26 * scale, size = kClientSize * scale;
        const QImage around = Grab(QRect(topLeft.x() - margin, topLeft.y() - bar - margin,
                                         size + 2 * margin, size + bar + 2 * margin));
        quint64 digest = 1469598103934665603ull;
        for (int y = 0; y < around.height(); ++y)
            for (int x = 0; x < around.width(); ++x)
                digest = (digest ^ (around.pixel(x, y) & 0xffffff)) * 1099511628211ull;
        return std::make_pair(topLeft, digest);
    }

    QPoint Origin() const { return *origin_; }

  private:
    WId output_;
    const FrameReferences& references_;
    std::optional<QPoint> origin_;
    int last_ = 0;
};

// The bar above the client must hold the whole caption and nothing else: its ink spans the
// caption's width in the decoration's font, give or take three pixels.
int CheckCaption(Probe& probe, const QString& caption) {
    if (!probe.Locate()) {
        std::fprintf(stderr, "no frame on the output\n");
        return 3;
    }
    const QPoint clientTop = probe.Origin() - QPoint(kEdge, kEdge) * scale;
    QFont font;
    font.setPixelSize(14 * scale);
    const int textWidth = QFontMetrics(font).horizontalAdvance(caption);
    // The caption bar lies right above the client, as wide as the client.
    const int barHeight = 24 * scale;
    const QImage bar =
        probe.Grab(QRect(clientTop.x(), clientTop.y() - barHeight, kClientSize * scale, barHeight));
    int left = bar.width(), right = -1, top = bar.height(), bottom = -1;
    for (int y = 0; y < bar.height(); ++y)
        for (int x = 0; x < bar.width(); ++x)
            if (qGray(bar.pixel(x, y)) < 96) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    std::printf("ink %d..%d x %d..%d, caption %d wide in the decoration's font\n", left, right, top,
                bottom, textWidth);
    if (right < 0) return 1;
    const int inkWidth = right - left + 1;
    return std::abs(inkWidth - textWidth) <= 3 * scale && bottom - top < barHeight ? 0 : 1;
}

// Nothing but the program's own bar: the rows right above the frame it draws (its caption
// bar and its one-pixel border) show a single colour, the compositor's background, and not a
// title bar of the compositor's own.
int CheckNothingAbove(Probe& probe) {
    if (!probe.Locate()) {
        std::fprintf(stderr, "no frame on the output\n");
        return 3;
    }
    const QPoint clientTop = probe.Origin() - QPoint(kEdge, kEdge) * scale;
    const int frameTop = clientTop.y() - (24 + 1) * scale;
    const int top = std::max(0, frameTop - 30 * scale);
    if (frameTop - top < 8 * scale) {
        std::fprintf(stderr, "the frame stands at the output's top: no rows above it to look at\n");
        return 3;
    }
    const QImage above =
        probe.Grab(QRect(clientTop.x() - scale, top, (kClientSize + 2) * scale, frameTop - top));
    std::set<QRgb> colours;
    for (int y = 0; y < above.height(); ++y)
        for (int x = 0; x < above.width(); ++x) colours.insert(above.pixel(x, y) & 0xffffff);
    std::printf("%zu colour(s) in the %d rows above the frame\n", colours.size(), above.height());
    return colours.size() == 1 ? 0 : 1;
}

// Types each key itself, timed from the moment the X server has it: starting a typing tool
// on a busy machine would count as the program's time.
int MeasureSteps(Probe& probe, int count) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    const KeyCode key = XKeysymToKeycode(display, XK_KP_Multiply);
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> pause(250, 500);
    for (int i = 0; i < count; ++i) {
        const int from = probe.Sample();
        if (from < 0) return 3;
        QThread::msleep(pause(random));
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        XSync(display, False);
        QElapsedTimer since;
        since.start();
        int to = from;
        while (to == from || to < 0) {
            if (since.elapsed() > 5000) return 1;
            to = probe.Sample();
        }
        std::printf("%lld %d %d\n", static_cast<long long>(since.elapsed()), from, to);
        QThread::msleep(300);
    }
    XCloseDisplay(display);
    return 0;
}

// The frame once it has stood still for a while, or -1.
int Settled(Probe& probe, int stableMs, int timeoutMs) {
    QElapsedTimer clock, since;
    clock.start();
    int current = -2;
    while (clock.elapsed() < timeoutMs) {
        const int index = probe.Sample();
        if (index != current) current = index, since.start();
        if (current >= 0 && since.elapsed() >= stableMs) return current;
        QThread::msleep(5);
    }
    return -1;
}

int CheckWhole(Probe& probe, const FrameReferences& references, int count) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    const KeyCode period = XKeysymToKeycode(display, XK_period);
    int status = 0;
    for (int i = 0, previous = -1; i <= count; ++i) {
        if (i > 0) {
            XTestFakeKeyEvent(display, period, True, CurrentTime);
            XTestFakeKeyEvent(display, period, False, CurrentTime);
            XSync(display, False);
        }
        int shown = -1;
        QElapsedTimer waited;
        waited.start();
        // A step shows within a pass or two; wait for the new frame, then for it to stand.
        while ((shown = Settled(probe, 600, 20000)) == previous && waited.elapsed() < 20000) {
        }
        if (shown < 0 || !probe.Locate()) {
            std::printf("%d no frame stood still\n", shown);
            return 1;
        }
        const QPoint clientTop = probe.Origin() - QPoint(kEdge, kEdge) * scale;
        const auto difference = kelto::testing::Compare(
            probe.Grab(), clientTop,
            kelto::testing::ExpectedClient(references.Picture(shown), scale));
        std::printf("%d %s\n", shown, qPrintable(difference.Describe()));
        if (difference.count) status = 5;
        if (previous >= 0 && shown != (previous + 1) % kFrameCount && status == 0) status = 6;
        previous = shown;
    }
    XCloseDisplay(display);
    return status;
}

// For MS milliseconds, grab after grab: one frame on the output, in a whole client as it must
// look, its edge and background around it; none, or a second beside it, is as wrong. Prints
// "ms frames x,y" per grab (the client's top-left, or "-" where there is no frame) and "bad"
// after a grab that broke that; status 1 then.
int CheckPlaced(Probe& probe, const FrameReferences& references, qint64 length) {
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    while (clock.elapsed() < length) {
        const QImage shot = probe.Grab();
        const qint64 at = clock.elapsed();
        std::vector<std::pair<QPoint, int>> found;
        for (int y = 0; y < shot.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
            for (int x = 0; x < shot.width(); ++x) {
                if ((row[x] & 0xffffff) != 0) continue;
                for (int index = 0; index < kFrameCount; ++index) {
                    const QPoint origin = QPoint(x, y) - references.FirstBlack(index);
                    if (references.Matches(shot, origin, index)) found.emplace_back(origin, index);
                }
            }
        }
        // None found: the frame stands where no whole frame with its background row shows.
        bool bad = found.size() != 1;
        for (const auto& [origin, index] : found)
            bad = bad || kelto::testing::Compare(
                             shot, origin - QPoint(kEdge, kEdge) * scale,
                             kelto::testing::ExpectedClient(references.Picture(index), scale))
                                 .count != 0;
        const QPoint client =
            found.empty() ? QPoint() : found.front().first - QPoint(kEdge, kEdge) * scale;
        std::printf("%lld %zu %s%s\n", static_cast<long long>(at), found.size(),
                    found.empty()
                        ? "-"
                        : qPrintable(QStringLiteral("%1,%2").arg(client.x()).arg(client.y())),
                    bad ? " bad" : "");
        if (bad) status = 1;
    }
    return status;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: wayland_probe FRAMES_DIR OUTPUT_WINDOW SCALE once|watch MS|change-from "
                 "INDEX TIMEOUT_MS|client|caption TEXT|nothing-above|save FILE|steps COUNT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return Usage();
    // Widgets: the expected window's edge is drawn by the same style as the program's.
    QApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    scale = std::atoi(argv[3]);
    if (scale < 1) return Usage();
    FrameReferences references;
    if (!references.Load(QString::fromLocal8Bit(argv[1]), scale)) return 2;
    Probe probe(static_cast<WId>(std::stoul(argv[2], nullptr, 0)), references);
    const std::string command = argv[4];
    QElapsedTimer clock;
    clock.start();

    if (command == "once" && argc == 5) {
        const int index = probe.Sample();
        std::printf("%d\n", index);
        return index < 0 ? 3 : 0;
    }
    if (command == "save" && argc == 6) return probe.Grab().save(argv[5]) ? 0 : 1;
    if (command == "client" && argc == 5) {
        const auto client = probe.Client();
        if (!client) return 3;
        std::printf("%d %d %llx\n", client->first.x(), client->first.y(),
                    static_cast<unsigned long long>(client->second));
        return 0;
    }
    if (command == "steps" && argc == 6) return MeasureSteps(probe, std::stoi(argv[5]));
    if (command == "whole" && argc == 6) return CheckWhole(probe, references, std::stoi(argv[5]));
    if (command == "background" && argc == 5) {
        if (!probe.Locate()) return 3;
        // The visible inner row below the frame, in its middle.
        const QPoint at = probe.Origin() + QPoint(240, 480) * scale;
        std::printf("%d\n", qGray(probe.Grab(QRect(at, QSize(1, 1))).pixel(0, 0)));
        return 0;
    }
    if (command == "bar" && argc == 5) {
        if (!probe.Locate()) return 3;
        // Half the bar's height above the client, a few pixels in from its right.
        const QPoint at = probe.Origin() + QPoint(kClientSize - kEdge - 6, -kEdge - 12) * scale;
        std::printf("%d\n", qGray(probe.Grab(QRect(at, QSize(1, 1))).pixel(0, 0)));
        return 0;
    }
    if (command == "placed" && argc == 6)
        return CheckPlaced(probe, references, std::stoll(argv[5]));
    if (command == "nothing-above" && argc == 5) return CheckNothingAbove(probe);
    if (command == "caption" && argc == 6)
        return CheckCaption(probe, QString::fromLocal8Bit(argv[5]));
    if (command == "watch" && argc == 6) {
        const qint64 length = std::stoll(argv[5]);
        while (clock.elapsed() < length) {
            const int index = probe.Sample();
            std::printf("%lld %d\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                        index);
            QThread::msleep(2);
        }
        return 0;
    }
    if (command == "change-from" && argc == 7) {
        const int from = std::stoi(argv[5]);
        const qint64 timeout = std::stoll(argv[6]);
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
