#include "observer/protocol_log.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kelto::observer {
namespace {

// Lines of real runs on sway and weston (WAYLAND_DEBUG=1): the window's surface is
// wl_surface@24, its frames' surface wl_surface@39 in wl_subsurface@44.
const std::string kMinSize = "[4013658.638]  -> xdg_toplevel@29.set_min_size(485, 509)";
const std::string kMaxSize = "[4013658.642]  -> xdg_toplevel@29.set_max_size(485, 509)";
const std::string kMinSmall = "[4014446.645]  -> xdg_toplevel@29.set_min_size(483, 483)";
const std::string kMaxFree = "[4014446.650]  -> xdg_toplevel@29.set_max_size(0, 0)";
const std::string kMaxSmall = "[4014446.752]  -> xdg_toplevel@29.set_max_size(483, 483)";
const std::string kAskOwn = "[4013658.650]  -> zxdg_toplevel_decoration_v1@32.set_mode(1)";
const std::string kAskTheirs = "[4013658.650]  -> zxdg_toplevel_decoration_v1@32.set_mode(2)";
const std::string kToldOwn = "[4013662.310] zxdg_toplevel_decoration_v1@32.configure(1)";
const std::string kToldTheirs = "[4014446.578] zxdg_toplevel_decoration_v1@32.configure(2)";
const std::string kSubsurface =
    "[4013687.346]  -> wl_subcompositor@42.get_subsurface(new id wl_subsurface@44, "
    "wl_surface@39, wl_surface@24)";
const std::string kMove = "[4014446.741]  -> wl_subsurface@44.set_position(2, 2)";
const std::string kAttach = "[4014449.831]  -> wl_surface@24.attach(wl_buffer@50, 0, 0)";
const std::string kCommit = "[4014449.839]  -> wl_surface@24.commit()";
const std::string kOwnAttach = "[4014196.289]  -> wl_surface@39.attach(wl_buffer@47, 0, 0)";
const std::string kOwnCommit = "[4014196.300]  -> wl_surface@39.commit()";
const std::string kPress = "[4040843.007] wl_pointer@3.button(17, 1571703662, 272, 1)";
const std::string kRelease = "[4040843.017] wl_pointer@3.button(20, 1571703662, 272, 0)";
// Names alike that are none of the above.
const std::string kOtherMove = "[4014446.741]  -> wl_subsurface@4.set_position(2, 2)";
const std::string kCursorCommit = "[4040842.901]  -> wl_surface@2.commit()";
const std::string kLaterCommit = "[  40842.901]  -> wl_surface@241.commit()";
const std::string kSurfaceConfigure = "[4013662.247] xdg_surface@28.configure(2)";
const std::string kKey = "[4038816.225] wl_keyboard@7.key(7, 1571701699, 42, 1)";
const std::string kOwnLine = "kelto: no frame holder, shows nothing";

TEST(ProtocolLog, CallsOfOneObjectOrKindInARangeOfLines) {
    const ProtocolLog log = {kOwnLine, kSubsurface, kCursorCommit, kCommit,  kLaterCommit,
                             kAttach,  kCommit,     kMinSize,      kMinSmall};
    const struct {
        std::string object, message;
        long from, to;
        std::vector<std::string> arguments;
    } cases[] = {
        {"wl_surface@24", "commit", 0, LONG_MAX, {"", ""}},
        {"wl_surface@24", "commit", 4, 20, {""}},
        {"wl_surface@24", "commit", 3, 4, {""}},
        {"wl_surface@24", "commit", -3, 3, {}},
        {"wl_surface@", "commit", 0, LONG_MAX, {"", "", "", ""}},
        {"wl_surface@24", "attach", 0, LONG_MAX, {"wl_buffer@50, 0, 0"}},
        {"xdg_toplevel@", "set_min_size", 0, LONG_MAX, {"485, 509", "483, 483"}},
        {"wl_subcompositor@",
         "get_subsurface",
         0,
         LONG_MAX,
         {"new id wl_subsurface@44, wl_surface@39, wl_surface@24"}},
        // Surfaces among the arguments make no call of theirs.
        {"wl_surface@39", "commit", 0, LONG_MAX, {}},
        {"wl_subsurface@", "set_position", 0, LONG_MAX, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Calls(log, c.object, c.message, c.from, c.to), c.arguments)
            << c.object << "." << c.message << " in " << c.from << ".." << c.to;
}

TEST(ProtocolLog, AnswersTheScriptsRead) {
    const ProtocolLog commits = {kSubsurface, kOwnAttach,   kOwnCommit, kCursorCommit,
                                 kAttach,     kLaterCommit, kCommit,    kOwnCommit};
    const ProtocolLog presses = {kPress, kRelease, kKey, kOwnLine, kPress, kRelease};
    const struct {
        ProtocolLog log;
        std::vector<std::string> query;
        std::string answer;
    } cases[] = {
        {{kOwnLine, kSurfaceConfigure}, {"limits"}, "none none\n"},
        {{kMinSize}, {"limits"}, "485x509 none\n"},
        // Resent at every change of layout: the last of each is in force.
        {{kMinSize, kMaxSize, kMinSmall, kMaxFree}, {"limits"}, "483x483 0x0\n"},
        {{kMinSize, kMaxSize, kMinSmall, kMaxFree, kMaxSmall}, {"limits"}, "483x483 483x483\n"},
        {{kSurfaceConfigure}, {"asked-mode"}, "\n"},
        {{kAskOwn, kToldOwn, kAskTheirs}, {"asked-mode"}, "2\n"},
        // An xdg_surface's configure carries a serial, not a mode.
        {{kSurfaceConfigure}, {"told-modes"}, "\n"},
        {{kAskOwn, kToldOwn, kSurfaceConfigure, kToldTheirs, kToldOwn}, {"told-modes"}, "1 2 1 \n"},
        {commits, {"commits", "0"}, "2 1\n"},
        {commits, {"commits", "2", "3"}, "1 0\n"},
        {commits, {"commits", "3", "6"}, "0 0\n"},
        {commits, {"commits", "6", "7"}, "0 1\n"},
        {{kOwnCommit, kCommit}, {"commits", "0"}, "0 0\n"},
        {presses, {"buttons-since", "0"}, "2\n"},
        {presses, {"buttons-since", "1"}, "1\n"},
        {presses, {"buttons-since", "5"}, "0\n"},
        {{kMinSize, kMinSmall, kMaxFree}, {"last", "xdg_toplevel@", "set_min_size"}, "483, 483\n"},
        {{kMinSize}, {"last", "xdg_toplevel@", "set_max_size"}, "\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(AnswerProtocolQuery(c.log, c.query, out), 0) << c.query[0];
        EXPECT_EQ(out.str(), c.answer) << c.query[0] << " of " << c.log.size() << " lines";
    }
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{}, {"limit"}, {"moves", "1"}, {"commits", "6", "9x"}}) {
        std::ostringstream out;
        EXPECT_EQ(AnswerProtocolQuery(commits, bad, out), 2) << bad.size();
    }
}

TEST(ProtocolLog, AMoveCommittedWithoutTheWindowsNewBufferShowsOverTheOldLayout) {
    const struct {
        const char* name;
        ProtocolLog log;
        int moves;
    } cases[] = {
        {"bare commit first", {kSubsurface, kMove, kCommit, kAttach, kCommit}, 1},
        {"with the new layout", {kSubsurface, kMove, kAttach, kCommit}, 0},
        {"each of two", {kSubsurface, kMove, kCommit, kAttach, kCommit, kMove, kCommit}, 2},
        {"one move, one commit", {kSubsurface, kMove, kCommit, kCommit}, 1},
        {"not yet committed", {kSubsurface, kAttach, kCommit, kMove}, 0},
        {"no subsurface", {kMove, kCommit}, 0},
        {"another subsurface", {kSubsurface, kOtherMove, kCommit}, 0},
        // Only the window's own buffer brings the new layout along.
        {"the frames' buffer", {kSubsurface, kMove, kOwnAttach, kOwnCommit, kCommit}, 1},
        {"other surfaces' commits", {kSubsurface, kMove, kCursorCommit, kLaterCommit}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(MovesOverOldLayout(c.log), c.moves) << c.name;
}

}  // namespace
}  // namespace kelto::observer
