#include "gamevalues.h"

#include <unordered_map>

#include "asciicase.h"
#include "gamelua.h"
#include "scriptformat.h"
#include "shipdocument.h"

namespace {

// The key of each field that one assignment key sets, by field name.
const std::unordered_map<std::string_view, std::string_view>& KeyOfField() {
    static const std::unordered_map<std::string_view, std::string_view> keys = [] {
        std::unordered_map<std::string_view, std::string_view> k;
        for (const auto& key : scriptformat::AssignmentKeys())
            if (key.kind == scriptformat::KeyKind::Field) k.emplace(key.field, key.key);
        return k;
    }();
    return keys;
}

constexpr std::string_view kSharedModel = "sLoadSharedModel";

// The text before a "--" comment outside quoted strings, blanks and a closing semicolon trimmed.
std::string_view CodeOf(std::string_view t) {
    char quote = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (quote) {
            if (t[i] == '\\') ++i;
            else if (t[i] == quote) quote = 0;
        } else if (t[i] == '"' || t[i] == '\'') {
            quote = t[i];
        } else if (t[i] == '-' && i + 1 < t.size() && t[i + 1] == '-') {
            t = t.substr(0, i);
            break;
        }
    }
    // A statement may end in a semicolon.
    const std::size_t a = t.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos) return {};
    t = t.substr(a, t.find_last_not_of(" \t\r\n") - a + 1);
    if (!t.empty() && t.back() == ';') t = t.substr(0, t.find_last_not_of(" \t;") + 1);
    return t;
}

}  // namespace

GameValues::GameValues(const ShipDocument& document) {
    // Without Lua the script is not even put together.
    if (gamelua::Available()) Run(document.SaveBytes());
}

GameValues::GameValues(std::string_view script) {
    if (gamelua::Available()) Run(script);
}

void GameValues::Run(std::string_view script) {
    const gamelua::Reading reading = gamelua::Read(script);
    if (!reading.load.loads || !reading.finished) return;
    known_ = true;
    for (const auto& [key, value] : reading.keys) keys_.emplace(key, value.text);
    calls_.reserve(reading.calls.size());
    for (const gamelua::Call& c : reading.calls) {
        std::string args;
        const std::size_t from = !c.args.empty() && c.args[0].kind == gamelua::Value::Ship ? 1 : 0;
        for (std::size_t i = from; i < c.args.size(); ++i) args += (i > from ? ", " : "") + c.args[i].text;
        calls_.emplace_back(c.name, std::move(args));
    }
}

bool GameValues::TellsMore(std::string_view written, std::string_view game) { return CodeOf(written) != game; }

std::optional<std::string> GameValues::OfKey(std::string_view key) const {
    if (auto it = keys_.find(key); it != keys_.end()) return it->second;
    // The reader takes an entry's name in any case; so does the lookup, when no key matches exactly.
    for (const auto& [k, v] : keys_)
        if (asciicase::EqualNoCase(k, key)) return v;
    return std::nullopt;
}

std::optional<std::string> GameValues::OfField(std::string_view field) const {
    if (!known_) return std::nullopt;
    if (field == kSharedModel) {
        for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
            if (it->first == "LoadSharedModel") return it->second;
        return std::nullopt;
    }
    const auto& keys = KeyOfField();
    const auto it = keys.find(field);
    if (it == keys.end()) return std::nullopt;
    return OfKey(it->second);
}

std::vector<std::optional<std::string>> GameValues::OfRows(const std::vector<OtherEntries::Row>& rows) const {
    std::vector<std::optional<std::string>> values(rows.size());
    if (!known_) return values;
    // A call row is matched to the game's call only when the rows hold every call of that function.
    std::unordered_map<std::string_view, std::vector<const std::string*>> callsOf;
    for (const auto& [name, args] : calls_) callsOf[name].push_back(&args);
    std::unordered_map<std::string_view, std::size_t> rowsOf, seen;
    for (const auto& r : rows)
        if (r.field == OtherEntries::kNoField && r.form == OtherEntries::Form::Call) ++rowsOf[r.entry];

    constexpr std::string_view kTable = "NewShipType.";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const OtherEntries::Row& r = rows[i];
        if (r.field != OtherEntries::kNoField) {
            values[i] = OfField(SR2ShipFile::Fields()[r.field].name);
            continue;
        }
        if (r.form == OtherEntries::Form::Assignment) {
            // Only keys of the ship table, spelt as the game spells them.
            const std::size_t start = r.text.find_first_not_of(" \t");
            if (start == std::string::npos || r.text.compare(start, kTable.size(), kTable) != 0) continue;
            if (auto it = keys_.find(r.entry); it != keys_.end()) values[i] = it->second;
        } else if (r.form == OtherEntries::Form::Call) {
            const std::size_t nth = seen[r.entry]++;
            const auto it = callsOf.find(r.entry);
            if (it != callsOf.end() && it->second.size() == rowsOf[r.entry]) values[i] = *it->second[nth];
        }
    }
    return values;
}
