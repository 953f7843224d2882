#include "suppression.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "statements.h"
#include "u8path.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\n\f\v";
constexpr std::string_view kIgnoreLine = "tarvisk: ignore";
constexpr std::string_view kIgnoreFile = "tarvisk: ignore-file";
constexpr std::string_view kHeader = "# tarvisk-cli check baseline: path, rule, name, line (tab-separated)";

bool IsBlank(char c) {
    for (const char b : kBlanks)
        if (c == b) return true;
    return false;
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// The text of the comment that ends the line, trimmed; nothing when it has none. A "--" inside a
// string is no comment: a description that quotes the marker silences nothing.
bool LastComment(std::string_view line, std::string_view& comment) {
    const std::string_view tail = line.substr(statements::CodeSpan(line).end);
    const auto at = tail.rfind("--");
    if (at == std::string_view::npos) return false;
    comment = Trim(tail.substr(at + 2));
    return true;
}

std::string Escape(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

bool MayIgnore(std::string_view script) { return script.find(kIgnoreLine) != std::string_view::npos; }

bool IgnoresLine(std::string_view line) {
    std::string_view comment;
    return LastComment(line, comment) && comment == kIgnoreLine;
}

bool IgnoresFile(std::string_view line) {
    // Asked of every line of every script: a line that is no comment is passed at its first
    // character that is not blank.
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (line.substr(first, 2) != "--") return false;
    std::string_view comment;
    return LastComment(Trim(line), comment) && comment == kIgnoreFile;
}

std::string Baseline::Key(const std::string& relativePath, const Finding& f) {
    return Escape(relativePath) + '\t' + Escape(f.rule) + '\t' + Escape(f.name) + '\t' + Escape(Trim(f.lineText));
}

bool Baseline::Take(const std::string& key) {
    auto it = counts_.find(key);
    if (it == counts_.end() || it->second == 0) return false;
    --it->second;
    return true;
}

bool Baseline::Read(const std::string& path, std::string& why, bool& missing) {
    std::error_code ec;
    missing = !std::filesystem::exists(U8Path(path), ec);
    if (missing) {
        why = "does not exist";
        return false;
    }
    std::ifstream in(U8Path(path), std::ios::binary);
    std::stringstream bytes;
    if (in) bytes << in.rdbuf();
    if (!in || in.bad()) {
        why = "could not be read";
        return false;
    }
    std::string line;
    while (std::getline(bytes, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        // Keys are stored escaped, so a line is a key as it is.
        Add(line);
    }
    return true;
}

std::string Baseline::Text() const {
    std::string out(kHeader);
    out += '\n';
    for (const auto& [key, count] : counts_)
        for (int i = 0; i < count; ++i) out += key + '\n';
    return out;
}
