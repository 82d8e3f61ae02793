// The input script parser. Every rejection names the line and the problem, so a person can fix
// the script from the message alone.
#include "platform/desktop/input_script.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/user/keymap.h"

namespace brimlox::desktop {

namespace {

constexpr std::uint64_t kMaxTimeMs = 1ull << 40;
constexpr long long kMaxCoordinate = 1000000;

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool ParseInteger(std::string_view s, long long& v) {
    if (s.empty()) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size();
}

// "120ms", "2s" or a bare number of milliseconds.
bool ParseTime(std::string_view s, std::uint64_t& ms, std::string& why) {
    long long scale = 1;
    if (s.size() > 2 && s.ends_with("ms")) s.remove_suffix(2);
    else if (s.size() > 1 && s.ends_with("s")) s.remove_suffix(1), scale = 1000;
    long long v;
    if (!ParseInteger(s, v) || v < 0) {
        why = "a time must be a whole number of milliseconds (\"120ms\") or seconds (\"2s\")";
        return false;
    }
    if (static_cast<std::uint64_t>(v) > kMaxTimeMs / static_cast<std::uint64_t>(scale)) {
        why = "the time is too large";
        return false;
    }
    ms = static_cast<std::uint64_t>(v * scale);
    return true;
}

bool ParseButton(std::string_view s, MouseButton& b) {
    if (s == "left") b = MouseButton::Left;
    else if (s == "right") b = MouseButton::Right;
    else if (s == "middle") b = MouseButton::Middle;
    else return false;
    return true;
}

bool ValidName(std::string_view s) {
    if (s.empty() || s.size() > 128 || s[0] == '.') return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '.') return false;
    return true;
}

// Parses the command part of one line into events at `time`; `time` moves for "wait".
bool ParseCommand(const std::vector<std::string_view>& t, std::uint64_t& time, std::vector<InputEvent>& out,
                  std::string& why) {
    auto argCount = [&](std::size_t n, const char* usage) {
        if (t.size() == n) return true;
        why = std::string("expected \"") + usage + "\"";
        return false;
    };
    InputEvent e;
    e.timeMs = time;
    const std::string_view cmd = t[0];
    if (cmd == "move") {
        if (!argCount(3, "move X Y")) return false;
        long long x, y;
        if (!ParseInteger(t[1], x) || !ParseInteger(t[2], y) || std::llabs(x) > kMaxCoordinate || std::llabs(y) > kMaxCoordinate) {
            why = "move needs two whole-number screen coordinates";
            return false;
        }
        e.type = InputType::MouseMove;
        e.x = static_cast<int>(x);
        e.y = static_cast<int>(y);
        out.push_back(e);
    } else if (cmd == "down" || cmd == "up" || cmd == "click") {
        if (!argCount(2, "down|up|click left|right|middle")) return false;
        if (!ParseButton(t[1], e.button)) {
            why = "unknown mouse button \"" + std::string(t[1]) + "\" (left, right or middle)";
            return false;
        }
        e.type = cmd == "up" ? InputType::ButtonUp : InputType::ButtonDown;
        out.push_back(e);
        if (cmd == "click") {
            e.type = InputType::ButtonUp;
            out.push_back(e);
        }
    } else if (cmd == "key") {
        if (!argCount(3, "key down|up|press KEY")) return false;
        if (t[1] != "down" && t[1] != "up" && t[1] != "press") {
            why = "key needs down, up or press, not \"" + std::string(t[1]) + "\"";
            return false;
        }
        e.vk = user::VkFromName(t[2]);
        if (!e.vk) {
            why = "unknown key \"" + std::string(t[2]) + "\" (a VK_ name, a letter, a digit or 0xNN)";
            return false;
        }
        e.type = t[1] == "up" ? InputType::KeyUp : InputType::KeyDown;
        out.push_back(e);
        if (t[1] == "press") {
            e.type = InputType::KeyUp;
            out.push_back(e);
        }
    } else if (cmd == "wheel") {
        long long d;
        if (!argCount(2, "wheel DELTA")) return false;
        if (!ParseInteger(t[1], d) || std::llabs(d) > 32767) {
            why = "wheel needs a whole-number delta between -32767 and 32767";
            return false;
        }
        e.type = InputType::Wheel;
        e.x = static_cast<int>(d);
        out.push_back(e);
    } else if (cmd == "wait") {
        std::uint64_t ms;
        if (!argCount(2, "wait TIME") || !ParseTime(t[1], ms, why)) return false;
        if (time + ms > kMaxTimeMs) {
            why = "the script runs past the largest time";
            return false;
        }
        time += ms;
    } else if (cmd == "screenshot") {
        if (!argCount(2, "screenshot NAME")) return false;
        if (!ValidName(t[1])) {
            why = "a screenshot name uses letters, digits, '_', '-' and '.', does not start with '.', "
                  "and has at most 128 characters";
            return false;
        }
        e.type = InputType::Screenshot;
        e.name = InternName(t[1]);
        out.push_back(e);
    } else if (cmd == "quit") {
        if (!argCount(1, "quit")) return false;
        e.type = InputType::Quit;
        out.push_back(e);
    } else {
        why = "unknown command \"" + std::string(cmd) + "\"";
        return false;
    }
    return true;
}

}  // namespace

bool ParseInputScript(std::string_view text, InputScript& out, std::string& error) {
    out = InputScript{};
    std::uint64_t time = 0;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
        ++lineNumber;
        if (std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        std::vector<std::string_view> t = Tokens(line);
        if (t.empty()) continue;
        std::string why;
        if (t[0] == "at") {
            std::uint64_t at;
            if (t.size() < 3) why = "\"at TIME\" must be followed by a command";
            else if (ParseTime(t[1], at, why) && at < time)
                why = "time goes backwards (" + std::to_string(at) + "ms is before " + std::to_string(time) + "ms)";
            else if (why.empty()) time = at;
            if (why.empty()) t.erase(t.begin(), t.begin() + 2);
        }
        std::size_t before = out.events.size();
        if (why.empty() && !ParseCommand(t, time, out.events, why)) {
            out.events.resize(before);
        }
        if (!why.empty()) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            out = InputScript{};
            return false;
        }
        for (std::size_t i = before; i < out.events.size(); ++i) out.events[i].line = lineNumber;
    }
    out.endTime = time;
    return true;
}

bool LoadInputScript(const std::string& path, InputScript& out, std::string& error) {
    // A folder opens like a file here and reads as empty: that would be an empty script.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "input script " + path + " is a folder";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open input script " + path;
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    if (!ParseInputScript(buffer.str(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace brimlox::desktop
