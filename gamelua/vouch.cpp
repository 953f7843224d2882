#include "vouch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace gamelua {

namespace {

// Lines whose meaning to Lua is plain without asking it: blank lines, plain comments and
// whole statements of the shapes scripts are made of, each standing alone on its line:
//   Name.Name... = exp, or a call Name.Name...(exp, ...), then perhaps ";" and a comment,
// where an exp is operands (numbers, strings without escapes, nil, true, false, names, fields,
// calls, parenthesised exps) joined by Lua's binary operators, each perhaps after - or not.
// Anything else is left to Lua.
//
// A line that holds "[" or "]", even a comment, is never vouched for: inside a long string or
// comment that an earlier line opened, "]]" would close it where Lua sees it close, and Lua 5.1
// refuses "[[" nested in "[[ ... ]]". A line may hold at most kMaxOperators operands and unary
// operators and kMaxDepth nested parentheses, well below what Lua's parser allows in one
// statement (200 levels of nesting, 250 registers): Lua refuses a chain of 200 "^" or "..", and
// a vouched line must never meet that limit.
class LineVoucher {
public:
    // Statement: a call, or an assignment to a plain name, which could also go on an expression
    // or a table left open above it (a call is an argument; "f() 'x'" calls f's result; a table
    // takes "a = 1;" as a field). Assignment: an assignment to a field (Name.Name = ...), which
    // can be no part of an expression or a table.
    enum Kind { Blank, Statement, Assignment, Other };

    static Kind Of(std::string_view line) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
        std::size_t lead = 0;
        while (lead < line.size() && (line[lead] == ' ' || line[lead] == '\t')) ++lead;
        line.remove_prefix(lead);
        if (line.empty()) return Blank;
        if (Usual(line)) return Assignment;
        if (UsualCall(line)) return Statement;
        if (HasBracket(line)) return Other;
        if (line.substr(0, 2) == "--")  // a long comment would reach over the following lines
            return line.size() > 2 && line[2] == '[' ? Other : Blank;
        return Whole(line);
    }

    // Whether lines, joined by LF, are one statement of the shapes above that goes on over them:
    // a line end counts as a blank, and a comment may end each line, but a string never runs on
    // and a call's "(" stands on the line of what it calls (Lua 5.1 refuses it on the next).
    static bool Over(std::string_view lines) {
        while (!lines.empty() && (lines[0] == ' ' || lines[0] == '\t')) lines.remove_prefix(1);
        return !HasBracket(lines) && Whole(lines) != Other;
    }

private:
    // The usual line, NewShipType.name = number or "text" and nothing more, told in one tight
    // pass; anything else is left to the full parse (Whole). Its text holds no bracket, as no
    // line vouched for may.
    static bool Usual(std::string_view line) {
        constexpr std::string_view table = "NewShipType.";
        if (line.size() <= table.size() || std::memcmp(line.data(), table.data(), table.size()) != 0) return false;
        const char* p = line.data() + table.size();
        const char* const end = line.data() + line.size();
        const char* const name = p;
        if (!Alpha(*p)) return false;
        while (p < end && NameChar(*p)) ++p;
        if (Reserved(std::string_view(name, static_cast<std::size_t>(p - name)))) return false;
        if (end - p < 4 || p[0] != ' ' || p[1] != '=' || p[2] != ' ') return false;
        p += 3;
        return (*p == '"' ? PlainString(p, end) : PlainNumber(p, end)) == end;
    }
    // A plain number from p (digits, perhaps a fraction, perhaps a "-" before them): where it
    // ends, or null.
    static const char* PlainNumber(const char* p, const char* end) {
        if (p < end && *p == '-') ++p;
        const char* const digits = p;
        while (p < end && Digit(*p)) ++p;
        if (p == digits) return nullptr;
        if (p < end && *p == '.') {
            const char* const fraction = ++p;
            while (p < end && Digit(*p)) ++p;
            if (p == fraction) return nullptr;
        }
        return p;
    }
    // A plain string from its opening quote at p, closed on the line without an escape or a
    // bracket: where it ends, past its closing quote, or null.
    static const char* PlainString(const char* p, const char* end) {
        const char quote = *p++;
        while (p < end && *p != quote && kStringStop[static_cast<unsigned char>(*p)] == 0) ++p;
        return p < end && *p == quote ? p + 1 : nullptr;
    }
    // The usual call, f(arg, arg, ...) with each argument a plain string, a plain number, nil,
    // true, false or a name, told in one tight pass: a part of what Whole takes.
    static bool UsualCall(std::string_view line) {
        const char* p = line.data();
        const char* const end = p + line.size();
        auto name = [&] {
            const char* const from = p;
            if (p == end || !Alpha(*p)) return std::string_view();
            while (p < end && NameChar(*p)) ++p;
            return std::string_view(from, static_cast<std::size_t>(p - from));
        };
        auto blanks = [&] {
            while (p < end && (*p == ' ' || *p == '\t')) ++p;
        };
        auto moreNames = [&] {  // .Name... after a name, no part of it a reserved word
            while (p < end && *p == '.') {
                ++p;
                const std::string_view n = name();
                if (n.empty() || Reserved(n)) return false;
            }
            return true;
        };
        const std::string_view callee = name();
        if (callee.empty() || Reserved(callee) || !moreNames() || p == end || *p != '(') return false;
        ++p;
        blanks();
        int args = 0;
        if (p < end && *p == ')') {
            ++p;
        } else {
            for (;;) {
                if (++args > kMaxOperators || p == end) return false;
                if (*p == '"' || *p == '\'') {
                    if (!(p = PlainString(p, end))) return false;
                } else if (Digit(*p) || *p == '-') {
                    if (!(p = PlainNumber(p, end))) return false;
                    if (p < end && (NameChar(*p) || *p == '.')) return false;  // an exponent, or a number run on
                } else {  // nil, true or false alone, or Name.Name...
                    const std::string_view first = name();
                    if (first == "nil" || first == "true" || first == "false") {
                        if (p < end && (*p == '.' || *p == '(')) return false;
                    } else if (first.empty() || Reserved(first) || !moreNames()) {
                        return false;
                    }
                }
                blanks();
                if (p == end) return false;
                if (*p == ')') {
                    ++p;
                    break;
                }
                if (*p != ',') return false;
                ++p;
                blanks();
            }
        }
        blanks();
        if (p < end && *p == ';') {
            ++p;
            blanks();
        }
        return p == end;
    }
    // Per byte: whether a plain string stops there (an escape, a line end, or a bracket, which no
    // line vouched for may hold).
    static constexpr auto kStringStop = [] {
        std::array<unsigned char, 256> t{};
        for (unsigned char c : {'\\', '\n', '\r', '[', ']'}) t[c] = 1;
        return t;
    }();
    static bool HasBracket(std::string_view text) {
        return std::memchr(text.data(), '[', text.size()) || std::memchr(text.data(), ']', text.size());
    }
    static constexpr int kMaxOperators = 90, kMaxDepth = 8;
    explicit LineVoucher(std::string_view line) : rest_(line) {}
    std::string_view rest_;
    int operators_ = 0;  // operands and unary operators so far: each may cost Lua a level

    // A statement: Name.Name... = exp or Name.Name...(args), then perhaps ";", to the end.
    static Kind Whole(std::string_view text) {
        LineVoucher v{text};
        if (!v.Name()) return Other;
        bool field = false;
        while (v.Take('.')) {
            if (!v.Name()) return Other;
            field = true;
        }
        v.SameLineBlanks();
        const bool assigns = v.Take('=');
        if (assigns) {
            if (v.Take('=') || !v.Exp(0)) return Other;
        } else if (!v.Args(0)) {
            return Other;
        }
        v.Blanks();
        if (v.Take(';')) v.Blanks();
        if (!v.rest_.empty()) return Other;
        return assigns && field ? Assignment : Statement;
    }

    void SameLineBlanks() {
        std::size_t i = 0;
        while (i < rest_.size() && (rest_[i] == ' ' || rest_[i] == '\t')) ++i;
        rest_.remove_prefix(i);
    }
    bool Starts(char a, char b) const { return rest_.size() >= 2 && rest_[0] == a && rest_[1] == b; }
    // Blanks, line ends and comments to the end of their line; not a long comment ("--["), which
    // is left for the caller to refuse.
    void Blanks() {
        for (;;) {
            std::size_t i = 0;
            while (i < rest_.size() && (rest_[i] == ' ' || rest_[i] == '\t' || rest_[i] == '\n')) ++i;
            rest_.remove_prefix(i);
            if (!Starts('-', '-') || (rest_.size() > 2 && rest_[2] == '[')) return;
            const std::size_t end = rest_.find('\n');
            rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end);
        }
    }
    bool Take(char c) {
        if (rest_.empty() || rest_[0] != c) return false;
        rest_.remove_prefix(1);
        return true;
    }
    bool TakeWord(std::string_view word) {
        const std::size_t n = word.size();
        if (rest_.size() < n || rest_[0] != word[0] || std::memcmp(rest_.data(), word.data(), n) != 0 ||
            (rest_.size() > n && NameChar(rest_[n])))
            return false;
        rest_.remove_prefix(n);
        return true;
    }
    // Per byte: whether it may begin a name, and whether it may go on one (ASCII only, as Lua's
    // lexer in the C locale has it).
    static constexpr auto kNameBytes = [] {
        std::array<unsigned char, 256> t{};
        for (int c = 0; c < 256; ++c) {
            const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
            t[static_cast<std::size_t>(c)] = alpha ? 3 : c >= '0' && c <= '9' ? 2 : 0;
        }
        return t;
    }();
    static bool Alpha(char c) { return kNameBytes[static_cast<unsigned char>(c)] == 3; }
    static bool Digit(char c) { return c >= '0' && c <= '9'; }
    static bool NameChar(char c) { return kNameBytes[static_cast<unsigned char>(c)] != 0; }
    bool Digits() {
        std::size_t n = 0;
        while (n < rest_.size() && Digit(rest_[n])) ++n;
        rest_.remove_prefix(n);
        return n > 0;
    }
    // A name that is not one of Lua's reserved words.
    bool Name() {
        if (rest_.empty() || !Alpha(rest_[0])) return false;
        std::size_t n = 1;
        while (n < rest_.size() && NameChar(rest_[n])) ++n;
        if (Reserved(std::string_view(rest_.data(), n))) return false;
        rest_.remove_prefix(n);
        return true;
    }
    static bool Reserved(std::string_view name) {
        static constexpr std::string_view reserved[] = {"and", "break", "do", "else", "elseif", "end",
            "false", "for", "function", "if", "in", "local", "nil", "not", "or", "repeat", "return",
            "then", "true", "until", "while"};
        if (name.size() < 2 || name.size() > 8 || name[0] < 'a' || name[0] > 'w')  // their lengths and letters
            return false;
        for (std::string_view r : reserved)
            if (r[0] == name[0] && name == r) return true;
        return false;
    }
    // (exp, exp, ...)
    bool Args(int depth) {
        if (!Take('(')) return false;
        Blanks();
        if (Take(')')) return true;
        do {
            if (!Exp(depth + 1)) return false;
        } while (Take(','));
        return Take(')');
    }
    // A table constructor after its "{": fields Name = exp or exp, each after "," or ";".
    bool Table(int depth) {
        if (depth > kMaxDepth) return false;
        Blanks();
        while (!Take('}')) {
            const std::string_view field = rest_;
            if (Name()) {
                Blanks();
                if (rest_.empty() || rest_[0] != '=' || Starts('=', '=')) rest_ = field;  // an exp after all
                else rest_.remove_prefix(1);
            }
            if (!Exp(depth)) return false;
            if (!Take(',') && !Take(';')) return Take('}');
            Blanks();
        }
        return true;
    }
    // Operands joined by binary operators, with the blanks round them.
    bool Exp(int depth) {
        if (depth > kMaxDepth) return false;
        do {
            Blanks();
            while (TakeWord("not") || (!Starts('-', '-') && Take('-'))) {
                if (++operators_ > kMaxOperators) return false;
                Blanks();
            }
            if (++operators_ > kMaxOperators || !Operand(depth)) return false;
            Blanks();
        } while (BinaryOperator());
        return true;
    }
    bool BinaryOperator() {
        if (rest_.empty()) return false;
        const char next = rest_.size() > 1 ? rest_[1] : '\0';
        std::size_t length = 0;
        switch (rest_[0]) {
            case '-': length = next == '-' ? 0 : 1; break;  // "--" begins a comment
            case '+': case '*': case '/': case '%': case '^': length = 1; break;
            case '<': case '>': length = next == '=' ? 2 : 1; break;
            case '.': length = next == '.' ? 2 : 0; break;
            case '=': case '~': length = next == '=' ? 2 : 0; break;
            case 'a': return TakeWord("and");
            case 'o': return TakeWord("or");
            default: break;
        }
        rest_.remove_prefix(length);
        return length > 0;
    }
    bool Operand(int depth) {
        if (rest_.empty()) return false;
        const char c = rest_[0];
        if (c == '"' || c == '\'') {  // a string without escapes, closed on its line
            rest_.remove_prefix(1);
            std::size_t i = 0;
            while (i < rest_.size() && rest_[i] != c && rest_[i] != '\\' && rest_[i] != '\n') ++i;
            if (i == rest_.size() || rest_[i] != c) return false;
            rest_.remove_prefix(i + 1);
            return true;
        }
        if (c == '(') {
            rest_.remove_prefix(1);
            return Exp(depth + 1) && Take(')');
        }
        if (c == '{') {
            rest_.remove_prefix(1);
            return Table(depth + 1);
        }
        if (Digit(c)) {  // 12, 1.5, 2e-3; a number run into a name or a dot is left to Lua
            Digits();
            if (Take('.') && !Digits()) return false;
            if (Take('e') || Take('E')) {
                if (!Take('-')) Take('+');
                if (!Digits()) return false;
            }
            return rest_.empty() || (!NameChar(rest_[0]) && rest_[0] != '.');
        }
        if (TakeWord("nil") || TakeWord("true") || TakeWord("false")) return true;
        if (!Name()) return false;
        while (Take('.'))
            if (!Name()) return false;
        return rest_.empty() || rest_[0] != '(' || Args(depth);
    }
};

// How much a line opens brackets, ( and {, less what it closes, outside strings and before a
// comment; nothing when a string does not close on the line.
std::optional<int> BracketDepth(std::string_view line) {
    int depth = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '(' || c == '{') {
            ++depth;
        } else if (c == ')' || c == '}') {
            --depth;
        } else if (c == '"' || c == '\'') {
            std::size_t j = i + 1;
            while (j < line.size() && line[j] != c) j += line[j] == '\\' ? 2 : 1;
            if (j >= line.size()) return std::nullopt;
            i = j;
        } else if (c == '-' && i + 1 < line.size() && line[i + 1] == '-') {
            break;
        }
    }
    return depth;
}

// A statement whose brackets close on a later line, such as a call with a table over several
// lines: its lines are vouched for together when, joined, they make one statement of the plain
// shapes. A statement is looked for over at most kMaxLines lines, so the search stays linear.
void VouchStatementsOverLines(const std::vector<std::string_view>& lines, std::vector<LineVoucher::Kind>& kinds) {
    constexpr std::size_t kMaxLines = 64;
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (kinds[i] != LineVoucher::Other) continue;
        const std::optional<int> opens = BracketDepth(lines[i]);
        if (!opens || *opens <= 0) continue;
        int depth = *opens;
        std::size_t end = i + 1;
        for (; end < lines.size() && end - i < kMaxLines && depth > 0; ++end) {
            const std::optional<int> d = BracketDepth(lines[end]);
            if (!d) break;
            depth += *d;
        }
        if (depth != 0) continue;
        joined.assign(lines[i]);
        for (std::size_t k = i + 1; k < end; ++k) (joined += '\n') += lines[k];
        if (!LineVoucher::Over(joined)) continue;
        std::fill(kinds.begin() + static_cast<std::ptrdiff_t>(i), kinds.begin() + static_cast<std::ptrdiff_t>(end),
                  LineVoucher::Statement);
        i = end - 1;
    }
}

}  // namespace

std::string LinesForLua(const std::vector<std::string_view>& lines) {
    std::vector<LineVoucher::Kind> kinds;
    kinds.reserve(lines.size());
    bool any = false;
    for (std::string_view line : lines) {
        kinds.push_back(LineVoucher::Of(line));
        any = any || kinds.back() == LineVoucher::Other;
    }
    if (!any) return {};
    VouchStatementsOverLines(lines, kinds);
    any = std::find(kinds.begin(), kinds.end(), LineVoucher::Other) != kinds.end();
    if (!any) return {};
    std::vector<bool> keep(lines.size());
    auto keepBefore = [&](std::size_t i) {
        for (std::size_t j = i; j-- > 0;) {
            if (kinds[j] == LineVoucher::Blank) continue;
            keep[j] = true;
            return;
        }
    };
    // What a line leaves open (a call, a table, an operator) takes in the statements after it
    // that could go on it, as far as the first assignment to a field, which cannot: those are
    // all kept, so that Lua meets what stays open where it meets it in the whole script.
    auto keepAfter = [&](std::size_t i) {
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            if (kinds[j] == LineVoucher::Blank) continue;
            keep[j] = true;
            if (kinds[j] != LineVoucher::Statement) return;
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (kinds[i] == LineVoucher::Other) {
            keep[i] = true;
            keepBefore(i);
            keepAfter(i);
        }
    std::size_t size = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (keep[i]) size += lines[i].size();
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (keep[i]) text.append(lines[i]);
        text += '\n';
    }
    return text;
}

LoadCheck CheckLoadVouched(std::string_view script, const std::vector<std::string_view>& lines) {
    // A first line that begins with '#' is skipped up to the first LF, as loadfile skips it, and
    // that may lie past lone CRs that end lines of their own here: such a script goes to Lua whole.
    if (!script.empty() && script[0] == '#') return CheckLoad(script);
    const std::string forLua = LinesForLua(lines);
    if (forLua.empty() || CheckLoad(forLua).loads) return {true, 0, {}};
    return CheckLoad(script);
}

}  // namespace gamelua
