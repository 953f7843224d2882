#include "savecheck.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

namespace gamelua {

namespace {

constexpr std::string_view kShipFirstLine = "NewShipType = StartShipConfig()";

// An entry's meaning as comparable text, and how it reads in a message.
// Two calls the game reads alike: the same function, with arguments of the same Lua form.
bool SameCall(const Call* a, const Call* b) {
    if (a->name != b->name || a->args.size() != b->args.size()) return false;
    for (std::size_t i = 0; i < a->args.size(); ++i)
        if (a->args[i].text != b->args[i].text) return false;
    return true;
}

struct Entry {
    std::string meaning;                // key entries: the value's text
    std::vector<const Call*> calls;     // call entries: the reading's calls, in order
    const Value* value = nullptr;       // key entries
    const Call* firstCall = nullptr;

    // (A call entry's meaning is its calls, compared where they stand in the reading rather than
    // as one more copy of every call's text: a script may make very many.)
    bool SameMeaning(const Entry& other) const {
        return meaning == other.meaning &&
               std::equal(calls.begin(), calls.end(), other.calls.begin(), other.calls.end(), SameCall);
    }
};

struct Entries {
    std::vector<std::string> order;  // keys sorted, then call entries by their first call
    std::map<std::string, Entry> byName;
};

std::string CallEntry(const Call& c) {
    if (c.name == "LoadModel" || c.name == "LoadSharedModel") return "the model";
    if (c.name == "addAbility" && c.args.size() > 1 && c.args[1].kind == Value::String)
        return "addAbility " + c.args[1].text;
    return c.name;
}

Entries EntriesOf(const Reading& r) {
    Entries e;
    for (const auto& [key, value] : r.keys) {
        e.order.push_back(key);
        Entry& entry = e.byName[key];
        entry.meaning = value.text;
        entry.value = &value;
    }
    for (const Call& c : r.calls) {
        const std::string name = CallEntry(c);
        auto [it, fresh] = e.byName.try_emplace(name);
        if (fresh) {
            e.order.push_back(name);
            it->second.firstCall = &c;
        }
        it->second.calls.push_back(&c);
    }
    return e;
}

// What the writer adds to a script that lacked the entry, on purpose.
bool WriterAddition(const std::string& name, const Entry& added) {
    if (added.value) return true;  // every known property is written, with its default
    if (!added.firstCall) return false;
    const Call& c = *added.firstCall;
    if (name.rfind("addAbility ", 0) == 0)  // the ability written disabled
        return added.calls.size() == 1 && c.args.size() > 2 && c.args[2].kind == Value::Number &&
               c.args[2].number == 0;
    if (name == "loadShipPatchList") return added.calls.size() == 1 && c.args.size() <= 2;
    if (name == "the model") return true;
    return false;
}

std::string Describe(const std::string& name, const Entry* before, const Entry* after) {
    if (after && after->value) {
        if (!before) return name + " would be set to " + after->value->text;
        return name + " would be " + after->value->text + " instead of " + before->value->text;
    }
    if (before && before->value) return name + " would no longer be set (it is " + before->value->text + ")";
    const std::vector<const Call*> none;
    const auto& a = before ? before->calls : none;
    const auto& b = after ? after->calls : none;
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && SameCall(a[i], b[i])) ++i;
    if (i < a.size() && i < b.size()) return CallText(*a[i]) + " would become " + CallText(*b[i]);
    if (i < a.size()) return CallText(*a[i]) + " would be dropped";
    return CallText(*b[i]) + " would be added";
}

std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

void Insert(std::set<std::string>& edited, const Entries& e) {
    for (const auto& [name, entry] : e.byName) edited.insert(name);
}

// The entries the edit touched: the writer writes one statement per line, so the lines in which
// the two canonical scripts differ, run on their own, name them. Only when that cannot be told
// (lines that only moved, or lines that do not run alone) are both whole scripts read.
// Nothing when neither way tells.
std::optional<std::set<std::string>> EditedEntries(std::string_view before, std::string_view after,
                                                   const Limits& limits) {
    std::set<std::string> edited;
    if (before == after) return edited;
    // How often each line stands in before, less how often in after.
    std::unordered_map<std::string_view, int> count;
    const auto a = LinesOf(before), b = LinesOf(after);
    count.reserve(a.size() + 8);
    for (auto l : a) ++count[l];
    for (auto l : b) --count[l];
    std::string changed(kShipFirstLine);
    changed += '\n';
    bool any = false;
    for (const auto& [line, n] : count)
        for (int i = 0; i < (n < 0 ? -n : n); ++i) {
            changed.append(line).append("\n");
            any = true;
        }
    if (any) {
        const Reading lines = Read(changed, limits);
        if (lines.load.loads && lines.finished) {
            Insert(edited, EntriesOf(lines));
            return edited;
        }
    }
    const Reading cb = Read(before, limits), ca = Read(after, limits);
    if (!cb.load.loads || !ca.load.loads) return std::nullopt;
    const Entries eb = EntriesOf(cb), ea = EntriesOf(ca);
    for (const auto& [name, entry] : eb.byName)
        if (auto it = ea.byName.find(name); it == ea.byName.end() || !it->second.SameMeaning(entry))
            edited.insert(name);
    for (const auto& [name, entry] : ea.byName)
        if (!eb.byName.count(name)) edited.insert(name);
    return edited;
}

}  // namespace

std::string FirstChange(const SaveScripts& s, const Limits& limits) {
    if (!Available() || s.before == s.after) return {};
    const Reading before = Read(s.before, limits);
    // A script that does not load, or stops before its end, has no whole meaning to keep: what
    // it configured depends on where the game stops it. Saved as before.
    if (!before.load.loads || !before.finished) return {};
    const Reading after = Read(s.after, limits);
    const std::string head = "it would change what the game reads: ";
    if (!after.load.loads)
        return head + "the script would no longer load (line " + std::to_string(after.load.line) +
               ": " + after.load.message + ")";
    if (!after.finished)
        return head + "the script would stop at line " + std::to_string(after.errorLine) + " (" +
               after.error + ")";

    // Without the writer's readings the edit cannot be told from a change: saved as before.
    const auto found = EditedEntries(s.canonicalBefore, s.canonicalAfter, limits);
    if (!found) return {};
    const std::set<std::string>& edited = *found;

    const Entries eb = EntriesOf(before), ea = EntriesOf(after);
    std::vector<std::string> order = eb.order;
    for (const auto& name : ea.order)
        if (!eb.byName.count(name)) order.push_back(name);
    for (const auto& name : order) {
        if (edited.count(name)) continue;
        const auto ib = eb.byName.find(name), ia = ea.byName.find(name);
        const Entry* b = ib == eb.byName.end() ? nullptr : &ib->second;
        const Entry* a = ia == ea.byName.end() ? nullptr : &ia->second;
        if (b && a && b->SameMeaning(*a)) continue;
        if (!b && WriterAddition(name, *a)) continue;
        if (name == "the model" && b && b->calls.size() && a &&
            b->firstCall->name == "LoadModel")  // the model-loading line becomes LoadSharedModel
            continue;
        return head + Describe(name, b, a);
    }
    return {};
}

}  // namespace gamelua
