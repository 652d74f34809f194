#pragma once

// What a watch of the screen saw, and whether that is what a case expects. Plain data in, no
// toolkit and no display: the observer records timed samples, this turns them into frames,
// steps and rests, and the unit tests feed it recorded sequences.
#include <optional>
#include <string>
#include <vector>

namespace kelto::observer {

// One look at the screen: when (ms, the samples' own clock) and which frame 0..17, or -1 when
// no frame showed exactly.
struct Sample {
    long long ms = 0;
    int frame = -1;
};

// Signed distance from frame `from` to frame `to`, modulo 18, in -8..9.
int StepBetween(int from, int to);

// When to stop watching, counted on the samples' times from `from` on; never on the clock of
// the reader, so that a probe stalled by a busy machine cannot make a rest out of a gap.
struct Until {
    long long restMs = 0;  // the frame has stood this long since `from` or its last change...
    int minChanges = 0;    // ... after at least this many changes
    int changes = 0;       // or this many changes have been seen (0: no such limit)
    long long maxMs = 0;   // or this long has been watched (a deadline, not a window)
};
bool Done(const std::vector<Sample>& samples, long long from, const Until& until);

// The frame shown at `from` (the last before it; the first after it when none came before),
// then every change after it.
struct Observation {
    std::vector<int> frames;
    std::vector<int> steps;        // between consecutive frames
    std::vector<long long> stood;  // how long each frame between the first and the last stood
    long long stableMs = 0;        // how long the last frame had stood at the last sample
    int unmatched = 0;             // samples that showed no frame exactly
    bool seenBefore = false;       // a frame was seen before `from`
};
Observation Observe(const std::vector<Sample>& samples, long long from);

// One line, the fields the shell and Judge read back:
// "frames=3,4 steps=1 stood= stable=1200 unmatched=0 before=1"
std::string Format(const Observation& observation);
std::optional<Observation> Parse(const std::string& line);

// Whether `observation` passes every term of `terms`; on failure, the term that failed.
//   steps REGEX       the steps, written "1,1,-2", match (std::regex, ECMAScript)
//   rests MS          the last frame stood at least MS
//   still             no change, and the frame stood a second
//   forward PREFIX    after steps matching PREFIX, one or two frames forward per step (a two:
//                     a sample missed on a busy machine), at least one single step, every
//                     sample a frame; backward PREFIX the same the other way
//   fast DIR          at least 10 changes, three in four of them 1..6 frames in DIR (1, -1):
//                     a run faster than the probe can follow; every sample a frame
//   all DIR           every step went in DIR
//   changes-at-least N, changes-at-most N
//   exact             every sample showed a frame
//   starts-at N       the first frame
//   short-at-most N MS at most N frames stood less than MS
struct Judgement {
    bool pass = true;
    std::string failed;  // the term that failed, with its arguments
};
Judgement Judge(const Observation& observation, const std::vector<std::string>& terms);

}  // namespace kelto::observer
