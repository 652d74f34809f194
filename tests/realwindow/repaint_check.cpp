// After every pass, the whole window on the screen must be exactly the window showing that
// pass's frame: the partial repaints and the server copies the passes make must add up to it,
// edge and background included. Runs the product's window in-process, its passes driven one
// by one with mixed requests, on whatever platform the environment names.
//   repaint_check [PASSES]        status 0 when every pass left the window exact
#include <QApplication>
#include <QScreen>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "desktop/desktop.h"
#include "desktop/program_end_now.h"
#include "desktop/toolkit_start.h"
#include "support/form1_driver.h"
#include "support/window_look.h"
#include "window/form1.h"

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
    const int passes = argc > 1 ? std::stoi(argv[1]) : 400;
    kelto::PrepareToolkit();
    QApplication app(argc, argv);
    kelto::CheckToolkitStarted();
    NoWait noWait;
    kelto::ProgramEndNow end;
    // Frames reach the screen as they do in the program, on whatever desktop this runs.
    kelto::Desktop desktop;
    kelto::Form1 form(end, noWait, desktop.Frames());
    kelto::testing::Form1Driver drive(form);
    const auto shown = desktop.Show(form, {kelto::Form1::kClientSize, kelto::Form1::kClientSize});
    Settle(100);
    drive.Start();

    const int scale = static_cast<int>(form.devicePixelRatio());
    std::vector<QImage> expected;
    for (int k = 1; k <= kelto::kFrameCount; ++k)
        expected.push_back(kelto::testing::ExpectedClient(drive.Holder(k).Loaded(), scale));
    // Requests of every kind, so backward runs, stops and repeated frames all occur.
    constexpr std::int16_t kRequests[] = {1, 1, 1, 3, -1, 2, -2, 1, 1, 1};
    std::mt19937 random(1);
    int wrongPasses = 0;
    for (int pass = 0; pass < passes; ++pass) {
        auto& state = drive.State();
        const std::int16_t request = kRequests[random() % std::size(kRequests)];
        if (request != 1) state.StepCommand = request;
        drive.RunPass();
        Settle(3);
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(form.winId()).toImage();
        const auto difference = kelto::testing::Compare(
            shot, {0, 0}, expected[static_cast<std::size_t>(state.Position)]);
        if (difference.count && ++wrongPasses <= 5)
            std::printf("pass %d, position %d: %s\n", pass, state.Position,
                        qPrintable(difference.Describe()));
    }
    std::printf("repaint check (%s, scale %d): %d of %d passes left the window wrong\n",
                qPrintable(QGuiApplication::platformName()), scale, wrongPasses, passes);
    std::fflush(stdout);
    std::_Exit(wrongPasses == 0 ? 0 : 1);
}
