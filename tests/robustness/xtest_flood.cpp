// Drives the real X server the way a frantic user or a stuck key would: floods of typed
// characters, a held key at a fast auto-repeat rate, and pointer drags to the screen's
// far corners. Talks only to the server, never to the program under test.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TypedKey {
    KeyCode code;
    bool shifted;
};

// The key (and shift level) that types a keysym in the current layout.
TypedKey KeyFor(Display* display, KeySym symbol) {
    const KeyCode code = XKeysymToKeycode(display, symbol);
    if (code == 0) {
        std::fprintf(stderr, "xtest_flood: no key types keysym 0x%lx\n", symbol);
        std::exit(2);
    }
    return {code, XkbKeycodeToKeysym(display, code, 0, 0) != symbol};
}

void Tap(Display* display, const TypedKey& key, KeyCode shift) {
    if (key.shifted) XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, key.code, True, CurrentTime);
    XTestFakeKeyEvent(display, key.code, False, CurrentTime);
    if (key.shifted) XTestFakeKeyEvent(display, shift, False, CurrentTime);
}

void Sleep(long ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int Usage() {
    std::fputs(
        "usage: xtest_flood keys N          type N characters cycling through + - / * . , a = 7 "
        "space\n"
        "       xtest_flood hold KEYSYM MS  hold a key MS milliseconds, repeating every 5 ms\n"
        "       xtest_flood drag X Y        press at X Y, drag to every screen corner, "
        "release\n"
        "       xtest_flood moves N X Y     N pointer moves jittering around X Y\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("xtest_flood: cannot open the display\n", stderr);
        return 2;
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        std::fputs("xtest_flood: no XTEST extension\n", stderr);
        return 2;
    }
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    const std::string mode = argv[1];

    if (mode == "keys" && argc == 3) {
        const long count = std::strtol(argv[2], nullptr, 10);
        const std::vector<TypedKey> keys = {
            KeyFor(display, XK_plus),     KeyFor(display, XK_minus),  KeyFor(display, XK_slash),
            KeyFor(display, XK_asterisk), KeyFor(display, XK_period), KeyFor(display, XK_comma),
            KeyFor(display, XK_a),        KeyFor(display, XK_equal),  KeyFor(display, XK_7),
            KeyFor(display, XK_space)};
        for (long i = 0; i < count; ++i) {
            Tap(display, keys[static_cast<std::size_t>(i) % keys.size()], shift);
            // Keep the request buffer from growing without bound on huge counts.
            if (i % 1000 == 999) XFlush(display);
        }
    } else if (mode == "hold" && argc == 4) {
        const KeySym symbol = XStringToKeysym(argv[2]);
        if (symbol == NoSymbol) return Usage();
        const TypedKey key = KeyFor(display, symbol);
        XAutoRepeatOn(display);
        // Shortest delay and interval the server takes: a stuck key at its worst.
        XkbSetAutoRepeatRate(display, XkbUseCoreKbd, 1, 5);
        if (key.shifted) XTestFakeKeyEvent(display, shift, True, CurrentTime);
        XTestFakeKeyEvent(display, key.code, True, CurrentTime);
        XSync(display, False);
        Sleep(std::strtol(argv[3], nullptr, 10));
        XTestFakeKeyEvent(display, key.code, False, CurrentTime);
        if (key.shifted) XTestFakeKeyEvent(display, shift, False, CurrentTime);
    } else if (mode == "drag" && argc == 4) {
        const int x = std::atoi(argv[2]);
        const int y = std::atoi(argv[3]);
        const int width = DisplayWidth(display, DefaultScreen(display));
        const int height = DisplayHeight(display, DefaultScreen(display));
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XSync(display, False);
        const int corners[][2] = {
            {0, 0}, {width - 1, 0}, {width - 1, height - 1}, {0, height - 1}, {x, y}};
        for (const auto& corner : corners) {
            // Jumps far beyond the server's range are clamped by it to the screen edge.
            XTestFakeRelativeMotionEvent(display, corner[0] < x ? -32767 : 32767,
                                         corner[1] < y ? -32767 : 32767, CurrentTime);
            XTestFakeMotionEvent(display, -1, corner[0], corner[1], CurrentTime);
            XSync(display, False);
            Sleep(50);
        }
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
    } else if (mode == "moves" && argc == 5) {
        const long count = std::strtol(argv[2], nullptr, 10);
        const int x = std::atoi(argv[3]);
        const int y = std::atoi(argv[4]);
        for (long i = 0; i < count; ++i) {
            XTestFakeMotionEvent(display, -1, x + static_cast<int>(i % 2), y, CurrentTime);
            if (i % 1000 == 999) XFlush(display);
        }
    } else {
        return Usage();
    }
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
