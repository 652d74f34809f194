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
const std::string kDamage = "[4014449.835]  -> wl_surface@24.damage_buffer(0, 0, 483, 483)";
const std::string kCommit = "[4014449.839]  -> wl_surface@24.commit()";
const std::string kOwnAttach = "[4014196.289]  -> wl_surface@39.attach(wl_buffer@47, 0, 0)";
const std::string kOwnCommit = "[4014196.300]  -> wl_surface@39.commit()";
const std::string kPress = "[4040843.007] wl_pointer@3.button(17, 1571703662, 272, 1)";
const std::string kRelease = "[4040843.017] wl_pointer@3.button(20, 1571703662, 272, 0)";
// Names alike that are none of the above.
const std::string kOtherMove = "[4014446.741]  -> wl_subsurface@4.set_position(2, 2)";
const std::string kCursorCommit = "[4040842.901]  -> wl_surface@2.commit()";
const std::string kLaterCommit = "[4040842.901]  -> wl_surface@241.commit()";
const std::string kEntered = "[4013692.737] wl_surface@24.enter(wl_output@17)";
const std::string kSurfaceConfigure = "[4013662.247] xdg_surface@28.configure(2)";
const std::string kToplevelConfigure =
    "[4014446.570] xdg_toplevel@29.configure(485, 509, array[4])";
const std::string kGeometry =
    "[4014446.690]  -> xdg_surface@28.set_window_geometry(0, 0, 483, 483)";
const std::string kKey = "[4038816.225] wl_keyboard@7.key(7, 1571701699, 42, 1)";
const std::string kOwnLine = "kelto: no frame holder, shows nothing";

TEST(SentLimits, TheLastOfEachWinsAndNoneIsNone) {
    const struct {
        ProtocolLog log;
        std::string min, max;
    } cases[] = {
        {{}, "none", "none"},
        {{kToplevelConfigure, kGeometry, kOwnLine}, "none", "none"},
        {{kMinSize}, "485x509", "none"},
        {{kMinSize, kMaxSize}, "485x509", "485x509"},
        // Resent at every change of layout: the last pair is the one in force.
        {{kMinSize, kMaxSize, kMinSmall, kMaxFree, kMinSmall, kMaxSmall}, "483x483", "483x483"},
        {{kMinSize, kMaxSize, kMinSmall, kMaxFree, kGeometry}, "483x483", "0x0"},
        {{kMinSmall, kMaxSmall, kMinSize, kToplevelConfigure}, "485x509", "483x483"},
    };
    for (const auto& c : cases) {
        const Limits limits = SentLimits(c.log);
        EXPECT_EQ(limits.min + " " + limits.max, c.min + " " + c.max) << c.log.size();
    }
}

TEST(DecorationModes, LastAskedAndEveryAnswerInOrder) {
    const struct {
        ProtocolLog log;
        std::string asked;
        std::vector<int> told;
    } cases[] = {
        {{}, "", {}},
        // An xdg_surface's configure carries a serial, not a mode.
        {{kSurfaceConfigure, kToplevelConfigure, kMinSize}, "", {}},
        {{kAskOwn, kSurfaceConfigure, kToldOwn}, "1", {1}},
        {{kAskOwn, kToldOwn, kToldTheirs, kSurfaceConfigure, kToldOwn}, "1", {1, 2, 1}},
        {{kAskOwn, kToldOwn, kAskTheirs, kToldTheirs}, "2", {1, 2}},
        {{kAskTheirs, kAskOwn}, "1", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AskedMode(c.log), c.asked) << c.log.size();
        EXPECT_EQ(ToldModes(c.log), c.told) << c.log.size();
    }
}

TEST(FrameSurfaces, TheFirstSubsurfaceMade) {
    const std::string second =
        "[4013699.000]  -> wl_subcompositor@42.get_subsurface(new id wl_subsurface@52, "
        "wl_surface@51, wl_surface@24)";
    EXPECT_FALSE(FindFrameSurfaces({kMove, kCommit}));
    const auto surfaces = FindFrameSurfaces({kCommit, kSubsurface, second});
    ASSERT_TRUE(surfaces);
    EXPECT_EQ(surfaces->subsurface, "wl_subsurface@44");
    EXPECT_EQ(surfaces->own, "wl_surface@39");
    EXPECT_EQ(surfaces->window, "wl_surface@24");
}

TEST(CommitsBetween, CountsEachSurfaceInLinesAfterFromUpToTo) {
    // Lines 1..9.
    const ProtocolLog log = {kSubsurface,  kOwnAttach, kOwnCommit, kCursorCommit, kAttach,
                             kLaterCommit, kCommit,    kOwnCommit, kEntered};
    const struct {
        long from;
        std::optional<long> to;
        int own, window;
    } cases[] = {
        {0, std::nullopt, 2, 1},
        {0, 9, 2, 1},
        {3, 9, 1, 1},
        {2, 3, 1, 0},
        {3, 6, 0, 0},
        {6, 7, 0, 1},
        {8, 8, 0, 0},
        {9, 20, 0, 0},
        {-5, 2, 0, 0},
        {0, 100, 2, 1},
    };
    for (const auto& c : cases) {
        const Commits commits = CommitsBetween(log, c.from, c.to);
        EXPECT_EQ(commits.own, c.own) << c.from << ".." << c.to.value_or(-1);
        EXPECT_EQ(commits.window, c.window) << c.from << ".." << c.to.value_or(-1);
    }
    // Without a subsurface nothing is the frames' or the window's.
    const Commits none = CommitsBetween({kOwnCommit, kCommit}, 0, std::nullopt);
    EXPECT_EQ(none.own + none.window, 0);
}

TEST(MovesOverOldLayout, AMoveCommittedWithoutTheWindowsNewBuffer) {
    const struct {
        const char* name;
        ProtocolLog log;
        int moves;
    } cases[] = {
        {"bare commit first", {kSubsurface, kMove, kCommit, kAttach, kDamage, kCommit}, 1},
        {"with the new layout", {kSubsurface, kMove, kAttach, kDamage, kCommit}, 0},
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

TEST(ButtonsSince, PressesAfterTheLine) {
    // Lines 1..6.
    const ProtocolLog log = {kPress, kRelease, kKey, kOwnLine, kPress, kRelease};
    const struct {
        long line;
        int presses;
    } cases[] = {{0, 2}, {1, 1}, {4, 1}, {5, 0}, {6, 0}, {10, 0}, {-1, 2}};
    for (const auto& c : cases) EXPECT_EQ(ButtonsSince(log, c.line), c.presses) << c.line;
}

TEST(ReadProtocolLog, NumbersLinesAsTheFileDoes) {
    std::istringstream in(kOwnLine + "\n\n" + kPress + "\n" + kPress);
    const ProtocolLog log = ReadProtocolLog(in);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(ButtonsSince(log, 2), 2);
    EXPECT_EQ(ButtonsSince(log, 3), 1);
}

TEST(AnswerProtocolQuery, PrintsWhatTheScriptsRead) {
    const ProtocolLog log = {kMinSize,   kMaxSize, kAskOwn, kToldOwn, kToldTheirs, kSubsurface,
                             kOwnCommit, kMove,    kCommit, kPress,   kAttach,     kCommit};
    const struct {
        std::vector<std::string> query;
        int status;
        std::string out;
    } cases[] = {
        {{"limits"}, 0, "485x509 485x509\n"},
        {{"asked-mode"}, 0, "1\n"},
        {{"told-modes"}, 0, "1 2 \n"},
        {{"surfaces"}, 0, "wl_subsurface@44 wl_surface@39 wl_surface@24\n"},
        {{"commits", "6", "9"}, 0, "1 1\n"},
        {{"commits", "8"}, 0, "0 2\n"},
        {{"moves"}, 0, "1\n"},
        {{"buttons-since", "9"}, 0, "1\n"},
        {{"buttons-since", "10"}, 0, "0\n"},
        {{}, 2, ""},
        {{"limit"}, 2, ""},
        {{"moves", "1"}, 2, ""},
        {{"buttons-since"}, 2, ""},
        {{"buttons-since", "ten"}, 2, ""},
        {{"commits", "6", "9x"}, 2, ""},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        const std::string query = c.query.empty() ? "(none)" : c.query[0];
        EXPECT_EQ(AnswerProtocolQuery(log, c.query, out), c.status) << query;
        EXPECT_EQ(out.str(), c.out) << query;
    }
    std::ostringstream out;
    AnswerProtocolQuery({kOwnLine}, {"limits"}, out);
    AnswerProtocolQuery({kOwnLine}, {"asked-mode"}, out);
    AnswerProtocolQuery({kOwnLine}, {"told-modes"}, out);
    AnswerProtocolQuery({kOwnLine}, {"surfaces"}, out);
    EXPECT_EQ(out.str(), "none none\n\n\n\n");
}

}  // namespace
}  // namespace kelto::observer
