#include "statements.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "asciicase.h"

namespace statements {
namespace {

// Where the scanner stands at the end of a line.
struct State {
    enum Mode { Code, LongString, LongComment, ShortString } mode = Code;
    int level = 0;     // number of "=" in a long bracket
    char quote = 0;    // for ShortString
    int depth = 0;     // open ( { [
    std::size_t openedAt = 0;  // the line where the open long bracket began
    // The code's last character, its last one that is not blank, and the one just before that:
    // enough to tell an "=" still waiting for its value without keeping the code.
    char last = 0, lastSolid = 0, beforeSolid = 0;
};

// The level of a long bracket opening at s[i] ("[[", "[=[", ...), or -1.
int LongOpen(std::string_view s, std::size_t i) {
    if (i >= s.size() || s[i] != '[') return -1;
    std::size_t j = i + 1;
    while (j < s.size() && s[j] == '=') ++j;
    return j < s.size() && s[j] == '[' ? static_cast<int>(j - i - 1) : -1;
}

// Per character: how it changes the bracket depth, and whether it may open a comment, a string or
// a long bracket (where a run of plain code ends).
constexpr auto kDepthStep = [] {
    std::array<signed char, 256> t{};
    for (unsigned char c : {'(', '{', '['}) t[c] = 1;
    for (unsigned char c : {')', '}', ']'}) t[c] = -1;
    return t;
}();
constexpr auto kStops = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : {'-', '"', '\'', '['}) t[c] = true;
    return t;
}();

// Scans one line from state st; appends its code (comments left out) to code.
void Scan(std::string_view s, std::size_t lineNo, State& st, std::string* code) {
    auto keep = [&](std::size_t from, std::size_t to) {
        if (to <= from) return;
        if (code) code->append(s.substr(from, to - from));
        for (std::size_t p = to; p > from; --p) {
            const char c = s[p - 1];
            if (c != ' ' && c != '\t' && c != '\r') {
                st.lastSolid = c;
                st.beforeSolid = p - 1 > from ? s[p - 2] : st.last;
                break;
            }
        }
        st.last = s[to - 1];
    };
    std::size_t i = 0;
    bool carriedOn = false;  // the line ends inside a short string, with a backslash that carries it
    while (i < s.size()) {
        switch (st.mode) {
            case State::LongString:
            case State::LongComment: {
                const std::string close = "]" + std::string(static_cast<std::size_t>(st.level), '=') + "]";
                const std::size_t at = s.find(close, i);
                const std::size_t end = at == std::string_view::npos ? s.size() : at + close.size();
                if (st.mode == State::LongString) keep(i, end);
                if (at != std::string_view::npos) st.mode = State::Code;
                i = end;
                break;
            }
            case State::ShortString: {
                // A backslash at the very end of the line carries the string on to the next line;
                // without one, the string (unfinished, so the script is broken) ends with the line.
                std::size_t j = i;
                bool closed = false, carried = false;
                while (j < s.size()) {
                    // Straight to the next quote or backslash: strings are most of a script.
                    while (j < s.size() && s[j] != st.quote && s[j] != '\\') ++j;
                    if (j == s.size()) break;
                    if (s[j] == '\\') {
                        if (j + 1 == s.size()) {
                            carried = true;
                            break;
                        }
                        j += 2;
                    } else if (s[j] == st.quote) {
                        closed = true;
                        break;
                    } else {
                        ++j;
                    }
                }
                const std::size_t end = closed ? j + 1 : s.size();
                keep(i, end);
                if (!carried) st.mode = State::Code;
                carriedOn = carried;
                i = end;
                break;
            }
            case State::Code: {
                const char c = s[i];
                if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
                    const int level = LongOpen(s, i + 2);
                    if (level < 0) return;  // a comment to the end of the line
                    st.mode = State::LongComment;
                    st.level = level;
                    st.openedAt = lineNo;
                    i += 4 + static_cast<std::size_t>(level);
                } else if (c == '"' || c == '\'') {
                    keep(i, i + 1);
                    st.mode = State::ShortString;
                    st.quote = c;
                    ++i;
                } else if (const int level = LongOpen(s, i); level >= 0) {
                    keep(i, i + 2 + static_cast<std::size_t>(level));
                    st.mode = State::LongString;
                    st.level = level;
                    st.openedAt = lineNo;
                    i += 2 + static_cast<std::size_t>(level);
                } else {
                    // A run of plain code, up to the next character that may open a comment, a
                    // string or a long bracket, is kept in one piece.
                    std::size_t j = i;
                    do {
                        st.depth += kDepthStep[static_cast<unsigned char>(s[j])];
                        ++j;
                    } while (j < s.size() && !kStops[static_cast<unsigned char>(s[j])]);
                    keep(i, j);
                    i = j;
                }
                break;
            }
        }
    }
    // A string that opens as the line's last character, or a string carried on to an empty line,
    // ends with the line too: only a backslash at its end carries a string on.
    if (st.mode == State::ShortString && !carriedOn) st.mode = State::Code;
}

// An "=" after one of these is part of a comparison (==, ~=, <=, >=), not an assignment.
bool ComparisonBefore(char c) { return c != 0 && std::string_view("=~<>").find(c) != std::string_view::npos; }

}  // namespace

// Most lines are a whole statement: plain code, short strings, brackets that close within the
// line, perhaps a comment at the end. This tells them apart in one pass; a line with a long
// bracket, a string that does not close, or a backslash at its end is Unsure and left to Scan.
namespace {

// The span from b to a comment at e, without the blanks (or a CR) before the comment and a ";"
// that ends the code, with its blanks.
Span Trimmed(std::string_view s, std::size_t b, std::size_t e) {
    auto trim = [&] {
        while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    };
    trim();
    if (e > b && s[e - 1] == ';') {
        --e;
        trim();
    }
    return {b, e};
}

std::size_t LeadingBlanks(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && (s[b] == ' ' || s[b] == '\t')) ++b;
    return b;
}

}  // namespace

Alone ReadAlone(std::string_view s, Span* code) {
    // Per character: 0 plain code, else what it may start or end.
    enum : unsigned char { kPlain, kOpen, kClose, kQuote, kBracket, kDash };
    static constexpr auto kClass = [] {
        std::array<unsigned char, 256> t{};
        for (unsigned char c : {'(', '{'}) t[c] = kOpen;
        for (unsigned char c : {')', '}', ']'}) t[c] = kClose;
        for (unsigned char c : {'"', '\''}) t[c] = kQuote;
        t['['] = kBracket;
        t['-'] = kDash;
        return t;
    }();
    int depth = 0;
    std::size_t codeEnd = s.size();
    const std::size_t n = s.size();
    auto cls = [&s](std::size_t at) { return kClass[static_cast<unsigned char>(s[at])]; };
    for (std::size_t i = 0; i < n; ++i) {
        // Plain code is skipped four bytes at a time: most of a line is names, numbers and blanks.
        while (i + 4 <= n && (cls(i) | cls(i + 1) | cls(i + 2) | cls(i + 3)) == kPlain) i += 4;
        while (i < n && cls(i) == kPlain) ++i;
        if (i == n) break;
        const char c = s[i];
        switch (kClass[static_cast<unsigned char>(c)]) {
            case kOpen: ++depth; break;
            case kClose: --depth; break;
            case kQuote: {
                // The closing quote is the next one that an odd run of backslashes does not escape.
                const std::size_t open = i + 1;
                std::size_t j = open;
                for (;;) {
                    const void* q = j < n ? std::memchr(s.data() + j, c, n - j) : nullptr;
                    if (!q) return Alone::Unsure;
                    j = static_cast<std::size_t>(static_cast<const char*>(q) - s.data());
                    std::size_t run = 0;
                    while (j - run > open && s[j - run - 1] == '\\') ++run;
                    if (run % 2 == 0) break;
                    ++j;
                }
                i = j;
                break;
            }
            case kBracket:
                if (LongOpen(s, i) >= 0) return Alone::Unsure;
                ++depth;
                break;
            default:  // '-'
                if (i + 1 < n && s[i + 1] == '-') {
                    if (LongOpen(s, i + 2) >= 0) return Alone::Unsure;
                    codeEnd = i;
                    i = n;
                }
                break;
        }
    }
    if (depth > 0) return Alone::Open;
    // An "=" as the code's last character that is not blank waits for its value on the next line.
    std::size_t p = codeEnd;
    while (p > 0 && (s[p - 1] == ' ' || s[p - 1] == '\t' || s[p - 1] == '\r')) --p;
    if (p > 0 && s[p - 1] == '=' && !(p >= 2 && ComparisonBefore(s[p - 2]))) return Alone::Open;
    if (code) *code = Trimmed(s, std::min(LeadingBlanks(s), codeEnd), codeEnd);
    return Alone::Closed;
}

namespace {

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Whether a line begins a block: its first word (after blanks) opens one.
bool BeginsBlock(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && (s[b] == ' ' || s[b] == '\t')) ++b;
    if (b == s.size()) return false;
    // Most lines begin with N, S, a, l or -: one look at the first letter settles them.
    const char c = s[b];
    if (c != 'i' && c != 'f' && c != 'w' && c != 'd' && c != 'r' && c != 'l') return false;
    std::size_t e = b;
    while (e < s.size() && IsNameChar(s[e])) ++e;
    const std::string_view word = s.substr(b, e - b);
    if (word == "local") return BeginsBlock(s.substr(e)) && s.substr(e).find("function") != std::string_view::npos;
    return word == "if" || word == "for" || word == "while" || word == "do" || word == "repeat" || word == "function";
}

// Counts the blocks a line opens and closes (if, function, do and repeat open one; end and until
// close one), outside strings and comments; the state of a long string or comment carries over
// from line to line.
struct BlockScan {
    int depth = 0;
    int longLevel = -1;  // in a long string or comment of this level, else -1

    void Line(std::string_view s) {
        std::size_t i = 0;
        const std::size_t n = s.size();
        while (i < n) {
            if (longLevel >= 0) {
                const std::string close = "]" + std::string(static_cast<std::size_t>(longLevel), '=') + "]";
                const std::size_t at = s.find(close, i);
                if (at == std::string_view::npos) return;
                longLevel = -1;
                i = at + close.size();
                continue;
            }
            const char c = s[i];
            if (c == '-' && i + 1 < n && s[i + 1] == '-') {
                const int level = LongOpen(s, i + 2);
                if (level < 0) return;
                longLevel = level;
                i += 4 + static_cast<std::size_t>(level);
            } else if (c == '"' || c == '\'') {
                std::size_t j = i + 1;
                while (j < n && s[j] != c) j += s[j] == '\\' ? 2 : 1;
                i = j + 1;
            } else if (const int level = LongOpen(s, i); level >= 0) {
                longLevel = level;
                i += 2 + static_cast<std::size_t>(level);
            } else if (IsNameChar(c) && !(c >= '0' && c <= '9')) {
                std::size_t j = i;
                while (j < n && IsNameChar(s[j])) ++j;
                const std::string_view w = s.substr(i, j - i);
                // A name after "." or ":" is a field, not a keyword.
                const bool field = i > 0 && (s[i - 1] == '.' || s[i - 1] == ':');
                if (!field) {
                    if (w == "if" || w == "function" || w == "do" || w == "repeat") ++depth;
                    else if (w == "end" || w == "until") --depth;
                }
                i = j;
            } else {
                ++i;
            }
        }
    }
};

}  // namespace

Span CodeSpan(std::string_view s) {
    const std::size_t n = s.size();
    const std::size_t b = LeadingBlanks(s);
    std::size_t e = n;
    // Most lines hold no "-" and no ";": only the blanks at their ends are cut. (A plain loop:
    // find_first_of asks its set once per character, which made this the reader's costliest step.)
    bool marked = false;
    for (std::size_t i = b; i < n && !marked; ++i) marked = s[i] == '-' || s[i] == ';';
    if (marked) {
        for (std::size_t i = b; i < n; ++i) {
            const char c = s[i];
            if (c == '"' || c == '\'') {
                std::size_t j = i + 1;
                while (j < n && s[j] != c) j += s[j] == '\\' ? 2 : 1;
                i = j;
            } else if (c == '[') {
                const int level = LongOpen(s, i);
                if (level < 0) continue;
                const std::string close = "]" + std::string(static_cast<std::size_t>(level), '=') + "]";
                const std::size_t at = s.find(close, i);
                if (at == std::string_view::npos) break;
                i = at + close.size() - 1;
            } else if (c == '-' && i + 1 < n && s[i + 1] == '-') {
                e = i;
                break;
            }
        }
    }
    return Trimmed(s, b, e);
}

namespace {

// A line that ends a statement still open before it: one that begins a statement of its own, as
// the reader sorts them (an assignment to an entry of NewShipType, or one of the calls it knows),
// or a comment at the start of the line, which is also what the reader writes after a statement
// that never closed.
bool EndsOpenStatement(std::string_view s) {
    if (s.rfind("--", 0) == 0) return true;
    if (asciicase::StartsWithNoCase(s, "news")) {
        const std::size_t eq = s.find('=');
        if (eq == std::string_view::npos || (eq + 1 < s.size() && s[eq + 1] == '=')) return false;
        return eq == 0 || !ComparisonBefore(s[eq - 1]);
    }
    for (std::string_view p : {"loadmo", "loadsha", "startshipw", "spawnsal", "loadshippa", "addability"})
        if (asciicase::StartsWithNoCase(s, p)) return true;
    return false;
}

bool InLongBracket(const State& st) { return st.mode == State::LongString || st.mode == State::LongComment; }

// An assignment whose value is on the next line ("NewShipType.displayedName =" and then the
// string): Lua reads on, so the statement does too.
bool AwaitsValue(const State& st) {
    if (st.mode != State::Code || st.depth > 0 || st.lastSolid != '=') return false;
    return !ComparisonBefore(st.beforeSolid);
}

bool OpenBracket(const State& st) { return st.mode != State::Code || st.depth > 0; }

bool Open(const State& st) { return OpenBracket(st) || AwaitsValue(st); }

}  // namespace

bool OpenAfter(std::string_view line) {
    State st;
    Scan(line, 0, st, nullptr);
    return Open(st);
}

Splitter::Splitter(const std::vector<std::string_view>& lines) : lines_(lines) {}

bool Splitter::ClosesAfter(int level, std::size_t line) {
    if (!lastCloseKnown_) {
        lastCloseKnown_ = true;
        for (std::size_t n = 0; n < lines_.size(); ++n) {
            const std::string_view s = lines_[n];
            // Each "]" starts at most one run of "=" to look at, and the run ends where the next
            // candidate begins: one pass over the line.
            for (std::size_t at = s.find(']'); at != std::string_view::npos;) {
                std::size_t j = at + 1;
                while (j < s.size() && s[j] == '=') ++j;
                if (j == s.size()) break;
                if (s[j] == ']') lastClose_[static_cast<int>(j - at - 1)] = n;
                at = s.find(']', j);
            }
        }
    }
    const auto it = lastClose_.find(level);
    return it != lastClose_.end() && it->second > line;
}

// Fills out with a statement and moves on past it.
bool Splitter::Next(Statement& out) {
    if (i_ >= lines_.size()) return false;
    auto give = [&out](std::size_t first, std::size_t count, bool open, bool neverEnds) {
        out.first = first;
        out.count = count;
        out.open = open;
        out.neverEnds = neverEnds;
        out.block = false;
        out.toEnd = false;
        out.joined.clear();
        out.codeKnown = false;
        return true;
    };
    const std::size_t first = i_;
    if (BeginsBlock(lines_[i_])) {
        // A block runs to the line that closes it. One that never closes (the script is broken
        // there, and Lua loads none of it) runs to the end of the file: read as separate
        // statements, the lines after it would change with every line the writer moves, and a
        // later block could close where this one did not.
        BlockScan scan;
        std::size_t k = i_;
        do scan.Line(lines_[k++]);
        while ((scan.depth > 0 || scan.longLevel >= 0) && k < lines_.size());
        give(first, k - first, false, false);
        out.toEnd = scan.depth > 0 || scan.longLevel >= 0;
        i_ = k;
        out.block = true;
        return true;
    }
    if (ReadAlone(lines_[i_], &out.code) == Alone::Closed) {
        give(i_++, 1, false, false);
        out.codeKnown = true;
        return true;
    }
    State st;
    code_.clear();
    // Most statements are one line: its code is gathered only once it proves to go on.
    Scan(lines_[i_], i_, st, nullptr);
    if (Open(st)) {
        st = State();
        Scan(lines_[i_], i_, st, &code_);
    }
    ++i_;
    auto key = [&st] { return std::make_pair(st.mode == State::LongComment, st.level); };
    if (InLongBracket(st) && neverClosed_.count(key())) return give(first, 1, false, true);
    codeAt_.assign(1, 0);
    inCodeAt_.assign(1, true);
    bool neverCloses = InLongBracket(st) && !ClosesAfter(st.level, i_ - 1);
    while (!neverCloses && Open(st) && i_ < lines_.size()) {
        if (!InLongBracket(st) && EndsOpenStatement(lines_[i_])) break;
        code_ += ' ';
        st.last = ' ';
        codeAt_.push_back(code_.size());
        inCodeAt_.push_back(st.mode == State::Code);
        Scan(lines_[i_], i_, st, &code_);
        ++i_;
        neverCloses = InLongBracket(st) && !ClosesAfter(st.level, i_ - 1);
    }
    if (InLongBracket(st) && (neverCloses || i_ == lines_.size())) {
        if (st.openedAt == first) {
            // Never closed: the script is broken there. Its first line stands alone and the
            // lines after it are read afresh.
            neverClosed_.insert(key());
            i_ = first + 1;
            return give(first, 1, false, true);
        }
        const std::size_t count = st.openedAt - first;
        if (!inCodeAt_[count]) {
            // That line begins inside a string or long bracket of the statement, which it
            // closes: ended before it, the statement would run on into whatever follows it.
            // It ends with that line instead, never closing, and the lines after it are read
            // afresh.
            if (count + 1 < codeAt_.size()) code_.resize(codeAt_[count + 1] - 1);
            i_ = st.openedAt + 1;
            give(first, count + 1, false, true);
            out.joined.swap(code_);
            return true;
        }
        // The bracket began on a later line: the statement ends, open, before that line, which
        // is then read on its own.
        code_.resize(codeAt_[count] == 0 ? 0 : codeAt_[count] - 1);
        i_ = st.openedAt;
        give(first, count, true, false);
        if (count > 1) out.joined.swap(code_);
        return true;
    }
    // An "=" still waiting for its value where the next statement begins leaves this one open
    // too: it is kept with an end after it, so that read again it meets the same end.
    give(first, i_ - first, Open(st), false);
    // A statement of one line is read from the line itself; only a longer one takes its code.
    if (i_ - first > 1) out.joined.swap(code_);
    return true;
}

std::size_t CountByte(std::string_view text, char byte) {
    constexpr std::uint64_t ones = 0x0101010101010101u, lows = 0x7f7f7f7f7f7f7f7fu;
    const std::uint64_t pattern = ones * static_cast<unsigned char>(byte);
    std::size_t n = 0, i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        w ^= pattern;  // the bytes that match are now 0
        // The high bit of each byte that is 0, and no other bit: adding 0x7f to the low seven
        // bits sets the high bit of every byte with one of them set, and carries into no other.
        // Those bits moved to the bytes' low ends and multiplied by ones add up in the top byte.
        const std::uint64_t zeros = ~(((w & lows) + lows) | w | lows);
        n += static_cast<std::size_t>(((zeros >> 7) * ones) >> 56);
    }
    for (; i < text.size(); ++i) n += text[i] == byte;
    return n;
}

std::vector<std::string_view> Lines(std::string_view text) {
    const char* const data = text.data();
    const std::size_t size = text.size();
    // A long text's lines are counted first, so the list is made once at its size: grown by
    // doubling, a file of short lines would hold the old and the new list at once, twice the
    // memory of the list itself. (A file whose lines end in CR alone is counted by those.) A
    // script of the usual size is not worth the pass: room for lines of 24 bytes will do.
    std::size_t ends = size / 24;
    if (size > (std::size_t{1} << 16)) {
        ends = CountByte(text, '\n');
        if (ends == 0) ends = CountByte(text, '\r');
    }
    std::vector<std::string_view> lines;
    lines.reserve(ends + 1);
    // Line by line to the next LF, then within the line to each lone CR: memchr finds both at
    // the speed of the memory, where a search for either character would look at each byte.
    auto loneCrs = [&](std::size_t& from, std::size_t to) {
        while (const void* cr = from < to ? std::memchr(data + from, '\r', to - from) : nullptr) {
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(cr) - data);
            lines.push_back(text.substr(from, at - from));
            from = at + 1;
        }
    };
    std::size_t start = 0;
    while (start < size) {
        const void* lf = std::memchr(data + start, '\n', size - start);
        if (!lf) {
            loneCrs(start, size);
            if (start < size) lines.push_back(text.substr(start));
            break;
        }
        const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lf) - data);
        const std::size_t lineEnd = end > start && data[end - 1] == '\r' ? end - 1 : end;  // CR LF
        loneCrs(start, lineEnd);
        lines.push_back(text.substr(start, lineEnd - start));
        start = end + 1;
    }
    if (lines.empty()) lines.push_back(text);  // the empty line of an empty text, still a view into it
    return lines;
}

std::vector<Statement> Split(const std::vector<std::string_view>& lines) {
    std::vector<Statement> out;
    Splitter splitter(lines);
    for (Statement st; splitter.Next(st);) out.push_back(st);
    return out;
}

}  // namespace statements
