#include "shiplayout.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "asciicase.h"
#include "scriptformat.h"
#include "shipwriter.h"
#include "statements.h"

using Kind = SR2ShipFile::LineOrigin::Kind;

namespace {

// The fields the writer writes a line for, in field-table order. The mirror lists are among
// them through their _Num fields.
const std::vector<std::size_t>& WrittenFields() {
    static const std::vector<std::size_t> fields = [] {
        std::vector<std::size_t> f;
        for (const auto& info : SR2ShipFile::Fields())
            if (ShipWriter::KeyOf(info.index)) f.push_back(info.index);
        return f;
    }();
    return fields;
}

std::size_t FieldIndex(const char* name) { return SR2ShipFile::FindField(name)->index; }

// Lines cut for the alignment of two lists: beyond this many cells of the longest-common-
// subsequence table the changed middle is paired item by item instead.
constexpr std::size_t kAlignCells = 4'000'000;

// A statement's text with each of its line ends the file's own: a kept statement of several lines
// holds them as CR LF, and a user's text may hold either.
std::string WithLineEnds(std::string_view text, std::string_view eol) {
    std::string out;
    out.reserve(text.size() + eol.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n') out += eol;
        else out += text[i];
    }
    return out + std::string(eol);
}

// How many lines a text put into the file takes: each line end ends one, and a last line without
// one is a line too.
std::size_t LinesIn(std::string_view text) {
    const auto ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return ends + (text.empty() || text.back() != '\n' ? 1 : 0);
}

// How the new list's item j gets its line: the old item whose line it keeps or rewrites, or none.
struct ItemMatch {
    std::optional<std::size_t> old;
    bool same = false;  // the old item is equal: its line stays as it is
};

// Aligns two lists so that equal items in the same order keep their lines: the common start and
// end first, then a longest common subsequence of the middle; items left over between two kept
// ones are paired in order (a changed item), the rest removed or inserted.
template <class V>
std::vector<ItemMatch> Align(const std::vector<V>& a, const std::vector<V>& b) {
    std::vector<ItemMatch> match(b.size());
    std::size_t pre = 0;
    while (pre < a.size() && pre < b.size() && a[pre] == b[pre]) ++pre;
    std::size_t suf = 0;
    while (suf < a.size() - pre && suf < b.size() - pre &&
           a[a.size() - 1 - suf] == b[b.size() - 1 - suf])
        ++suf;
    for (std::size_t i = 0; i < pre; ++i) match[i] = {i, true};
    for (std::size_t i = 0; i < suf; ++i) match[b.size() - 1 - i] = {a.size() - 1 - i, true};

    const std::size_t n = a.size() - pre - suf, m = b.size() - pre - suf;
    // Pairs (old, new) of the middle that stay, in order.
    std::vector<std::pair<std::size_t, std::size_t>> kept;
    if (n > 0 && m > 0 && (n + 1) * (m + 1) <= kAlignCells) {
        std::vector<std::uint32_t> t((n + 1) * (m + 1), 0);
        auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return t[i * (m + 1) + j]; };
        for (std::size_t i = n; i-- > 0;)
            for (std::size_t j = m; j-- > 0;)
                at(i, j) = a[pre + i] == b[pre + j] ? at(i + 1, j + 1) + 1
                                                    : std::max(at(i + 1, j), at(i, j + 1));
        for (std::size_t i = 0, j = 0; i < n && j < m;) {
            if (a[pre + i] == b[pre + j]) {
                kept.emplace_back(pre + i, pre + j);
                ++i, ++j;
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
    }
    kept.emplace_back(a.size() - suf, b.size() - suf);  // the common end closes the last gap
    std::size_t ai = pre, bj = pre;
    for (const auto& [ka, kb] : kept) {
        // The gap before this kept pair: changed items pair up in order.
        for (; ai < ka && bj < kb; ++ai, ++bj) match[bj] = {ai, false};
        ai = ka;
        bj = kb;
        if (kb < b.size() - suf) match[kb] = {ka, true};
        ++ai, ++bj;
    }
    return match;
}

class Planner {
public:
    Planner(const ShipLayout::Lines& lines, const std::vector<ShipLayout::Origin>& origins, bool bom)
        : lines_(lines), origins_(origins), removed_(lines.size(), false), dropped_(origins.size(), false),
          bom_(bom) {}

    // The last line of the last statement of a kind (and target, when given), or none.
    std::optional<std::size_t> LastOrigin(Kind kind, std::optional<std::size_t> target = {}) const {
        for (std::size_t i = origins_.size(); i-- > 0;)
            if (origins_[i].kind == kind && (!target || origins_[i].target == *target)) return i;
        return std::nullopt;
    }
    const ShipLayout::Origin& OriginAt(std::size_t i) const { return origins_[i]; }

    // The statement of each of `count` list items of a kind, by item index, in one pass.
    std::vector<std::optional<std::size_t>> ItemOrigins(Kind kind, std::size_t count) const {
        std::vector<std::optional<std::size_t>> of(count);
        for (std::size_t i = 0; i < origins_.size(); ++i)
            if (origins_[i].kind == kind && origins_[i].target < count) of[origins_[i].target] = i;
        return of;
    }

    // Where a new statement goes when no line of its kind exists: after the StartShipConfig line,
    // else at the end of the file.
    std::ptrdiff_t AfterKind(Kind kind) const {
        // An ability the editor does not know is kept as written, yet it is an addAbility line:
        // a new ability goes after it too.
        for (std::size_t i = origins_.size(); i-- > 0;)
            if (origins_[i].kind == kind ||
                (kind == Kind::Ability && origins_[i].kind == Kind::Other &&
                 asciicase::StartsWithNoCase(lines_[origins_[i].first], "addability")))
                return static_cast<std::ptrdiff_t>(origins_[i].last);
        if (auto o = LastOrigin(Kind::StartShipConfig))
            return static_cast<std::ptrdiff_t>(origins_[*o].last);
        // A block that never closes runs to the end of the file: a line after it would be in it.
        if (!origins_.empty()) {
            const auto& o = origins_.back();
            if (o.kind == Kind::Other && o.last + 1 == lines_.size() && FirstStatement(o.first, o.last).toEnd)
                return static_cast<std::ptrdiff_t>(o.first) - 1;
        }
        return static_cast<std::ptrdiff_t>(lines_.size()) - 1;
    }

    // A statement's code as it stands on its line (Code) and what stays round it when the code is
    // rewritten: the blanks before it, a ";" that ends it and a comment after it.
    std::string_view Code(std::size_t line) const {
        const std::string_view l = WithoutEnd(line);
        const statements::Span span = statements::CodeSpan(l);
        return l.substr(span.begin, span.end - span.begin);
    }

    // The first statement of the lines [first, last], split as the reader splits them: a block
    // depends on its own lines alone.
    statements::Statement FirstStatement(std::size_t first, std::size_t last) const {
        std::vector<std::string_view> texts;
        for (std::size_t l = first; l <= last && l < lines_.size(); ++l) texts.push_back(WithoutEnd(l));
        statements::Statement st;
        if (!texts.empty()) statements::Splitter(texts).Next(st);
        return st;
    }
    // Whether the statement of a record is a block.
    bool IsBlock(std::size_t origin) const {
        return FirstStatement(origins_[origin].first, origins_[origin].last).block;
    }

    void Replace(std::size_t origin, std::string text, std::size_t newTarget) {
        const auto& o = origins_[origin];
        if (o.first == o.last) {
            const std::string_view l = WithoutEnd(o.first);
            const statements::Span span = statements::CodeSpan(l);
            text = std::string(l.substr(0, span.begin)) + text + std::string(l.substr(span.end));
        }
        replacement_[o.first] = std::move(text);
        for (std::size_t l = o.first + 1; l <= o.last; ++l) removed_[l] = true;
        retarget_[origin] = newTarget;
        collapsed_.push_back(origin);
    }
    void Retarget(std::size_t origin, std::size_t newTarget) { retarget_[origin] = newTarget; }
    void Remove(std::size_t origin) {
        const auto& o = origins_[origin];
        std::size_t from = o.first;
        // A statement before it that never closed (the reader ended it where this one began)
        // would run on into the lines after it: a comment line takes this one's place and ends it.
        std::size_t before = o.first;
        while (before > 0 && removed_[before - 1] && !Replaced(before - 1)) --before;
        if (before > 0 && !Replaced(before - 1) && EndsOpenStatement(before - 1)) {
            replacement_[o.first] = "--";
            ++from;
        }
        for (std::size_t l = from; l <= o.last; ++l) removed_[l] = true;
        // A statement kept as read can have two records over the same lines (an ability's second
        // call and its Other Entries row): both go with its lines.
        for (std::size_t i = 0; i < origins_.size(); ++i)
            if (origins_[i].first == o.first && origins_[i].last == o.last) dropped_[i] = true;
    }
    // Inserts a statement after line `after` (-1: before the first line). Statements inserted
    // after the same line keep the order in which they were inserted.
    void Insert(std::ptrdiff_t after, std::string text, Kind kind, std::size_t target) {
        inserts_.push_back({after, std::move(text), {kind, 0, 0, target}});
    }

    ShipLayout::Output Emit() const {
        // New and rewritten lines end as the file's first line does: CR LF, LF or a CR alone.
        std::string eol = "\r\n";
        if (!lines_.empty() && !lines_[0].empty()) {
            const std::string_view l = lines_[0];
            if (l.back() == '\r') eol = "\r";
            else if (l.back() == '\n') eol = l.size() >= 2 && l[l.size() - 2] == '\r' ? "\r\n" : "\n";
        }

        std::vector<const Inserted*> order;
        for (const auto& ins : inserts_) order.push_back(&ins);
        std::stable_sort(order.begin(), order.end(),
                         [](const Inserted* x, const Inserted* y) { return x->after < y->after; });

        ShipLayout::Output out;
        out.origins.reserve(origins_.size() + inserts_.size());
        const std::size_t reserve = lines_.Bytes().size();
        out.bytes.reserve(reserve + reserve / 16);
        // The byte-order mark the file began with stays before its first line, whatever that is.
        if (bom_) out.bytes = scriptformat::kByteOrderMark;
        const std::size_t start = out.bytes.size();
        // Where each line went (a script has at most 100,000 lines): by line, so four bytes.
        constexpr std::uint32_t kGone = static_cast<std::uint32_t>(-1);
        std::vector<std::uint32_t> newIndex(lines_.size(), kGone);
        std::size_t count = 0;
        auto put = [&](std::string_view text) {
            // A line added after a last line without its line end first gives it one.
            if (out.bytes.size() > start && out.bytes.back() != '\n' && out.bytes.back() != '\r') out.bytes += eol;
            out.bytes += text;
            const std::size_t at = count;
            count += LinesIn(text);
            return at;
        };
        std::unordered_map<std::size_t, std::size_t> replacedLines;  // by rewritten line: how many it became
        std::size_t next = 0;
        auto flush = [&](std::ptrdiff_t after) {
            for (; next < order.size() && order[next]->after <= after; ++next) {
                ShipLayout::Origin o = order[next]->origin;
                const std::string text = WithLineEnds(order[next]->text, eol);
                o.first = put(text);
                o.last = o.first + LinesIn(text) - 1;
                out.origins.push_back(o);
            }
        };
        flush(-1);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (const auto r = replacement_.find(i); r != replacement_.end()) {
                const std::string text = WithLineEnds(r->second, eol);
                newIndex[i] = static_cast<std::uint32_t>(put(text));
                replacedLines[i] = LinesIn(text);
            } else if (!removed_[i]) {
                newIndex[i] = static_cast<std::uint32_t>(lines_[i].empty() && i + 1 == lines_.size() ? count : put(lines_[i]));
            }
            flush(static_cast<std::ptrdiff_t>(i));
        }
        flush(static_cast<std::ptrdiff_t>(lines_.size()));

        std::vector<bool> isCollapsed(origins_.size(), false);
        for (std::size_t c : collapsed_) isCollapsed[c] = true;
        for (std::size_t i = 0; i < origins_.size(); ++i) {
            if (dropped_[i] || newIndex[origins_[i].first] == kGone) continue;
            ShipLayout::Origin o = origins_[i];
            if (const auto t = retarget_.find(i); t != retarget_.end()) o.target = static_cast<std::uint32_t>(t->second);
            o.first = newIndex[origins_[i].first];
            // A statement rewritten by another record over the same lines takes the new lines too.
            const bool rewritten = isCollapsed[i] || (Replaced(origins_[i].first) && origins_[i].last != origins_[i].first &&
                                                      newIndex[origins_[i].last] == kGone);
            o.last = rewritten ? static_cast<std::uint32_t>(o.first + replacedLines.at(origins_[i].first) - 1) : newIndex[origins_[i].last];
            out.origins.push_back(o);
        }
        std::stable_sort(out.origins.begin(), out.origins.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
        return out;
    }

private:
    bool Replaced(std::size_t line) const { return replacement_.count(line) != 0; }

    std::string_view WithoutEnd(std::size_t line) const {
        std::string_view t = lines_[line];
        if (!t.empty() && t.back() == '\n') t.remove_suffix(1);
        if (!t.empty() && t.back() == '\r') t.remove_suffix(1);
        return t;
    }

    // Whether the statement ending on `line` never closed, found once, on the first removal.
    bool EndsOpenStatement(std::size_t line) {
        if (openEnds_.empty()) {
            std::vector<std::string_view> texts;
            texts.reserve(lines_.size());
            for (std::size_t i = 0; i < lines_.size(); ++i) texts.push_back(WithoutEnd(i));
            openEnds_.assign(lines_.size(), false);
            statements::Splitter split(texts);
            for (statements::Statement st; split.Next(st);)
                if (st.open) openEnds_[st.first + st.count - 1] = true;
        }
        return openEnds_[line];
    }
    std::vector<bool> openEnds_;

    struct Inserted {
        std::ptrdiff_t after;
        std::string text;
        ShipLayout::Origin origin;
    };
    const ShipLayout::Lines& lines_;
    const std::vector<ShipLayout::Origin>& origins_;
    // An edit touches a few lines of a script that may have very many: what changes is kept by
    // line or record changed, and what is kept for every line or record is a bit.
    std::unordered_map<std::size_t, std::string> replacement_;  // by line: the span starting here
    std::vector<bool> removed_;
    std::vector<bool> dropped_;                              // by record: its lines are removed
    std::unordered_map<std::size_t, std::size_t> retarget_;  // by record: its new target
    std::vector<std::size_t> collapsed_;                     // records rewritten as one line
    bool bom_;
    std::vector<Inserted> inserts_;
};

// The writer's line for an entry, under the name the script's own line gives it: Lua names are
// case-sensitive, and a script may spell an entry the reader takes as the same one differently
// (upLOD0, UnitCapsNumber), so a rewritten value must not move to another name.
std::string UnderOwnName(const std::string& own, const std::string& written) {
    const std::size_t ownEq = own.find('='), writtenEq = written.find(" = ");
    if (ownEq == std::string::npos || writtenEq == std::string::npos) return written;
    std::size_t end = ownEq;
    while (end > 0 && (own[end - 1] == ' ' || own[end - 1] == '\t')) --end;
    if (end == 0) return written;
    return own.substr(0, end) + written.substr(writtenEq);
}

std::string MirrorForm(std::size_t field, const std::vector<std::string>& list) {
    return list.empty() ? std::string(ShipWriter::KeyOf(field)) + "\"\""
                        : ShipWriter::MirrorLine(ShipWriter::KeyOf(field), list);
}

template <class V, class LineOf>
std::vector<std::string> LinesOf(const std::vector<SR2ShipFile::Entry<V>>& list, LineOf lineOf) {
    std::vector<std::string> v;
    v.reserve(list.size());
    for (const auto& e : list) v.push_back(lineOf(e.values));
    return v;
}

// The new list's lines against the old list's statements.
void PlanList(Planner& plan, Kind kind, const std::vector<std::string>& before,
              const std::vector<std::string>& after) {
    if (before == after) return;
    // The statement of each old item (the reader numbers them in file order).
    const std::vector<std::optional<std::size_t>> originOf = plan.ItemOrigins(kind, before.size());
    std::optional<std::size_t> firstLine;
    for (const auto& o : originOf)
        if (o && (!firstLine || plan.OriginAt(*o).first < *firstLine)) firstLine = plan.OriginAt(*o).first;

    const std::vector<ItemMatch> match = Align(before, after);
    std::vector<bool> used(before.size(), false);
    // New items before the first kept one go before the list's first line.
    std::ptrdiff_t anchor = firstLine ? static_cast<std::ptrdiff_t>(*firstLine) - 1 : plan.AfterKind(kind);
    for (std::size_t j = 0; j < after.size(); ++j) {
        const ItemMatch& m = match[j];
        if (m.old && originOf[*m.old]) {
            used[*m.old] = true;
            const std::size_t o = *originOf[*m.old];
            if (m.same) plan.Retarget(o, j);
            else plan.Replace(o, after[j], j);
            anchor = static_cast<std::ptrdiff_t>(plan.OriginAt(o).last);
        } else {
            if (m.old) used[*m.old] = true;
            plan.Insert(anchor, after[j], kind, j);
        }
    }
    for (std::size_t i = 0; i < before.size(); ++i)
        if (!used[i] && originOf[i]) plan.Remove(*originOf[i]);
}

}  // namespace

ShipLayout::Lines::Lines(std::string bytes) : bytes_(std::move(bytes)) {
    std::string_view text(bytes_);
    scriptformat::SkipByteOrderMark(text);
    // The reader's own lines, each with the line end that follows it up to the next one.
    const std::vector<std::string_view> views = statements::Lines(text);
    starts_.reserve(views.size());
    for (const std::string_view v : views) starts_.push_back(static_cast<std::uint32_t>(v.data() - bytes_.data()));
}

// A document as the writer would write it, statement by statement: two documents that give the
// same lines hold the same script, whatever their values beyond what a line can say (a mirror
// name's blanks, digits past the fifteenth).
struct ShipLayout::Form {
    std::vector<std::string> fields;     // by position in WrittenFields()
    std::vector<std::string> abilities;  // by position in the ability table; empty when absent
    std::string patches;
    std::vector<std::string> weapons, salvage;
    // (The statements no field or list holds are compared where they are, by SameOther: a script
    // may keep very many.)
    bool operator==(const Form&) const = default;
};

// Whether the two documents keep the same statements that no field or list holds, in file order.
bool ShipLayout::SameOther(const SR2ShipFile& a, const SR2ShipFile& b) {
    auto i = a.unrecognized_.begin(), j = b.unrecognized_.begin();
    for (;;) {
        while (i != a.unrecognized_.end() && !a.OtherStatementHolds(*i)) ++i;
        while (j != b.unrecognized_.end() && !b.OtherStatementHolds(*j)) ++j;
        if (i == a.unrecognized_.end() || j == b.unrecognized_.end())
            return i == a.unrecognized_.end() && j == b.unrecognized_.end();
        if (i->text != j->text) return false;
        ++i, ++j;
    }
}

ShipLayout::Form ShipLayout::FormOf(const SR2ShipFile& d) {
    static const std::size_t kMam = FieldIndex("MAM_Num"), kMbm = FieldIndex("MBM_Num");
    Form f;
    for (std::size_t field : WrittenFields())
        f.fields.push_back(field == kMam   ? MirrorForm(field, d.mam_)
                           : field == kMbm ? MirrorForm(field, d.mbm_)
                                           : ShipWriter::FieldLine(d, field));
    for (const auto& a : scriptformat::Abilities())
        f.abilities.push_back(a.listValued || !std::get<bool>(d.GetField(a.presence))
                                  ? std::string()
                                  : ShipWriter::AbilityLine(d, a));
    f.patches = ShipWriter::PatchLine(
        d.LSPL_Directory, d.LSPL_Num < 0 ? std::vector<SR2ShipFile::PatchItem>{} : d.patches_);
    f.weapons = LinesOf(d.weapons_, [](const auto& w) { return ShipWriter::WeaponLine(w); });
    f.salvage = LinesOf(d.salvage_, [](const auto& v) { return ShipWriter::SalvageLine(v); });
    return f;
}

bool ShipLayout::SameContent(const SR2ShipFile& a, const SR2ShipFile& b) { return FormOf(a) == FormOf(b) && SameOther(a, b); }

ShipLayout::Output ShipLayout::Write(const Lines& lines,
                                     const std::vector<Origin>& origins, const SR2ShipFile& before,
                                     const SR2ShipFile& after) {
    Planner plan(lines, origins, before.HasByteOrderMark());
    const Form was = FormOf(before), now = FormOf(after);
    const std::size_t model = FieldIndex("sLoadSharedModel");

    // Entries: the last line that sets one is the line the game keeps, so it is the one rewritten.
    const auto& fields = WrittenFields();
    std::string refused;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (was.fields[i] == now.fields[i]) continue;
        const std::size_t f = fields[i];
        const Kind kind = f == model ? Kind::SharedModel : Kind::Assignment;
        // A block (or an assignment of several entries) that assigns the entry after its last line
        // of its own (or with none) would override whatever line is written: the edit is
        // refused, with the block's line.
        const auto block = plan.LastOrigin(Kind::Block, f);
        if (const auto own = plan.LastOrigin(kind, f); block && (!own || *own < *block)) {
            if (refused.empty()) {
                std::string entry = ShipWriter::KeyOf(f);
                if (entry.rfind("NewShipType.", 0) == 0) entry.erase(0, 12);
                if (const auto eq = entry.find(" = "); eq != std::string::npos) entry.erase(eq);
                const std::size_t at = plan.OriginAt(*block).first;
                refused = "'" + entry + "' is set last on line " + std::to_string(at + 1) +
                          (plan.IsBlock(*block) ? ", inside a block (if, for, function and the like) that the editor does not rewrite"
                                                 : ", by an assignment of several entries at once that the editor does not rewrite") +
                          "; change it there";
            }
            continue;
        }
        if (auto o = plan.LastOrigin(kind, f)) {
            const std::string own(plan.Code(plan.OriginAt(*o).first));
            plan.Replace(*o, kind == Kind::Assignment ? UnderOwnName(own, now.fields[i]) : now.fields[i], f);
        } else {
            plan.Insert(plan.AfterKind(kind), now.fields[i], kind, f);
        }
    }

    // Abilities: one statement each, the last call (the one the game keeps); a removed ability
    // loses every line that adds it.
    for (std::size_t i = 0; i < now.abilities.size(); ++i) {
        if (was.abilities[i] == now.abilities[i]) continue;
        // A call the editor cannot rewrite (inside a block, or one it could not read) that comes
        // after the line the edit writes, or stays when the ability is removed, would undo it.
        const auto own = plan.LastOrigin(Kind::Ability, i);
        if (const auto kept = plan.LastOrigin(Kind::AbilityKept, i)) {
            const std::size_t at = plan.OriginAt(*kept).first;
            const bool removed = now.abilities[i].empty();
            const bool undone = removed || (own ? plan.OriginAt(*own).first < at
                                                : plan.AfterKind(Kind::Ability) < static_cast<std::ptrdiff_t>(at));
            if (undone) {
                if (refused.empty())
                    refused = "'" + std::string(scriptformat::Abilities()[i].name) + "' is " +
                              (removed ? "also added on line " : "added last on line ") + std::to_string(at + 1) +
                              (plan.IsBlock(*kept) ? ", inside a block (if, for, function and the like) that the editor does not rewrite"
                                                     : ", by a call that the editor cannot read") +
                              "; change it there";
                continue;
            }
        }
        if (now.abilities[i].empty()) {
            for (std::size_t o = 0; o < origins.size(); ++o)
                if ((origins[o].kind == Kind::Ability || origins[o].kind == Kind::AbilityAgain) && origins[o].target == i)
                    plan.Remove(o);
        } else if (own) {
            plan.Replace(*own, now.abilities[i], i);
        } else {
            plan.Insert(plan.AfterKind(Kind::Ability), now.abilities[i], Kind::Ability, i);
        }
    }

    // The patch list is one call line for the whole list.
    if (was.patches != now.patches) {
        if (auto o = plan.LastOrigin(Kind::PatchList)) plan.Replace(*o, now.patches, 0);
        else plan.Insert(plan.AfterKind(Kind::PatchList), now.patches, Kind::PatchList, 0);
    }

    // Statements kept as read, by their position among the kept lines (which only ever grow):
    // an edited one is rewritten as its new text, a removed one loses its lines, an added one
    // goes after the last of them.
    if (!SameOther(before, after)) {
        auto textOf = [](const SR2ShipFile& d, std::size_t i) -> std::string_view {
            if (i >= d.unrecognized_.size()) return {};
            const auto& k = d.unrecognized_[i];
            return d.OtherStatementHolds(k) ? std::string_view(k.text) : std::string_view();
        };
        for (std::size_t i = 0; i < after.unrecognized_.size(); ++i) {
            const std::string_view old = textOf(before, i), now = textOf(after, i);
            if (old == now) continue;
            const auto o = plan.LastOrigin(Kind::Other, i);
            if (now.empty()) {
                if (o) plan.Remove(*o);
            } else if (o) {
                plan.Replace(*o, std::string(now), i);
            } else {
                plan.Insert(plan.AfterKind(Kind::Other), std::string(now), Kind::Other, i);
            }
        }
    }

    PlanList(plan, Kind::Weapon, was.weapons, now.weapons);
    PlanList(plan, Kind::Salvage, was.salvage, now.salvage);
    if (!refused.empty()) {
        // Nothing changes: the bytes are the file as it stands.
        Output out = Planner(lines, origins, before.HasByteOrderMark()).Emit();
        out.refused = std::move(refused);
        return out;
    }
    return plan.Emit();
}

