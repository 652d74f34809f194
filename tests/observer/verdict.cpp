#include "verdict.h"

#include <algorithm>
#include <regex>
#include <sstream>

namespace kelto::observer {

namespace {

constexpr int kFrames = 18;

std::string Join(const auto& values, char separator = ',') {
    std::ostringstream text;
    for (std::size_t i = 0; i < values.size(); ++i) (i ? text << separator : text) << values[i];
    return text.str();
}

template <typename T>
std::vector<T> Split(const std::string& text) {
    std::vector<T> values;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) values.push_back(static_cast<T>(std::stoll(item)));
    return values;
}

bool Matches(const std::vector<int>& steps, const std::string& pattern) {
    return std::regex_search(Join(steps), std::regex(pattern));
}

bool Runs(const Observation& seen, const std::string& prefix, int direction) {
    const std::string one = direction > 0 ? "1" : "-1";
    const std::string more = direction > 0 ? "(,[12])+$" : "(,-[12])+$";
    return Matches(seen.steps, "^(?:" + prefix.substr(prefix[0] == '^') + ")" + more) &&
           Matches(seen.steps, "," + one + "(,|$)") && seen.unmatched == 0;
}

bool RunsFast(const Observation& seen, int direction) {
    const auto right = std::count_if(seen.steps.begin(), seen.steps.end(), [&](int step) {
        return step * direction >= 1 && step * direction <= 6;
    });
    const auto total = static_cast<long>(seen.steps.size());
    return total >= 10 && right * 4 >= total * 3 && seen.unmatched == 0;
}

}  // namespace

int StepBetween(int from, int to) {
    const int step = ((to - from) % kFrames + kFrames) % kFrames;
    return step > 9 ? step - kFrames : step;
}

bool Done(const std::vector<Sample>& samples, long long from, const Until& until) {
    int current = -1, changes = 0;
    long long changed = from, last = from, looked = from;
    for (const Sample& sample : samples) {
        // The deadline holds also when no sample shows a frame.
        looked = std::max(looked, sample.ms);
        if (sample.frame < 0) continue;
        if (sample.ms >= from && current >= 0 && sample.frame != current)
            changed = sample.ms, ++changes;
        current = sample.frame;
        last = sample.ms;
    }
    if (looked - from >= until.maxMs) return true;
    if (until.changes > 0 && changes >= until.changes) return true;
    return changes >= until.minChanges && last - std::max(changed, from) >= until.restMs;
}

Observation Observe(const std::vector<Sample>& samples, long long from) {
    Observation seen;
    long long changed = from, last = from;
    bool started = false;
    for (const Sample& sample : samples) {
        if (sample.frame < 0) {
            ++seen.unmatched;
            continue;
        }
        if (sample.ms < from) {
            seen.frames = {sample.frame};
            seen.seenBefore = started = true;
            continue;
        }
        if (!started) {
            seen.frames = {sample.frame};
            changed = sample.ms;
            started = true;
        } else if (sample.frame != seen.frames.back()) {
            // Only the frames between the first and the last change stood for a known time.
            if (!seen.steps.empty()) seen.stood.push_back(sample.ms - changed);
            seen.steps.push_back(StepBetween(seen.frames.back(), sample.frame));
            seen.frames.push_back(sample.frame);
            changed = sample.ms;
        }
        last = sample.ms;
    }
    seen.stableMs = started ? last - changed : 0;
    return seen;
}

std::string Format(const Observation& seen) {
    std::ostringstream line;
    line << "frames=" << Join(seen.frames) << " steps=" << Join(seen.steps)
         << " stood=" << Join(seen.stood) << " stable=" << seen.stableMs
         << " unmatched=" << seen.unmatched << " before=" << (seen.seenBefore ? 1 : 0);
    return line.str();
}

std::optional<Observation> Parse(const std::string& line) {
    Observation seen;
    std::istringstream in(line);
    std::string field;
    int fields = 0;
    try {
        while (in >> field) {
            const auto equals = field.find('=');
            if (equals == std::string::npos) return std::nullopt;
            const std::string name = field.substr(0, equals), value = field.substr(equals + 1);
            ++fields;
            if (name == "frames")
                seen.frames = Split<int>(value);
            else if (name == "steps")
                seen.steps = Split<int>(value);
            else if (name == "stood")
                seen.stood = Split<long long>(value);
            else if (name == "stable")
                seen.stableMs = std::stoll(value);
            else if (name == "unmatched")
                seen.unmatched = std::stoi(value);
            else if (name == "before")
                seen.seenBefore = value == "1";
            else
                return std::nullopt;
        }
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (fields != 6) return std::nullopt;
    return seen;
}

Judgement Judge(const Observation& seen, const std::vector<std::string>& terms) {
    const auto changes = static_cast<long long>(seen.steps.size());
    for (std::size_t i = 0; i < terms.size();) {
        const std::string& term = terms[i];
        const auto argument = [&](std::size_t n) -> const std::string& {
            static const std::string none;
            return i + n < terms.size() ? terms[i + n] : none;
        };
        const auto number = [&](std::size_t n) { return std::stoll(argument(n)); };
        bool pass = false;
        std::size_t used = 1;
        try {
            if (term == "steps")
                pass = Matches(seen.steps, argument(1)), used = 2;
            else if (term == "rests")
                pass = seen.stableMs >= number(1), used = 2;
            else if (term == "still")
                pass = seen.steps.empty() && seen.stableMs >= 1000;
            else if (term == "forward")
                pass = Runs(seen, argument(1), 1), used = 2;
            else if (term == "backward")
                pass = Runs(seen, argument(1), -1), used = 2;
            else if (term == "fast")
                pass = RunsFast(seen, static_cast<int>(number(1))), used = 2;
            else if (term == "all") {
                const auto direction = number(1);
                pass = std::all_of(seen.steps.begin(), seen.steps.end(),
                                   [&](int step) { return step * direction > 0; });
                used = 2;
            } else if (term == "changes-at-least")
                pass = changes >= number(1), used = 2;
            else if (term == "changes-at-most")
                pass = changes <= number(1), used = 2;
            else if (term == "exact")
                pass = seen.unmatched == 0;
            else if (term == "starts-at")
                pass = !seen.frames.empty() && seen.frames.front() == number(1), used = 2;
            else if (term == "short-at-most") {
                const auto limit = number(2);
                pass = std::count_if(seen.stood.begin(), seen.stood.end(),
                                     [&](long long ms) { return ms < limit; }) <= number(1);
                used = 3;
            } else {
                return {false, "unknown term " + term};
            }
        } catch (const std::exception&) {
            return {false, "bad argument to " + term};
        }
        if (!pass) {
            std::ostringstream failed;
            failed << term;
            for (std::size_t n = 1; n < used; ++n) failed << ' ' << argument(n);
            return {false, failed.str()};
        }
        i += used;
    }
    return {};
}

}  // namespace kelto::observer
