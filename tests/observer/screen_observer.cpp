// Looks at the viewer from outside, the way a person sees it, and tells which holder picture
// it shows. One of two sources:
//   screen_observer FRAMES_DIR window WINDOW_ID COMMAND...      an X window: kelto's own
//   screen_observer FRAMES_DIR output WINDOW_ID SCALE COMMAND... a nested compositor's output,
//       searched for the picture area wherever the compositor put the window; each frame
//       pixel shows as SCALE x SCALE device pixels
// Commands, for both:
//   once                          index shown now
//   settle STABLE_MS TIMEOUT_MS   the frame once it has stood STABLE_MS
//   change-from INDEX TIMEOUT_MS  the first frame shown that differs from INDEX
//   observe REST_MS MAX_MS [sync] [from-sent] [min-changes=N] [changes=N]
//       prints "ready" once it has samples (with sync: right after a change, at the start of
//       a pass's wait), then reads "SENT_MS DELIVERED_MS" (epoch ms) when the command it
//       watches has been sent and has returned, watches until the frame rests REST_MS since
//       then (after N changes), N changes were seen or MAX_MS passed, on the samples' times,
//       and prints the observation (verdict.h); status 3 when no frame was seen before
//   whole STABLE_MS TIMEOUT_MS FILE [AFTER]   once a frame other than AFTER stands, the
//       whole client area against the window as it must look: prints "index" and what differs
//       (status 5), saving the shot to FILE then; with AFTER (not -1), also how far it stands
//       from AFTER when that is not one frame on (status 6)
//   save FILE.png                 the whole window or output
// For a window: describe (the nearest frame on the screen and in the window's own pixels),
// icons STOCK (the window's icons, "WxH clear|stock|other" each, against the picture STOCK).
// For an output: client ("x y digest" of the client and its decoration), caption TEXT (the
// bar above the client holds TEXT and nothing else), nothing-above (no second bar above it),
// background and bar (grey level of the row below the frame, of the caption bar), placed MS
// [BAD.png] (for MS, every grab shows one frame in a whole client; "ms frames x,y [bad]" each;
// the first bad grab kept in BAD.png), steps
// COUNT (types keypad '*' COUNT times at random moments; "ms from to" each; status 1 when one
// did not show within 5 s, 6 when one was not one frame forward).
//   screen_observer judge OBSERVATION TERM...   whether an observation passes (verdict.h)
//   screen_observer protocol LOG QUERY [ARGS]   what kelto's Wayland protocol log tells: the
//       limits and decoration modes it sent and was told, its frames' surfaces, their commits,
//       moves and button presses (protocol_log.h)
//   screen_observer startup|idle|keylat ... -- COMMAND...   the benchmark's looks
//       (bench/screen_looks.cpp)
// Indexes are frame-table positions 0..17; -1 means no frame shows exactly.
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "animation/animation_state.h"
#include "observer/protocol_log.h"
#include "observer/verdict.h"
#include "support/frame_references.h"
#include "support/window_look.h"
#include "window/form1.h"
#include "window/picture_area_units.h"

// Last: Xlib's macros would clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

int BenchMain(int argc, char** argv);

namespace {

using kelto::kFrameCount;
using kelto::observer::Sample;
using kelto::testing::FrameReferences;

constexpr int kClientSize = kelto::Form1::kClientSize;
constexpr int kEdge = kelto::kPictureEdge;

long long Now() {
    return QDateTime::currentMSecsSinceEpoch();
}

QImage GrabOf(WId window, QRect area = {0, 0, -1, -1}) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(window, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

class Source {
  public:
    Source(WId window, const FrameReferences& references)
        : window_(window), references_(references) {}
    virtual ~Source() = default;
    // The frame shown now, -1 for none. Tries the last one seen and its neighbours first.
    virtual int Sample() = 0;
    // The whole window or output, the client's top-left in it and the scale it is drawn at;
    // nullopt when no frame can be found.
    virtual std::optional<std::pair<QImage, QPoint>> Client() = 0;
    virtual int Scale(const QImage& shot) const = 0;
    QImage Grab() const { return GrabOf(window_); }

  protected:
    WId window_;
    const FrameReferences& references_;
    int last_ = 0;
};

// kelto's own X window. A window grown by a whole scale factor is sampled one device pixel
// per pixel.
class WindowSource : public Source {
  public:
    using Source::Source;
    int Sample() override {
        // KELTO_PROBE_TOP_LEFT set: only the client's top-left square, for a window that a
        // tiling window manager made larger.
        static const bool topLeft = qEnvironmentVariableIsSet("KELTO_PROBE_TOP_LEFT");
        QImage shot =
            GrabOf(window_, topLeft ? QRect(0, 0, kClientSize, kClientSize) : QRect(0, 0, -1, -1));
        if (Scale(shot) > 1)
            shot = shot.scaled(kClientSize, kClientSize, Qt::IgnoreAspectRatio,
                               Qt::FastTransformation);
        const int index = references_.Identify(shot, references_.InnerOrigin(), last_);
        return index >= 0 ? last_ = index : -1;
    }
    std::optional<std::pair<QImage, QPoint>> Client() override {
        return std::make_pair(Grab(), QPoint(0, 0));
    }
    // The whole factor the window was grown by; ends the observer for any other size.
    int Scale(const QImage& shot) const override {
        const int scale = shot.width() / kClientSize;
        if (scale < 1 || shot.width() != scale * kClientSize || shot.height() != shot.width()) {
            std::fprintf(stderr, "window client is %dx%d, not %dx%d\n", shot.width(), shot.height(),
                         kClientSize, kClientSize);
            std::exit(4);
        }
        return scale;
    }
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
};

// A compositor's output window, the Xvfb's window the compositor draws into.
class OutputSource : public Source {
  public:
    OutputSource(WId window, const FrameReferences& references, int scale)
        : Source(window, references), scale_(scale) {}
    // Every frame on `shot`, or only the first: searched anchored on black pixels, so cheap
    // enough for the whole output.
    std::vector<std::pair<QPoint, int>> FramesIn(const QImage& shot, bool all) const {
        std::vector<std::pair<QPoint, int>> found;
        for (int y = 0; y < shot.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
            for (int x = 0; x < shot.width(); ++x) {
                if ((row[x] & 0xffffff) != 0) continue;
                for (int index = 0; index < kFrameCount; ++index) {
                    const QPoint origin = QPoint(x, y) - references_.FirstBlack(index);
                    if (!references_.Matches(shot, origin, index)) continue;
                    found.emplace_back(origin, index);
                    if (!all) return found;
                }
            }
        }
        return found;
    }
    bool Locate() {
        const auto found = FramesIn(Grab(), false);
        if (found.empty()) return false;
        origin_ = found.front().first;
        last_ = found.front().second;
        return true;
    }
    int Sample() override {
        if (!origin_ && !Locate()) return -1;
        const QImage shot = GrabOf(window_, QRect(*origin_, references_.Visible()));
        if (const int index = references_.Identify(shot, {0, 0}, last_); index >= 0)
            return last_ = index;
        origin_.reset();  // moved, or not a frame: look again next time
        return -1;
    }
    std::optional<std::pair<QImage, QPoint>> Client() override {
        if (!Locate()) return std::nullopt;
        return std::make_pair(Grab(), ClientTop());
    }
    int Scale(const QImage&) const override { return scale_; }
    QPoint ClientTop() const { return *origin_ - QPoint(kEdge, kEdge) * scale_; }
    QImage Area(QRect area) const { return GrabOf(window_, area); }

  private:
    int scale_;
    std::optional<QPoint> origin_;
};

// For `length` ms, grab after grab: one frame on the output, in a whole client as it must look,
// its edge and background around it; none, or a second beside it, is as wrong. Prints
// "ms frames x,y" per grab (the client's top-left, "-" without a frame) and "bad" after a grab
// that broke that; status 1 then, and the first such grab saved to `keep`, when named.
int CheckPlaced(const OutputSource& source, const FrameReferences& references, int scale,
                qint64 length, const QString& keep) {
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    while (clock.elapsed() < length) {
        const QImage shot = source.Grab();
        const qint64 at = clock.elapsed();
        const auto found = source.FramesIn(shot, true);
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
        if (bad && status == 0 && !keep.isEmpty()) shot.save(keep);
        if (bad) status = 1;
    }
    return status;
}

// The icons a window hands the desktop (_NET_WM_ICON: width, height, then ARGB pixels, for each
// size), each "WIDTHxHEIGHT clear|stock|other": clear when no pixel shows, stock when every
// pixel is that of `stock` (colours where either shows).
QString Icons(WId window, const QImage& stock) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return QStringLiteral("not readable");
    xcb_connection_t* connection = x11->connection();
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, 12, "_NET_WM_ICON"),
                              nullptr),
        &std::free);
    if (!atom || !atom->atom) return QStringLiteral("none");
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, static_cast<xcb_window_t>(window),
                                                atom->atom, XCB_ATOM_CARDINAL, 0, 1 << 20),
                               nullptr),
        &std::free);
    if (!property || property->format != 32) return QStringLiteral("none");
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(property.get()));
    const std::size_t count = property->value_len;
    QStringList icons;
    for (std::size_t at = 0; at + 2 <= count;) {
        const std::size_t width = values[at], height = values[at + 1];
        at += 2;
        if (count - at < width * height) {
            icons << QStringLiteral("cut short");
            break;
        }
        bool clear = true;
        bool same = stock.width() == int(width) && stock.height() == int(height);
        for (std::size_t k = 0; k < width * height; ++k) {
            const QRgb pixel = values[at + k];
            clear = clear && qAlpha(pixel) == 0;
            if (!same) continue;
            const QRgb expected = stock.pixel(int(k % width), int(k / width));
            same = pixel == expected || (qAlpha(pixel) == 0 && qAlpha(expected) == 0);
        }
        icons << QStringLiteral("%1x%2 %3")
                     .arg(width)
                     .arg(height)
                     .arg(clear  ? "clear"
                          : same ? "stock"
                                 : "other");
        at += width * height;
    }
    return icons.join(' ');
}

// The frame once it has stood `stable` ms and is not `other`, or -1 after `timeout` ms.
int Settled(Source& source, qint64 stable, qint64 timeout, int other = -1) {
    QElapsedTimer clock, since;
    clock.start();
    int current = -2;
    while (clock.elapsed() < timeout) {
        const int index = source.Sample();
        if (index != current) current = index, since.start();
        if (current >= 0 && current != other && since.elapsed() >= stable) return current;
        QThread::msleep(5);
    }
    return -1;
}

// A line on stdin, without waiting.
std::optional<std::string> LineReady() {
    pollfd input{0, POLLIN, 0};
    if (poll(&input, 1, 0) <= 0) return std::nullopt;
    char line[128];
    if (!std::fgets(line, sizeof line, stdin)) return std::string();
    return std::string(line);
}

int Observe(Source& source, int argc, char** argv) {
    kelto::observer::Until until;
    until.restMs = std::stoll(argv[0]);
    until.maxMs = std::stoll(argv[1]);
    bool sync = false, fromSent = false;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "sync")
            sync = true;
        else if (option == "from-sent")
            fromSent = true;
        else if (option.rfind("min-changes=", 0) == 0)
            until.minChanges = std::stoi(option.substr(12));
        else if (option.rfind("changes=", 0) == 0)
            until.changes = std::stoi(option.substr(8));
        else
            return 2;
    }
    std::vector<Sample> samples;
    const auto sample = [&] {
        samples.push_back({Now(), source.Sample()});
        // A few hundred samples a second follow any pace the eye can; leave the rest of the
        // machine to the program watched.
        QThread::msleep(2);
    };
    sample();
    const long long first = samples.front().ms;
    while (samples.back().ms - first < 200) sample();
    if (sync) {
        const std::size_t seen = samples.size();
        int last = -1;
        for (const Sample& s : samples) last = s.frame >= 0 ? s.frame : last;
        for (;;) {
            sample();
            const int frame = samples.back().frame;
            if (frame >= 0 && last >= 0 && frame != last && samples.size() > seen) break;
            last = frame >= 0 ? frame : last;
            if (samples.back().ms - first > 20000) {
                std::printf("no change to send the command after\n");
                return 1;
            }
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::optional<std::string> times;
    while (!(times = LineReady())) sample();
    long long sent = 0, delivered = 0;
    if (std::sscanf(times->c_str(), "%lld %lld", &sent, &delivered) != 2) return 2;
    const long long from = fromSent ? sent : delivered;
    do sample();
    while (!kelto::observer::Done(samples, from, until));
    const auto observation = kelto::observer::Observe(samples, from);
    std::printf("%s\n", kelto::observer::Format(observation).c_str());
    return observation.seenBefore ? 0 : 3;
}

// The bar above the client must hold the whole caption and nothing else: its ink spans the
// caption's width in the decoration's font, give or take three pixels.
int CheckCaption(OutputSource& source, const QString& caption, int scale) {
    if (!source.Locate()) return std::fprintf(stderr, "no frame on the output\n"), 3;
    const QPoint clientTop = source.ClientTop();
    QFont font;
    font.setPixelSize(14 * scale);
    const int textWidth = QFontMetrics(font).horizontalAdvance(caption);
    // The caption bar lies right above the client, as wide as the client.
    const int barHeight = 24 * scale;
    const QImage bar = source.Area(
        QRect(clientTop.x(), clientTop.y() - barHeight, kClientSize * scale, barHeight));
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
    return std::abs(right - left + 1 - textWidth) <= 3 * scale && bottom - top < barHeight ? 0 : 1;
}

// Nothing but the program's own bar: the rows right above the frame it draws (its caption
// bar and its one-pixel border) show a single colour, the compositor's background, and not a
// title bar of the compositor's own.
int CheckNothingAbove(OutputSource& source, int scale) {
    if (!source.Locate()) return std::fprintf(stderr, "no frame on the output\n"), 3;
    const QPoint clientTop = source.ClientTop();
    const int frameTop = clientTop.y() - (24 + 1) * scale;
    const int top = std::max(0, frameTop - 30 * scale);
    if (frameTop - top < 8 * scale) {
        std::fprintf(stderr, "the frame stands at the output's top: no rows above it to look at\n");
        return 3;
    }
    const QImage above =
        source.Area(QRect(clientTop.x() - scale, top, (kClientSize + 2) * scale, frameTop - top));
    std::set<QRgb> colours;
    for (int y = 0; y < above.height(); ++y)
        for (int x = 0; x < above.width(); ++x) colours.insert(above.pixel(x, y) & 0xffffff);
    std::printf("%zu colour(s) in the %d rows above the frame\n", colours.size(), above.height());
    return colours.size() == 1 ? 0 : 1;
}

// Types each key itself, timed from the moment the X server has it: starting a typing tool
// on a busy machine would count as the program's time.
int MeasureSteps(Source& source, int count) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    const KeyCode key = XKeysymToKeycode(display, XK_KP_Multiply);
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> pause(250, 500);
    int status = 0;
    for (int i = 0; i < count; ++i) {
        const int from = source.Sample();
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
            to = source.Sample();
        }
        std::printf("%lld %d %d\n", static_cast<long long>(since.elapsed()), from, to);
        if (kelto::observer::StepBetween(from, to) != 1) status = 6;
        QThread::msleep(300);
    }
    XCloseDisplay(display);
    return status;
}

// How far a shot is from the nearest frame, for a failure's log.
QString Nearest(const FrameReferences& references, const QImage& shot, int scale) {
    if (shot.isNull()) return QStringLiteral("not readable");
    kelto::testing::Difference closest;
    int closestIndex = -1;
    for (int index = 0; index < kFrameCount; ++index) {
        const auto difference = kelto::testing::Compare(
            shot, {0, 0}, kelto::testing::ExpectedClient(references.Picture(index), scale));
        if (closestIndex < 0 || difference.count < closest.count)
            closest = difference, closestIndex = index;
    }
    return QStringLiteral("nearest frame %1: %2").arg(closestIndex).arg(closest.Describe());
}

int Usage() {
    std::fprintf(stderr,
                 "usage: screen_observer FRAMES_DIR window WID|output WID SCALE COMMAND...\n"
                 "       screen_observer judge OBSERVATION TERM...\n"
                 "       screen_observer protocol LOG QUERY [ARGS]\n");
    return 2;
}

int Judge(int argc, char** argv) {
    const auto observation = kelto::observer::Parse(argv[2]);
    if (!observation) return std::fprintf(stderr, "not an observation: %s\n", argv[2]), 2;
    const auto judgement =
        kelto::observer::Judge(*observation, std::vector<std::string>(argv + 3, argv + argc));
    if (!judgement.pass) std::printf("not %s: %s\n", judgement.failed.c_str(), argv[2]);
    return judgement.pass ? 0 : 1;
}

int AnswerFromLog(int argc, char** argv) {
    std::ifstream file(argv[2]);
    if (!file) return std::fprintf(stderr, "cannot read %s\n", argv[2]), 2;
    const int status = kelto::observer::AnswerProtocolQuery(
        kelto::observer::ReadProtocolLog(file), std::vector<std::string>(argv + 3, argv + argc),
        std::cout);
    return status == 0 ? 0 : Usage();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "judge") return Judge(argc, argv);
    if (argc >= 4 && std::string(argv[1]) == "protocol") return AnswerFromLog(argc, argv);
    if (argc >= 2 && std::set<std::string>{"startup", "idle", "keylat", "still"}.count(argv[1]))
        return BenchMain(argc, argv);
    if (argc < 5) return Usage();
    const std::string kind = argv[2];
    const bool output = kind == "output";
    if (!output && kind != "window") return Usage();
    const int scale = output ? std::atoi(argv[4]) : 1;
    const int first = output ? 5 : 4;
    if (scale < 1 || argc <= first) return Usage();
    // Widgets: the expected window's edge is drawn by the same style as the program's.
    QApplication application(argc, argv);
    // Readers follow the lines while they come.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    FrameReferences references;
    if (!references.Load(QString::fromLocal8Bit(argv[1]), scale)) return 2;
    const WId id = static_cast<WId>(std::stoul(argv[3], nullptr, 0));
    std::unique_ptr<Source> source;
    if (output)
        source = std::make_unique<OutputSource>(id, references, scale);
    else
        source = std::make_unique<WindowSource>(id, references);
    const std::string command = argv[first];
    char** args = argv + first + 1;
    const int count = argc - first - 1;

    if (command == "once" && count == 0) {
        const int index = source->Sample();
        std::printf("%d\n", index);
        return index < 0 ? 3 : 0;
    }
    if (command == "save" && count == 1) return source->Grab().save(args[0]) ? 0 : 1;
    if (command == "settle" && count == 2) {
        const int index = Settled(*source, std::stoll(args[0]), std::stoll(args[1]));
        std::printf("%d\n", index);
        return index < 0 ? 1 : 0;
    }
    if (command == "change-from" && count == 2) {
        const int from = std::stoi(args[0]);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < std::stoll(args[1])) {
            if (const int index = source->Sample(); index >= 0 && index != from)
                return std::printf("%d\n", index), 0;
            QThread::msleep(2);
        }
        return std::printf("%d\n", from), 1;
    }
    if (command == "observe" && count >= 2) return Observe(*source, count, args);
    if (command == "whole" && (count == 3 || count == 4)) {
        const int shown = Settled(*source, std::stoll(args[0]), std::stoll(args[1]),
                                  count == 4 ? std::stoi(args[3]) : -1);
        const auto client = source->Client();
        if (shown < 0 || !client) {
            std::printf("%d no frame stood still\n", shown);
            source->Grab().save(args[2]);
            return 1;
        }
        const auto difference =
            kelto::testing::Compare(client->first, client->second,
                                    kelto::testing::ExpectedClient(references.Picture(shown),
                                                                   source->Scale(client->first)));
        const int after = count == 4 ? std::stoi(args[3]) : -1;
        const int step = after < 0 ? 1 : kelto::observer::StepBetween(after, shown);
        const QString off = QStringLiteral(", %1 frame(s) on from %2").arg(step).arg(after);
        std::printf("%d %s%s\n", shown, qPrintable(difference.Describe()),
                    step == 1 ? "" : qPrintable(off));
        if (difference.count) client->first.save(args[2]);
        return difference.count ? 5 : step != 1 ? 6 : 0;
    }
    if (!output) {
        auto& window = static_cast<WindowSource&>(*source);
        // A picture the observer missed tells itself from one that never arrived, and a
        // compositor that is behind from both.
        if (command == "icons" && count == 1) {
            const QImage stock =
                QImage(QString::fromLocal8Bit(args[0])).convertToFormat(QImage::Format_ARGB32);
            return std::printf("%s\n", qPrintable(Icons(id, stock))), 0;
        }
        if (command != "describe" || count != 0) return Usage();
        const QImage screen = window.Grab(), own = window.OwnPixels();
        std::printf("on the screen %s; in the window's own pixels %s\n",
                    qPrintable(Nearest(references, screen, window.Scale(screen))),
                    qPrintable(own.isNull() ? QStringLiteral("not readable")
                                            : Nearest(references, own, window.Scale(own))));
        return 0;
    }
    auto& compositor = static_cast<OutputSource&>(*source);
    if (command == "client" && count == 0) {
        // Where the client lies and a digest of it with its decoration and a margin around
        // it: a window that changed size or state shows a different digest.
        if (!compositor.Locate()) return 3;
        const QPoint topLeft = compositor.ClientTop();
        const int margin = 12 * scale, bar = 26 * scale, size = kClientSize * scale;
        const QImage around =
            compositor.Area(QRect(topLeft.x() - margin, topLeft.y() - bar - margin,
                                  size + 2 * margin, size + bar + 2 * margin));
        quint64 digest = 1469598103934665603ull;
        for (int y = 0; y < around.height(); ++y)
            for (int x = 0; x < around.width(); ++x)
                digest = (digest ^ (around.pixel(x, y) & 0xffffff)) * 1099511628211ull;
        std::printf("%d %d %llx\n", topLeft.x(), topLeft.y(),
                    static_cast<unsigned long long>(digest));
        return 0;
    }
    if (command == "steps" && count == 1) return MeasureSteps(compositor, std::stoi(args[0]));
    // The grey level of one pixel at `offset` from the client's top-left, in frame pixels.
    const auto greyAt = [&](QPoint offset) {
        if (!compositor.Locate()) return 3;
        const QPoint at = compositor.ClientTop() + offset * scale;
        std::printf("%d\n", qGray(compositor.Area(QRect(at, QSize(1, 1))).pixel(0, 0)));
        return 0;
    };
    // The visible inner row below the frame, in its middle.
    if (command == "background" && count == 0) return greyAt({kEdge + 240, kEdge + 480});
    // The caption bar half its height above the client, a few pixels in from its right end.
    if (command == "bar" && count == 0) return greyAt({kClientSize - 6, -12});
    if (command == "placed" && (count == 1 || count == 2))
        return CheckPlaced(compositor, references, scale, std::stoll(args[0]),
                           count == 2 ? QString::fromLocal8Bit(args[1]) : QString());
    if (command == "nothing-above" && count == 0) return CheckNothingAbove(compositor, scale);
    if (command == "caption" && count == 1)
        return CheckCaption(compositor, QString::fromLocal8Bit(args[0]), scale);
    return Usage();
}
