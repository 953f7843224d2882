// The text forms of values, shared by builds with and without Lua.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gamelua.h"

namespace gamelua {

std::string NumberText(double v) {
    if (std::isnan(v)) return "0/0";
    if (std::isinf(v)) return v > 0 ? "1/0" : "-1/0";
    char buf[40];
    if (v == std::floor(v) && std::fabs(v) < 1e15 && !(v == 0 && std::signbit(v))) {
        // Whole numbers in plain digits, as scripts write them.
        const auto end = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(v)).ptr;
        return std::string(buf, end);
    }
    // Otherwise the shortest text that reads back as the same double.
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    return std::string(buf, end);
}

std::string QuotedText(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                // Control characters as decimal escapes: a terminal shown this output must not
                // take a byte of a mod's script as a command.
                if (c < 0x20 || c == 0x7f) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\%03u", c);
                    out += esc;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + '"';
}

std::string CallText(const Call& call) {
    // A name is whatever the script indexed its environment with: shown escaped when it holds
    // control characters.
    bool plain = true;
    for (unsigned char c : call.name) plain = plain && c >= 0x20 && c != 0x7f;
    std::string out;
    if (plain) {
        out = call.name;
    } else {
        out = '[';
        out += QuotedText(call.name);
        out += ']';
    }
    out += '(';
    for (std::size_t i = 0; i < call.args.size(); ++i) out += (i ? ", " : "") + call.args[i].text;
    return out + ")";
}

std::optional<std::string> KeyValueText(const Reading& reading, std::string_view key) {
    if (auto it = reading.keys.find(std::string(key)); it != reading.keys.end()) return it->second.text;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (const auto& [k, v] : reading.keys) {
        if (k.size() != key.size()) continue;
        std::size_t i = 0;
        while (i < k.size() && lower(k[i]) == lower(key[i])) ++i;
        if (i == k.size()) return v.text;
    }
    return std::nullopt;
}

std::optional<std::string> KeyValueText(std::string_view script, std::string_view key) {
    return KeyValueText(Read(script), key);
}

}  // namespace gamelua
