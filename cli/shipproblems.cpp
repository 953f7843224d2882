#include "shipproblems.h"

#include <algorithm>

#include "findings.h"
#include "gamelua.h"
#include "statements.h"
#include "unknownnames.h"

using scriptformat::NameKind;

namespace {

// The record of the statement that holds line (from 1), if any.
std::optional<SR2ShipFile::LineOrigin> OriginOf(const std::vector<SR2ShipFile::LineOrigin>& origins, int line) {
    const auto at = static_cast<std::size_t>(line - 1);
    auto it = std::upper_bound(origins.begin(), origins.end(), at,
                               [](std::size_t l, const SR2ShipFile::LineOrigin& o) { return l < o.first; });
    if (it == origins.begin()) return std::nullopt;
    --it;
    if (at > it->last) return std::nullopt;
    return *it;
}

std::string Stripped(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
}

// Renames the list item whose name is `from`, preferring the item at `index`.
template <class List>
bool RenameItem(List& list, std::size_t index, const std::string& from, const std::string& to) {
    auto named = [&](std::size_t i) { return i < list.size() && list[i].values.name == from; };
    if (!named(index)) {
        index = list.size();
        for (std::size_t i = 0; i < list.size() && index == list.size(); ++i)
            if (named(i)) index = i;
    }
    if (index >= list.size()) return false;
    list[index].values.name = to;
    return true;
}

}  // namespace

std::vector<ShipProblem> FindProblems(const ShipDocument& doc, const gamedata::GameData* data) {
    // The script as a save would write it now, read as Open reads it: the edits made since the
    // last save count, and the line numbers are those of the file the save writes.
    const std::string bytes = doc.SaveBytes();
    SR2ShipFile now;
    now.SetWriteLogs(false);
    now.ReadScriptText(doc.HasFile() ? doc.FilePath() : std::string("New.ship"), bytes);
    const std::vector<std::string_view> lines = statements::Lines(bytes);
    const auto& origins = now.LineOrigins();

    std::vector<ShipProblem> problems;
    auto place = [&](ShipProblem& p) {
        if (p.line >= 1 && static_cast<std::size_t>(p.line) <= lines.size())
            p.statement = lines[static_cast<std::size_t>(p.line - 1)];
        p.origin = OriginOf(origins, p.line);
        if (p.origin && (p.origin->kind == SR2ShipFile::LineOrigin::Kind::Assignment ||
                         p.origin->kind == SR2ShipFile::LineOrigin::Kind::SharedModel))
            p.field = SR2ShipFile::Fields()[p.origin->target].name;
    };
    if (gamelua::Available()) {
        // The game's Lua judges: a script it does not load is one problem, at Lua's line and with
        // its message. Lines the editor keeps as written in a script that loads are no problem:
        // Other Entries and the sheets show them, with the game's value.
        // A byte-order mark, which Lua 5.1 does not load, is a problem of its own; the rest of
        // the script is judged without it.
        std::string_view script = bytes;
        if (now.HasByteOrderMark()) {
            script.remove_prefix(scriptformat::kByteOrderMark.size());
            ShipProblem p;
            p.kind = ShipProblem::Kind::Unreadable;
            p.line = 1;
            p.message = kByteOrderMarkProblem;
            place(p);
            problems.push_back(std::move(p));
        }
        const gamelua::LoadCheck load = gamelua::CheckLoad(script);
        if (!load.loads) {
            ShipProblem p;
            p.kind = ShipProblem::Kind::Unreadable;
            p.line = std::max(1, load.line);
            p.message = load.message;
            place(p);
            problems.push_back(std::move(p));
        }
    } else {
        // Without Lua nothing can vouch for the lines the reader could not take apart.
        for (const auto& e : now.ErrorLines()) {
            ShipProblem p;
            p.kind = ShipProblem::Kind::Unreadable;
            p.line = e.line;
            p.message = "could not read: " + e.text;
            place(p);
            problems.push_back(std::move(p));
        }
    }
    if (data) {
        std::vector<UnknownName> unknown;
        NameChecker(*data).Check(now, unknown);
        for (auto& u : unknown) {
            ShipProblem p;
            p.kind = ShipProblem::Kind::UnknownName;
            p.line = u.line;
            p.message = std::string("unknown ") + NameKindWord(u.kind) + " '" + u.name + "'";
            if (u.suggestion) p.message += " (did you mean '" + *u.suggestion + "'?)";
            p.nameKind = u.kind;
            p.name = std::move(u.name);
            p.suggestion = std::move(u.suggestion);
            place(p);
            problems.push_back(std::move(p));
        }
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const ShipProblem& a, const ShipProblem& b) { return a.line < b.line; });
    return problems;
}

ShipProblem FileProblem(const std::string& fileName, const std::string& why) {
    ShipProblem p;
    p.kind = ShipProblem::Kind::File;
    p.message = "'" + fileName + "' could not be read: " + why;
    return p;
}

Result ApplySuggestion(SR2ShipFile& ship, const ShipProblem& problem) {
    if (problem.kind != ShipProblem::Kind::UnknownName || !problem.suggestion)
        return Result::Failure("there is no suggestion to apply");
    const std::string& from = problem.name;
    const std::string& to = *problem.suggestion;
    const std::size_t index = problem.origin ? problem.origin->target : 0;
    bool done = false;
    switch (problem.nameKind) {
        case NameKind::Weapon: {
            auto list = ship.SSWC_GetList();
            if ((done = RenameItem(list, index, from, to))) ship.SSWC_SetList(std::move(list));
            break;
        }
        case NameKind::SalvageChunk: {
            auto list = ship.SSOD_GetList();
            if ((done = RenameItem(list, index, from, to))) ship.SSOD_SetList(std::move(list));
            break;
        }
        case NameKind::Formation:
        case NameKind::Family:
            if (!problem.field.empty() && ship.GetFieldText(problem.field) == from)
                done = ship.SetFieldText(problem.field, to).ok;
            break;
        case NameKind::Maneuver: {
            // Each mirror list is one line; the unknown entry is renamed wherever it stands.
            const bool above = problem.field == "MAM_Num";
            if (!above && problem.field != "MBM_Num") break;
            std::vector<std::string> names;
            const std::int32_t num = above ? ship.MAM_Num : ship.MBM_Num;
            for (std::int32_t i = 0; i <= num; ++i) {
                std::string n = above ? ship.MAM_GetValue(static_cast<std::int16_t>(i))
                                      : ship.MBM_GetValue(static_cast<std::int16_t>(i));
                if (Stripped(n) == from) {
                    n = to;
                    done = true;
                }
                names.push_back(std::move(n));
            }
            if (!done) break;
            if (above) ship.MAM_Reset();
            else ship.MBM_Reset();
            for (const auto& n : names) above ? ship.MAM_AddValue(n) : ship.MBM_AddValue(n);
            break;
        }
    }
    if (!done) return Result::Failure("'" + from + "' is no longer in the script");
    return {};
}
