#pragma once

#include <functional>
#include <string>
#include <vector>

#include "animation/animation_host.h"
#include "animation/wait_frame.h"

namespace kelto::testing {

// A picture the tests can tell apart.
struct TestPicture {
    int holder = 0;
};

// Records what the loop shows and lets a test act as the user inside each event step.
class FakeHost final : public AnimationHost<TestPicture> {
  public:
    void ShowFrame(const TestPicture& picture) override {
        shown.push_back(picture.holder);
        log.push_back("show " + std::to_string(picture.holder));
    }
    void ProcessPendingEvents() override {
        log.push_back("events");
        ++eventSteps;
        if (onEvents) onEvents(eventSteps);
    }

    std::vector<int> shown;
    std::vector<std::string> log;
    int eventSteps = 0;
    std::function<void(int)> onEvents;
};

// Records each wait instead of spending it. Whatever duringWait does, such as posting events,
// happens inside the wait, so it is pending when that pass's event step runs.
class CountingWaiter final : public IdleWaiter {
  public:
    explicit CountingWaiter(std::vector<std::string>* log = nullptr) : log_(log) {}
    void WaitIterations(std::uint64_t iterations) override {
        waits.push_back(iterations);
        if (log_) log_->push_back("wait " + std::to_string(iterations));
        if (duringWait) duringWait();
    }
    std::vector<std::uint64_t> waits;
    std::function<void()> duringWait;

  private:
    std::vector<std::string>* log_;
};

}  // namespace kelto::testing
