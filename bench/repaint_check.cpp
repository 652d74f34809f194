// Checks, on the X server, that every pass leaves exactly the current frame on screen: the
// partial repaints the passes make must add up to the whole picture.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "frames/holder_pictures.h"
#include "support/form1_driver.h"
#include "window/form1.h"
#include "window/program_end_now.h"

// Xlib defines macros (Bool, Status) that clash with Qt's headers: it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

struct NoWait final : kelto::IdleWaiter {
    void WaitIterations(std::uint64_t) override {}
};

void Settle(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_NO_GLIB", "1");
    QApplication app(argc, argv);
    NoWait noWait;
    kelto::ProgramEndNow end;
    kelto::Form1 form(end, noWait);
    kelto::testing::Form1Driver drive(form);
    form.show();
    Settle(100);
    drive.Start();

    Display* display = XOpenDisplay(nullptr);
    std::vector<kelto::frames::MonoPicture> pictures;
    for (int k = 1; k <= kelto::kFrameCount; ++k)
        pictures.push_back(kelto::frames::HolderPicture(k));
    // Requests of every kind, so backward runs, stops and repeated frames all occur.
    constexpr std::int16_t kRequests[] = {1, 1, 1, 3, -1, 2, -2, 1, 1, 1};
    std::mt19937 random(1);
    constexpr int kPasses = 400;
    int wrongPasses = 0;
    for (int pass = 0; pass < kPasses; ++pass) {
        auto& state = drive.State();
        const std::int16_t request = kRequests[random() % std::size(kRequests)];
        if (request != 1) state.StepCommand = request;
        drive.RunPass();
        Settle(3);
        XSync(display, False);
        XImage* image = XGetImage(display, form.winId(), 0, 0, 483, 483, AllPlanes, ZPixmap);
        const auto& picture = pictures[static_cast<std::size_t>(state.Position)];
        int wrong = 0;
        // The visible inner area: 479 columns, 481 rows from (2, 2).
        for (int y = 0; y < 481; ++y) {
            for (int x = 0; x < 479; ++x) {
                const unsigned long shown = XGetPixel(image, x + 2, y + 2) & 0xffffff;
                if (y >= picture.height) {
                    // Below the picture only the grey background may show.
                    wrong += shown == 0 || shown == 0xffffff;
                } else {
                    wrong += shown != (picture.IsBlack(x, y) ? 0ul : 0xfffffful);
                }
            }
        }
        XDestroyImage(image);
        if (wrong && ++wrongPasses <= 5)
            std::printf("pass %d, position %d: %d pixels wrong\n", pass, state.Position, wrong);
    }
    std::printf("repaint check: %d of %d passes left wrong pixels\n", wrongPasses, kPasses);
    std::fflush(stdout);
    std::_Exit(wrongPasses == 0 ? 0 : 1);
}
