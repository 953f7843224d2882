#include "otherentries.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "asciicase.h"
#include "scriptformat.h"
#include "shipwriter.h"

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

// Known entries' rows take ids above every kept statement's position: the top bit, and the field.
constexpr std::size_t kFieldIds = ~(static_cast<std::size_t>(-1) >> 1);

std::size_t FieldIndex(const char* name) { return SR2ShipFile::FindField(name)->index; }

std::size_t SharedModelField() {
    static const std::size_t f = FieldIndex("sLoadSharedModel");
    return f;
}

// A known entry's name as the writer writes it: "paradeData", "LoadSharedModel".
std::string EntryName(std::size_t field) {
    if (field == SharedModelField()) return "LoadSharedModel";
    std::string key = ShipWriter::KeyOf(field);
    key.erase(0, kTable.size() + 1);
    return key.substr(0, key.find(' '));
}

// Whether the canonical writer writes a line for the field of a document never read: always for
// the model and the properties it always writes, else when the field holds more than nothing.
bool WrittenWithoutFile(const SR2ShipFile& ship, std::size_t field) {
    using scriptformat::Row;
    const std::string_view name = SR2ShipFile::Fields()[field].name;
    for (const auto& section : scriptformat::Sections())
        for (const Row& row : section.rows) {
            if (row.field != name) continue;
            if (row.kind == Row::Property || row.kind == Row::SharedModel) return true;
            return std::visit([](const auto& x) { return !(x == std::decay_t<decltype(x)>{}); },
                              ship.GetField(name));
        }
    return false;
}

// Puts a typed value into a known entry's field: a quoted text for a text field, a number of the
// field's type for a number field. Nothing is stored when the value is refused.
Result SetKnownField(SR2ShipFile& ship, std::size_t field, std::string_view typed) {
    const std::string_view value = Trim(typed);
    const SR2ShipFile::FieldInfo& info = SR2ShipFile::Fields()[field];
    if (info.type == FieldType::String) {
        // The writer writes the text between double quotes, without escapes: what it cannot
        // write back as read is not taken.
        const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
        const std::string_view inner = quoted ? value.substr(1, value.size() - 2) : value;
        if (!quoted || inner.find_first_of("\"\'\\\n") != std::string_view::npos)
            return Result::Failure("'" + std::string(value) +
                                   "' is not a quoted text (without quotes or backslashes in it)");
        ship.SetFieldText(info.name, inner);
        return {};
    }
    if (Result set = ship.SetFieldText(info.name, value); !set)
        return Result::Failure("'" + std::string(value) + "' " + (set.reason.empty() ? "is not a number" : set.reason));
    return {};
}

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

const std::vector<std::size_t>& OtherEntries::HeldFields() {
    // The entries of the key table (and the model's call) that no sheet or editor has a box for.
    static const std::vector<std::size_t> fields = [] {
        std::vector<std::size_t> f;
        for (const char* name : {"sLoadSharedModel", "sParadeData", "sUnitCapsShipType", "iUseTargetRandom",
                                 "fTargetRandomPointXMin", "fTargetRandomPointXMax", "fTargetRandomPointYMin",
                                 "fTargetRandomPointYMax", "fTargetRandomPointZMin", "fTargetRandomPointZMax",
                                 "iSMHighlightDistMin", "iSMHighlightDistMax", "iBattleScarMaxTriBase",
                                 "iBattleScarMaxTriInc", "iDontDockWithOtherRaceShips", "sControllerType"})
            f.push_back(FieldIndex(name));
        return f;
    }();
    return fields;
}

bool OtherEntries::HoldsField(std::size_t field) {
    const auto& held = HeldFields();
    return std::find(held.begin(), held.end(), field) != held.end();
}

std::vector<OtherEntries::Row> OtherEntries::List(const SR2ShipFile& ship,
                                                  const std::vector<SR2ShipFile::LineOrigin>& origins) {
    using Kind = SR2ShipFile::LineOrigin::Kind;
    const std::size_t fieldCount = SR2ShipFile::Fields().size();
    std::vector<int> lineOf(ship.unrecognized_.size(), 0);
    // A known entry's row is on the last line that sets it: the one the game keeps.
    std::vector<int> fieldLine(fieldCount, 0);
    for (const auto& o : origins) {
        if (o.kind == Kind::Other && o.target < lineOf.size()) lineOf[o.target] = static_cast<int>(o.first) + 1;
        if ((o.kind == Kind::Assignment || o.kind == Kind::SharedModel) && o.target < fieldCount)
            fieldLine[o.target] = static_cast<int>(o.first) + 1;
    }
    std::vector<Row> rows;
    for (std::size_t i = 0; i < ship.unrecognized_.size(); ++i) {
        const auto& k = ship.unrecognized_[i];
        if (!ship.OtherStatementHolds(k)) continue;
        Parts p = Parse(k.text);
        rows.push_back({i, lineOf[i], p.form, std::move(p.entry), std::move(p.value), k.text});
    }

    for (std::size_t f : HeldFields()) {
        const bool listed = fieldLine[f] > 0 || (f < ship.assigned_.size() && ship.assigned_[f]) ||
                            (origins.empty() && WrittenWithoutFile(ship, f));
        if (!listed) continue;
        rows.push_back(KnownRow(ship, f, fieldLine[f]));
    }
    // File order (an ability's earlier call, kept once its later call is read, included); what has
    // no line yet (added since the file was read) last.
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return (a.line > 0 ? a.line : INT_MAX) < (b.line > 0 ? b.line : INT_MAX);
    });
    return rows;
}

OtherEntries::Row OtherEntries::KnownRow(const SR2ShipFile& ship, std::size_t field, int line) {
    Row r;
    r.id = kFieldIds | field;
    r.line = line;
    r.field = field;
    r.form = field == SharedModelField() ? Form::Call : Form::Assignment;
    r.entry = EntryName(field);
    // As written while its line is kept as written, else in the writer's form.
    const SR2ShipFile::KeptLine* kept = nullptr;
    for (const auto* list : {&ship.inPlace_, &ship.unrecognized_})
        for (const auto& k : *list)
            if (k.field == static_cast<int>(field) && ship.KeptLineHolds(k)) kept = &k;
    r.text = kept ? kept->text : ShipWriter::FieldLine(ship, field);
    // A line over several lines shows the value the document holds; an edit rewrites the line.
    const Parts p = Parse(r.text);
    r.value = p.form == Form::Block ? ShipWriter::Form(ship.GetField(SR2ShipFile::Fields()[field].name)) : p.value;
    return r;
}

Result OtherEntries::SetValue(SR2ShipFile& ship, std::size_t id, std::string_view value) {
    if (id & kFieldIds) {
        const std::size_t f = id & ~kFieldIds;
        if (!HoldsField(f)) return Result::Failure("there is no such entry");
        // The value as it stands keeps a line kept as written.
        if (value == KnownRow(ship, f, 0).value) return {};
        return SetKnownField(ship, f, value);
    }
    if (id >= ship.unrecognized_.size()) return Result::Failure("there is no such entry");
    const auto& k = ship.unrecognized_[id];
    if (!ship.OtherStatementHolds(k)) return Result::Failure("there is no such entry");
    const Parts p = Parse(k.text);
    if (value == p.value) return {};
    if (Result r = CheckValue(value, p.form); !r) return r;
    ship.unrecognized_.Edit()[id].text = ReaderLineEnds(p.form == Form::Block ? std::string(value) : p.before + std::string(value) + p.after);
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
        const auto* key =
            asciicase::StartsWithNoCase(name, "newshiptype.") ? scriptformat::FindAssignmentKey(entry) : nullptr;
        if (key) {
            const auto* field =
                key->kind == scriptformat::KeyKind::Field ? SR2ShipFile::FindField(key->field) : nullptr;
            if (!field || !HoldsField(field->index)) return Result::Failure("'" + entry + "' is set in its sheet");
            return AddKnown(ship, field->index, p.value, id);
        }
        text = name + " = " + p.value + p.after;
    } else {
        if (asciicase::EqualNoCase(p.entry, "LoadSharedModel")) return AddKnown(ship, SharedModelField(), p.value, id);
        if (HeldCall(p.entry)) return Result::Failure("'" + p.entry + "' lines are edited in their own window");
        // The table goes first whether or not it was typed (Parse leaves it out of the value).
        text = p.entry + "(" + std::string(kTable) + (p.value.empty() ? "" : ", ") + p.value + p.after;
    }
    SR2ShipFile::KeptLine k;
    k.text = ReaderLineEnds(text);
    ship.unrecognized_.Edit().push_back(std::move(k));
    if (id) *id = ship.unrecognized_.size() - 1;
    return {};
}

Result OtherEntries::AddKnown(SR2ShipFile& ship, std::size_t field, std::string_view value, std::size_t* id) {
    // A known entry is one row, with or without a line yet: adding it sets its value.
    if (Result r = SetKnownField(ship, field, value); !r) return r;
    if (field < ship.assigned_.size()) ship.assigned_[field] = true;
    if (id) *id = kFieldIds | field;
    return {};
}

void OtherEntries::Remove(SR2ShipFile& ship, std::size_t id) {
    // A known entry's line stays: the sheets cannot remove an entry's line either.
    if (id >= ship.unrecognized_.size()) return;
    if (const auto& k = ship.unrecognized_[id]; k.field < 0 && k.list < 0) ship.unrecognized_.Edit()[id].dropped = true;
}
