#include "otherentries.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "asciicase.h"
#include "scriptformat.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

std::size_t SkipBlanks(std::string_view t, std::size_t i) {
    while (i < t.size() && IsBlank(t[i])) ++i;
    return i;
}
std::string_view Trim(std::string_view t) {
    std::size_t a = SkipBlanks(t, 0), b = t.size();
    while (b > a && (IsBlank(t[b - 1]) || t[b - 1] == '\n')) --b;
    return t.substr(a, b - a);
}

// The end of the quoted string that opens at i (one past its closing quote), or npos when it does
// not close in the text or runs over a line end.
std::size_t QuotedEnd(std::string_view t, std::size_t i) {
    const char q = t[i];
    for (std::size_t k = i + 1; k < t.size(); ++k) {
        if (t[k] == '\\') ++k;
        else if (t[k] == q) return k + 1;
        else if (t[k] == '\n') return std::string_view::npos;
    }
    return std::string_view::npos;
}

// Walks code outside quoted strings and "--" comments: at(i) is called for each such character;
// false when a string does not close.
template <class At>
bool WalkCode(std::string_view t, At at) {
    for (std::size_t i = 0; i < t.size();) {
        const char c = t[i];
        if (c == '"' || c == '\'') {
            const std::size_t end = QuotedEnd(t, i);
            if (end == std::string_view::npos) return false;
            i = end;
        } else if (c == '-' && i + 1 < t.size() && t[i + 1] == '-') {
            const std::size_t nl = t.find('\n', i);
            i = nl == std::string_view::npos ? t.size() : nl;
        } else {
            if (!at(i)) return true;
            ++i;
        }
    }
    return true;
}

// The closing parenthesis that matches the one at open, or npos.
std::size_t MatchingParen(std::string_view t, std::size_t open) {
    int depth = 0;
    std::size_t found = std::string_view::npos;
    WalkCode(t.substr(open), [&](std::size_t i) {
        if (t[open + i] == '(') ++depth;
        else if (t[open + i] == ')' && --depth == 0) {
            found = open + i;
            return false;
        }
        return true;
    });
    return found;
}

// The text without a "--" comment at its end (outside strings), blanks trimmed.
std::string_view WithoutComment(std::string_view t) {
    std::size_t cut = t.size();
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '"' || t[i] == '\'') {
            const std::size_t end = QuotedEnd(t, i);
            if (end == std::string_view::npos) break;
            i = end - 1;
        } else if (t[i] == '-' && i + 1 < t.size() && t[i + 1] == '-') {
            cut = i;
            break;
        }
    }
    return Trim(t.substr(0, cut));
}

bool IsNumber(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-') ++i;
    if (t.substr(i, 2) == "0x" || t.substr(i, 2) == "0X") {
        i += 2;
        const std::size_t from = i;
        while (i < t.size() && std::isxdigit(static_cast<unsigned char>(t[i]))) ++i;
        return i > from && i == t.size();
    }
    std::size_t digits = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        const std::size_t from = i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
        if (i == from) return false;
    }
    return i == t.size();
}

// A number, a quoted string, true or false.
bool IsLiteral(std::string_view t) {
    if (t == "true" || t == "false") return true;
    if (!t.empty() && (t[0] == '"' || t[0] == '\'')) return QuotedEnd(t, 0) == t.size();
    return IsNumber(t);
}

// Arguments split at the commas outside strings; npos-free: a string that does not close gives
// nothing.
bool SplitArgs(std::string_view t, std::vector<std::string_view>& args) {
    std::size_t from = 0;
    const bool closed = WalkCode(t, [&](std::size_t i) {
        if (t[i] == ',') {
            args.push_back(Trim(t.substr(from, i - from)));
            from = i + 1;
        }
        return true;
    });
    args.push_back(Trim(t.substr(from)));
    return closed;
}

// Statement text keeps the reader's line ends between its lines.
std::string ReaderLineEnds(std::string_view t) {
    std::string out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') continue;
        if (t[i] == '\n') out += "\r\n";
        else out += t[i];
    }
    return out;
}

// Call lines the reader takes into the document's lists (their windows edit them), by the prefix
// it knows them by.
bool HeldCall(std::string_view name) {
    for (const char* prefix : {"loadmo", "loadsha", "startshipw", "spawnsal", "loadshippa", "addability"})
        if (asciicase::StartsWithNoCase(name, prefix)) return true;
    return false;
}

constexpr std::string_view kTable = "NewShipType";
constexpr std::string_view kTableLower = "newshiptype";

}  // namespace

OtherEntries::Parts OtherEntries::Parse(std::string_view text) {
    Parts p;
    const std::size_t start = SkipBlanks(text, 0);
    std::size_t j = start;
    while (j < text.size()) {
        if (IsNameChar(text[j])) {
            ++j;
        } else if (text[j] == '[') {
            // A bracket key: NewShipType["key"].
            std::size_t k = j + 1;
            if (k < text.size() && (text[k] == '"' || text[k] == '\'')) k = QuotedEnd(text, k);
            else while (k < text.size() && text[k] != ']' && text[k] != '\n') ++k;
            if (k == std::string_view::npos || k >= text.size() || text[k] != ']') break;
            j = k + 1;
        } else {
            break;
        }
    }
    const std::string_view name = text.substr(start, j - start);
    const std::size_t k = SkipBlanks(text, j);
    const bool oneLine = Trim(text).find('\n') == std::string_view::npos;
    if (oneLine && !name.empty() && k < text.size() && text[k] == '=' &&
        (k + 1 == text.size() || text[k + 1] != '=')) {
        p.form = Form::Assignment;
        const std::size_t v = SkipBlanks(text, k + 1);
        std::size_t e = text.size();
        while (e > v && (IsBlank(text[e - 1]) || text[e - 1] == '\n')) --e;
        p.before = text.substr(0, v);
        p.value = text.substr(v, e - v);
        p.after = text.substr(e);
        p.entry = name;
        if (asciicase::StartsWithNoCase(name, kTableLower) && name.size() > kTable.size() && name[kTable.size()] == '.')
            p.entry = name.substr(kTable.size() + 1);
        return p;
    }
    if (oneLine && !name.empty() && k < text.size() && text[k] == '(') {
        const std::size_t close = MatchingParen(text, k);
        if (close != std::string_view::npos) {
            p.form = Form::Call;
            p.entry = name;
            std::size_t v = SkipBlanks(text, k + 1);
            // The table the call works on is no value the user edits.
            if (asciicase::StartsWithNoCase(text.substr(v), kTableLower)) {
                std::size_t t = SkipBlanks(text, v + kTable.size());
                if (t < close && text[t] == ',') v = SkipBlanks(text, t + 1);
                else if (t == close) v = t;
            }
            std::size_t e = close;
            while (e > v && IsBlank(text[e - 1])) --e;
            p.before = text.substr(0, v);
            p.value = text.substr(v, e - v);
            p.after = text.substr(e);
            return p;
        }
    }
    p.form = Form::Block;
    std::size_t w = start;
    while (w < text.size() && !IsBlank(text[w]) && text[w] != '\n' && text[w] != '(' && text[w] != '=') ++w;
    p.entry = text.substr(start, w - start);
    p.value = text;
    return p;
}

Result OtherEntries::CheckValue(std::string_view value, Form form) {
    // Until the game's own Lua checks values, literals are what is taken: numbers, quoted strings,
    // true and false. The Lua load check belongs here, in place of these tests.
    switch (form) {
        case Form::Assignment: {
            const std::string_view v = WithoutComment(value);
            if (v.empty()) return Result::Failure("a value is needed");
            if (!IsLiteral(v)) return Result::Failure("'" + std::string(v) + "' is not a number, a quoted text, true or false");
            return {};
        }
        case Form::Call: {
            std::vector<std::string_view> args;
            if (!SplitArgs(value, args)) return Result::Failure("a quoted text does not close");
            if (args.size() == 1 && args[0].empty()) return {};
            for (std::string_view a : args)
                if (!IsLiteral(a))
                    return Result::Failure("'" + std::string(a) + "' is not a number, a quoted text, true or false");
            return {};
        }
        case Form::Block: {
            if (Trim(value).empty()) return Result::Failure("the statement is empty");
            // Brackets of every kind close in order, outside strings and comments.
            std::string open;
            bool matched = true;
            const bool closed = WalkCode(value, [&](std::size_t i) {
                const char c = value[i];
                if (c == '(' || c == '{' || c == '[') open += c;
                if (c == ')' || c == '}' || c == ']') {
                    const char want = c == ')' ? '(' : c == '}' ? '{' : '[';
                    if (open.empty() || open.back() != want) return matched = false;
                    open.pop_back();
                }
                return true;
            });
            if (!closed) return Result::Failure("a quoted text does not close");
            if (!matched || !open.empty()) return Result::Failure("its brackets do not match");
            return {};
        }
    }
    return {};
}

std::vector<OtherEntries::Row> OtherEntries::List(const SR2ShipFile& ship,
                                                  const std::vector<SR2ShipFile::LineOrigin>& origins) {
    std::vector<int> lineOf(ship.unrecognized_.size(), 0);
    for (const auto& o : origins)
        if (o.kind == SR2ShipFile::LineOrigin::Kind::Other && o.target < lineOf.size())
            lineOf[o.target] = static_cast<int>(o.first) + 1;
    std::vector<Row> rows;
    for (std::size_t i = 0; i < ship.unrecognized_.size(); ++i) {
        const auto& k = ship.unrecognized_[i];
        if (k.field >= 0 || k.list >= 0 || !ship.KeptLineHolds(k)) continue;
        Parts p = Parse(k.text);
        rows.push_back({i, lineOf[i], p.form, std::move(p.entry), std::move(p.value), k.text});
    }
    // An ability's earlier call is kept once its later call is read: the rows go by their lines,
    // the statements added since last.
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return (a.line == 0 ? INT_MAX : a.line) < (b.line == 0 ? INT_MAX : b.line);
    });
    return rows;
}

Result OtherEntries::SetValue(SR2ShipFile& ship, std::size_t id, std::string_view value) {
    if (id >= ship.unrecognized_.size()) return Result::Failure("there is no such entry");
    auto& k = ship.unrecognized_[id];
    if (k.field >= 0 || k.list >= 0 || !ship.KeptLineHolds(k)) return Result::Failure("there is no such entry");
    const Parts p = Parse(k.text);
    if (value == p.value) return {};
    if (Result r = CheckValue(value, p.form); !r) return r;
    k.text = ReaderLineEnds(p.form == Form::Block ? std::string(value) : p.before + std::string(value) + p.after);
    return {};
}

Result OtherEntries::Add(SR2ShipFile& ship, std::string_view statement, std::size_t* id) {
    const std::string_view typed = Trim(statement);
    const Parts p = Parse(typed);
    if (typed.empty() || p.form == Form::Block)
        return Result::Failure("type the entry as key = value or as name(arguments)");
    if (Result r = CheckValue(p.value, p.form); !r) return r;
    std::string text;
    if (p.form == Form::Assignment) {
        std::string name(Trim(std::string_view(p.before).substr(0, p.before.find('='))));
        if (name.find('.') == std::string::npos && name.find('[') == std::string::npos)
            name = std::string(kTable) + "." + name;
        const std::string entry = Parse(name + " = 0").entry;
        if (asciicase::StartsWithNoCase(name, "newshiptype.") && scriptformat::FindAssignmentKey(entry))
            return Result::Failure("'" + entry + "' is set in its sheet");
        text = name + " = " + p.value + p.after;
    } else {
        if (HeldCall(p.entry)) return Result::Failure("'" + p.entry + "' lines are edited in their own window");
        // The table goes first whether or not it was typed (Parse leaves it out of the value).
        text = p.entry + "(" + std::string(kTable) + (p.value.empty() ? "" : ", ") + p.value + p.after;
    }
    SR2ShipFile::KeptLine k;
    k.text = ReaderLineEnds(text);
    ship.unrecognized_.push_back(std::move(k));
    if (id) *id = ship.unrecognized_.size() - 1;
    return {};
}

void OtherEntries::Remove(SR2ShipFile& ship, std::size_t id) {
    if (id >= ship.unrecognized_.size()) return;
    auto& k = ship.unrecognized_[id];
    if (k.field < 0 && k.list < 0) k.dropped = true;
}
