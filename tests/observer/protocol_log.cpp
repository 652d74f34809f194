#include "protocol_log.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <istream>
#include <optional>
#include <ostream>

namespace kelto::observer {

namespace {

// The arguments when `line` is a call OBJECT.MESSAGE(...). Calls are written "[time]  ->
// object@N.message(arguments)" for a request and without the arrow for an event: the object
// follows a space, as do objects among the arguments, which the message after them tells apart.
std::optional<std::string> Arguments(const std::string& line, const std::string& object,
                                     const std::string& message) {
    const std::string call = "." + message + "(";
    for (auto at = line.find(' ' + object); at != std::string::npos;
         at = line.find(' ' + object, at + 1)) {
        auto end = at + 1 + object.size();
        if (object.back() == '@') {
            const auto digits = end;
            while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
            if (end == digits) continue;
        }
        if (line.compare(end, call.size(), call) != 0) continue;
        const auto open = end + call.size(), close = line.rfind(')');
        if (close != std::string::npos && close >= open) return line.substr(open, close - open);
    }
    return std::nullopt;
}

// The first subsurface kelto makes holds its frames: "wl_subsurface@N", its own surface and
// the window's surface; empty names without one.
struct FrameSurfaces {
    std::string subsurface, own, window;
};
FrameSurfaces FindFrameSurfaces(const ProtocolLog& log) {
    const auto made = Calls(log, "wl_subcompositor@", "get_subsurface");
    unsigned sub = 0, own = 0, window = 0;
    if (made.empty() ||
        std::sscanf(made.front().c_str(), "new id wl_subsurface@%u, wl_surface@%u, wl_surface@%u",
                    &sub, &own, &window) != 3)
        return {};
    return {"wl_subsurface@" + std::to_string(sub), "wl_surface@" + std::to_string(own),
            "wl_surface@" + std::to_string(window)};
}

// The size limit sent last, "WxH", or "none".
std::string LastSize(const ProtocolLog& log, const std::string& message) {
    const auto sent = Calls(log, "xdg_toplevel@", message);
    unsigned width = 0, height = 0;
    if (sent.empty() || std::sscanf(sent.back().c_str(), "%u, %u", &width, &height) != 2)
        return "none";
    return std::to_string(width) + "x" + std::to_string(height);
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

std::vector<std::string> Calls(const ProtocolLog& log, const std::string& object,
                               const std::string& message, long from, long to) {
    std::vector<std::string> found;
    const long last = std::min(to, static_cast<long>(log.size()));
    for (long index = std::max(from, 0L); index < last; ++index)
        if (auto arguments = Arguments(log[index], object, message)) found.push_back(*arguments);
    return found;
}

Commits CommitsBetween(const ProtocolLog& log, long from, long to) {
    const auto surfaces = FindFrameSurfaces(log);
    if (surfaces.own.empty()) return {};
    return {static_cast<int>(Calls(log, surfaces.own, "commit", from, to).size()),
            static_cast<int>(Calls(log, surfaces.window, "commit", from, to).size())};
}

int MovesOverOldLayout(const ProtocolLog& log) {
    const auto surfaces = FindFrameSurfaces(log);
    if (surfaces.subsurface.empty()) return 0;
    // A move waits for the window's next commit; a new buffer of the window's takes it along.
    int moves = 0;
    bool moved = false;
    for (const std::string& line : log) {
        if (Arguments(line, surfaces.subsurface, "set_position")) moved = true;
        if (Arguments(line, surfaces.window, "attach")) moved = false;
        if (Arguments(line, surfaces.window, "commit")) moves += moved, moved = false;
    }
    return moves;
}

int AnswerProtocolQuery(const ProtocolLog& log, const std::vector<std::string>& query,
                        std::ostream& out) {
    const std::string name = query.empty() ? "" : query[0];
    const std::size_t count = query.size();
    const auto from = count > 1 ? Number(query[1]) : std::nullopt;
    const auto to = count > 2 ? Number(query[2]) : std::nullopt;
    const auto modes = [&](const std::string& message) {
        return Calls(log, "zxdg_toplevel_decoration_v1@", message);
    };
    if (name == "limits" && count == 1) {
        out << LastSize(log, "set_min_size") << ' ' << LastSize(log, "set_max_size") << '\n';
    } else if (name == "asked-mode" && count == 1) {
        const auto asked = modes("set_mode");
        out << (asked.empty() ? "" : asked.back()) << '\n';
    } else if (name == "told-modes" && count == 1) {
        for (const auto& mode : modes("configure")) out << mode << ' ';
        out << '\n';
    } else if (name == "commits" && from && (count == 2 || (count == 3 && to))) {
        const Commits commits = CommitsBetween(log, *from, to.value_or(LONG_MAX));
        out << commits.own << ' ' << commits.window << '\n';
    } else if (name == "last" && count == 3) {
        const auto calls = Calls(log, query[1], query[2]);
        out << (calls.empty() ? "" : calls.back()) << '\n';
    } else if (name == "moves" && count == 1) {
        out << MovesOverOldLayout(log) << '\n';
    } else if (name == "buttons-since" && from && count == 2) {
        const auto buttons = Calls(log, "wl_pointer@", "button", *from);
        // The last argument is the button's state: 1 pressed, 0 released.
        out << std::count_if(buttons.begin(), buttons.end(), [](const std::string& b) {
            return b.ends_with(", 1");
        }) << '\n';
    } else {
        return 2;
    }
    return 0;
}

}  // namespace kelto::observer
