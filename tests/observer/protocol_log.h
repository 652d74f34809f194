#pragma once

// What kelto told its compositor and heard back, read from its protocol log (WAYLAND_DEBUG=1 on
// its stderr, among the program's own lines). Lines count from 1 as in the file, and a range
// FROM, TO is lines FROM+1 to TO: the scripts mark a watch's start with the log's line count.
#include <climits>
#include <iosfwd>
#include <string>
#include <vector>

namespace kelto::observer {

using ProtocolLog = std::vector<std::string>;
ProtocolLog ReadProtocolLog(std::istream& in);

// The arguments of every OBJECT.MESSAGE(...) in lines from+1 to `to`, in order. OBJECT names one
// object exactly ("wl_surface@24", never wl_surface@241) or, ending in '@', every object of a
// kind ("xdg_toplevel@").
std::vector<std::string> Calls(const ProtocolLog& log, const std::string& object,
                               const std::string& message, long from = 0, long to = LONG_MAX);

// Commits of the surface of kelto's frames and of its window's surface in lines from+1 to `to`;
// none without the frames' subsurface.
struct Commits {
    int own = 0, window = 0;
};
Commits CommitsBetween(const ProtocolLog& log, long from, long to = LONG_MAX);
// Commits of the window's surface that moved the frames' subsurface without a new buffer of the
// window's own: the frame then shows in its new place over the old layout until the next one.
int MovesOverOldLayout(const ProtocolLog& log);

// `screen_observer protocol LOG QUERY [ARGS]`, QUERY one of
//   limits             the last minimum and maximum size, "WxH WxH" ("none" for one never sent)
//   asked-mode         the last decoration mode asked (1 its own bar, 2 the compositor's), or ""
//   told-modes         the compositor's answers in order, each followed by a space: "1 2 "
//   commits FROM [TO]  "OWN WINDOW"     moves   a count     buttons-since LINE   presses after it
//   last OBJECT MESSAGE  the arguments of the last such call, or ""

// Prints the answer and returns 0; 2 for an unknown query or bad arguments.
int AnswerProtocolQuery(const ProtocolLog& log, const std::vector<std::string>& query,
                        std::ostream& out);

}  // namespace kelto::observer
