// The cheapest way this display stack can put a new 480x480 picture in a 483x483 window:
// 18 pictures prepared as server-side pixmaps, one copy and one round trip per pass.
// Prints the mean pass period of each block in nanoseconds, like kelto_bench.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "animation/wait_frame.h"
#include "frames/holder_pictures.h"
#include "window/picture_area_units.h"

namespace {

constexpr int kWindowSize = 483;
constexpr int kPictureSize = 480;
constexpr int kEdge = kelto::kPictureEdge;

Pixmap PreparePixmap(Display* display, Window window, GC gc, int depth, int holder) {
    const auto picture = kelto::frames::HolderPicture(holder);
    XImage* image = XCreateImage(display, DefaultVisual(display, DefaultScreen(display)),
                                 static_cast<unsigned>(depth), ZPixmap, 0, nullptr, kPictureSize,
                                 kPictureSize, 32, 0);
    image->data = static_cast<char*>(
        std::malloc(static_cast<std::size_t>(image->bytes_per_line) * kPictureSize));
    for (int y = 0; y < kPictureSize; ++y)
        for (int x = 0; x < kPictureSize; ++x)
            XPutPixel(image, x, y, picture.IsBlack(x, y) ? 0x000000 : 0xffffff);
    const Pixmap pixmap =
        XCreatePixmap(display, window, kPictureSize, kPictureSize, static_cast<unsigned>(depth));
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, kPictureSize, kPictureSize);
    XDestroyImage(image);
    return pixmap;
}

}  // namespace

int main(int argc, char** argv) {
    const long passes = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 500;
    const long blocks = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 5;
    const long warmup = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 50;
    // An idle stretch before each copy, waited as the viewer waits, shows what waking from
    // idle costs this display stack.
    const long idleMicroseconds = argc > 4 ? std::strtol(argv[4], nullptr, 10) : 0;
    kelto::SteadyWaitClock clock;
    kelto::PreciseIdleWaiter waiter(clock);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xlib_floor: cannot open display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const int depth = DefaultDepth(display, screen);
    const Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kWindowSize, kWindowSize, 0,
                            BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "xlib floor");
    XSelectInput(display, window, ExposureMask);
    XMapWindow(display, window);
    XEvent event;
    do XNextEvent(display, &event);
    while (event.type != Expose);

    const GC gc = XCreateGC(display, window, 0, nullptr);
    std::vector<Pixmap> pixmaps;
    for (int holder = 1; holder <= 18; ++holder)
        pixmaps.push_back(PreparePixmap(display, window, gc, depth, holder));
    XSync(display, False);

    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> stamps;
    const long total = warmup + passes * blocks + 1;
    stamps.reserve(static_cast<std::size_t>(total));
    for (long pass = 0; pass < total; ++pass) {
        stamps.push_back(Clock::now());
        if (idleMicroseconds > 0)
            waiter.WaitIterations(static_cast<std::uint64_t>(idleMicroseconds) * 4);
        XCopyArea(display, pixmaps[static_cast<std::size_t>(pass % 18)], window, gc, 0, 0,
                  kPictureSize, kPictureSize, kEdge, kEdge);
        XSync(display, False);
    }
    for (long b = 0; b < blocks; ++b) {
        const auto first = static_cast<std::size_t>(warmup + b * passes);
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            stamps[first + static_cast<std::size_t>(passes)] - stamps[first])
                            .count();
        std::printf("block %ld %lld\n", b, static_cast<long long>(ns / passes));
    }
    for (const Pixmap pixmap : pixmaps) XFreePixmap(display, pixmap);
    XFreeGC(display, gc);
    XCloseDisplay(display);
    return 0;
}
