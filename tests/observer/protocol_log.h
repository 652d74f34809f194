#pragma once

// What kelto told its compositor and heard back, read from its protocol log (WAYLAND_DEBUG=1 on
// its stderr, between the program's own lines). Lines count from 1 as in the file, and a range
// FROM, TO is lines FROM+1 to TO: the scripts mark a watch's start with the log's line count.
// Names of objects match exactly: wl_surface@1 is not wl_surface@15.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kelto::observer {

using ProtocolLog = std::vector<std::string>;
ProtocolLog ReadProtocolLog(std::istream& in);

// The last minimum and maximum size of the toplevel, "WxH" each, "none" for one never sent.
struct Limits {
    std::string min = "none", max = "none";
};
Limits SentLimits(const ProtocolLog& log);
// The last decoration mode kelto asked for (1 its own bar, 2 the compositor's), "" for none.
std::string AskedMode(const ProtocolLog& log);
// The compositor's answers, in order.
std::vector<int> ToldModes(const ProtocolLog& log);

// The first subsurface kelto made: the surface of its own frames in its window's surface.
struct FrameSurfaces {
    std::string subsurface, own, window;
};
std::optional<FrameSurfaces> FindFrameSurfaces(const ProtocolLog& log);

// Commits of the frames' surface and of the window's surface in lines from+1 to `to` (the end
// when none); 0 0 without a subsurface.
struct Commits {
    int own = 0, window = 0;
};
Commits CommitsBetween(const ProtocolLog& log, long from, std::optional<long> to);
// Commits of the window's surface that moved the frames' subsurface without a new buffer of the
// window's own: the frame then shows in its new place over the old layout until the next one.
int MovesOverOldLayout(const ProtocolLog& log);
// Button presses that reached kelto after line `line`.
int ButtonsSince(const ProtocolLog& log, long line);

// `screen_observer protocol LOG QUERY [ARGS]`, QUERY one of
//   limits                 "MIN MAX"            asked-mode   the mode or an empty line
//   told-modes             "1 2 " (each with a space after it)
//   surfaces               "SUBSURFACE OWN WINDOW" or an empty line
//   commits FROM [TO]      "OWN WINDOW"         moves        a count
//   buttons-since LINE     a count
// Prints the answer and returns 0; 2 for an unknown query or bad arguments.
int AnswerProtocolQuery(const ProtocolLog& log, const std::vector<std::string>& query,
                        std::ostream& out);

}  // namespace kelto::observer
