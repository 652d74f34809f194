#include "window/bench_hooks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kelto::bench {
namespace {

struct Settings {
    bool pinDelay = false;
    double delay = 0;
    long warmup = 0;
    long passes = 0;
    long blocks = 0;
};

long EnvLong(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text ? std::strtol(text, nullptr, 10) : fallback;
}

Settings ReadSettings() {
    Settings s;
    if (const char* text = std::getenv("KELTO_BENCH_DELAY")) {
        s.pinDelay = true;
        s.delay = std::strtod(text, nullptr);
    }
    s.passes = EnvLong("KELTO_BENCH_PASSES", 0);
    s.blocks = EnvLong("KELTO_BENCH_BLOCKS", 1);
    s.warmup = EnvLong("KELTO_BENCH_WARMUP", 20);
    return s;
}

}  // namespace

void OnShowFrame(AnimationState& state) {
    using Clock = std::chrono::steady_clock;
    static const Settings settings = ReadSettings();
    static std::vector<Clock::time_point> stamps = [] {
        std::vector<Clock::time_point> v;
        v.reserve(
            static_cast<std::size_t>(settings.warmup + settings.passes * settings.blocks + 1));
        return v;
    }();
    if (settings.pinDelay) state.DelayCount = settings.delay;
    if (settings.passes <= 0) return;

    stamps.push_back(Clock::now());
    const auto needed =
        static_cast<std::size_t>(settings.warmup + settings.passes * settings.blocks + 1);
    if (stamps.size() < needed) return;
    for (long b = 0; b < settings.blocks; ++b) {
        const auto first = static_cast<std::size_t>(settings.warmup + b * settings.passes);
        const auto span = stamps[first + settings.passes] - stamps[first];
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(span).count();
        std::printf("block %ld %lld\n", b, static_cast<long long>(ns / settings.passes));
    }
    std::fflush(stdout);
    std::_Exit(EXIT_SUCCESS);
}

}  // namespace kelto::bench
