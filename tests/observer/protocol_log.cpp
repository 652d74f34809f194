#include "protocol_log.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <istream>
#include <ostream>
#include <regex>

namespace kelto::observer {

namespace {

// Every match of `pattern` in the log, in order; only lines holding `hint` are searched, which
// spares the regex the thousands of lines of a run.
std::vector<std::smatch> Matches(const ProtocolLog& log, const std::string& hint,
                                 const std::string& pattern) {
    const std::regex expression(pattern);
    std::vector<std::smatch> found;
    for (const std::string& line : log)
        if (line.find(hint) != std::string::npos)
            for (std::sregex_iterator it(line.begin(), line.end(), expression), end; it != end;
                 ++it)
                found.push_back(*it);
    return found;
}

std::string LastSize(const ProtocolLog& log, const std::string& request) {
    const auto found = Matches(log, "." + request + "(",
                               R"(xdg_toplevel@[0-9]*\.)" + request + R"(\(([0-9]*), ([0-9]*)\))");
    return found.empty() ? "none" : found.back().str(1) + "x" + found.back().str(2);
}

bool Has(const std::string& line, const std::string& part) {
    return line.find(part) != std::string::npos;
}

std::optional<long> Number(const std::string& text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

ProtocolLog ReadProtocolLog(std::istream& in) {
    ProtocolLog log;
    for (std::string line; std::getline(in, line);) log.push_back(line);
    return log;
}

Limits SentLimits(const ProtocolLog& log) {
    return {LastSize(log, "set_min_size"), LastSize(log, "set_max_size")};
}

std::string AskedMode(const ProtocolLog& log) {
    const auto found =
        Matches(log, ".set_mode(", R"(zxdg_toplevel_decoration_v1@[0-9]*\.set_mode\(([0-9])\))");
    return found.empty() ? "" : found.back().str(1);
}

std::vector<int> ToldModes(const ProtocolLog& log) {
    std::vector<int> modes;
    for (const auto& match :
         Matches(log, ".configure(", R"(zxdg_toplevel_decoration_v1@[0-9]*\.configure\(([0-9])\))"))
        modes.push_back(match.str(1)[0] - '0');
    return modes;
}

std::optional<FrameSurfaces> FindFrameSurfaces(const ProtocolLog& log) {
    const std::regex made(
        R"(get_subsurface\(new id (wl_subsurface@[0-9]*), (wl_surface@[0-9]*), (wl_surface@[0-9]*)\))");
    std::smatch match;
    for (const std::string& line : log)
        if (Has(line, "get_subsurface(") && std::regex_search(line, match, made))
            return FrameSurfaces{match.str(1), match.str(2), match.str(3)};
    return std::nullopt;
}

Commits CommitsBetween(const ProtocolLog& log, long from, std::optional<long> to) {
    const auto surfaces = FindFrameSurfaces(log);
    Commits commits;
    if (!surfaces) return commits;
    const std::string own = "-> " + surfaces->own + ".commit()";
    const std::string window = "-> " + surfaces->window + ".commit()";
    const long last = std::min(static_cast<long>(log.size()), to.value_or(LONG_MAX));
    for (long number = std::max(from, 0L) + 1; number <= last; ++number) {
        commits.own += Has(log[number - 1], own);
        commits.window += Has(log[number - 1], window);
    }
    return commits;
}

int MovesOverOldLayout(const ProtocolLog& log) {
    const auto surfaces = FindFrameSurfaces(log);
    if (!surfaces) return 0;
    const std::string move = "-> " + surfaces->subsurface + ".set_position(";
    const std::string attach = "-> " + surfaces->window + ".attach(";
    const std::string commit = "-> " + surfaces->window + ".commit()";
    // A move waits for the window's next commit; a new buffer before it takes it along.
    int moves = 0;
    bool moved = false;
    for (const std::string& line : log) {
        if (Has(line, move)) moved = true;
        if (Has(line, attach)) moved = false;
        if (Has(line, commit)) moves += moved, moved = false;
    }
    return moves;
}

int ButtonsSince(const ProtocolLog& log, long line) {
    const std::regex press(R"(wl_pointer@[0-9]*\.button\([0-9]*, [0-9]*, [0-9]*, 1\))");
    int presses = 0;
    for (long number = std::max(line, 0L) + 1; number <= static_cast<long>(log.size()); ++number)
        presses += Has(log[number - 1], ".button(") && std::regex_search(log[number - 1], press);
    return presses;
}

int AnswerProtocolQuery(const ProtocolLog& log, const std::vector<std::string>& query,
                        std::ostream& out) {
    const std::string name = query.empty() ? "" : query[0];
    const std::size_t count = query.size();
    if (name == "limits" && count == 1) {
        const Limits limits = SentLimits(log);
        out << limits.min << ' ' << limits.max << '\n';
    } else if (name == "asked-mode" && count == 1) {
        out << AskedMode(log) << '\n';
    } else if (name == "told-modes" && count == 1) {
        for (const int mode : ToldModes(log)) out << mode << ' ';
        out << '\n';
    } else if (name == "surfaces" && count == 1) {
        if (const auto surfaces = FindFrameSurfaces(log))
            out << surfaces->subsurface << ' ' << surfaces->own << ' ' << surfaces->window;
        out << '\n';
    } else if (name == "commits" && (count == 2 || count == 3) && Number(query[1]) &&
               (count == 2 || Number(query[2]))) {
        const auto to = count == 3 ? Number(query[2]) : std::nullopt;
        const Commits commits = CommitsBetween(log, *Number(query[1]), to);
        out << commits.own << ' ' << commits.window << '\n';
    } else if (name == "moves" && count == 1) {
        out << MovesOverOldLayout(log) << '\n';
    } else if (name == "buttons-since" && count == 2 && Number(query[1])) {
        out << ButtonsSince(log, *Number(query[1])) << '\n';
    } else {
        return 2;
    }
    return 0;
}

}  // namespace kelto::observer
