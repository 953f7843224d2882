// WriteShipFile: the canonical script, laid out by the section table of scriptformat.cpp. What a
// block does depends on the statements around it: the statements read after a script's first
// block are written where they stood among the kept ones, in the last section, not in their own.
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "numbers.h"
#include "safewrite.h"
#include "shipwriter.h"

namespace fs = std::filesystem;
using scriptformat::Row;
using scriptformat::Section;

std::string ShipWriter::StripBlanksAndParens(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != ' ' && c != ')') out += c;
    return out;
}

std::string ShipWriter::Form(const FieldValue& v) {
    switch (v.index()) {
        case 0: return Quote(std::get<std::string>(v));
        case 1: return numbers::FormatInteger(std::get<std::int32_t>(v));
        case 2: return numbers::FormatInteger(std::get<std::int16_t>(v));
        case 3: return numbers::FormatReal(std::get<double>(v));
        default: return std::get<bool>(v) ? "1" : "0";
    }
}

bool ShipWriter::FormIs(const FieldValue& v, std::string_view text) {
    switch (v.index()) {
        case 0: {
            const std::string& s = std::get<std::string>(v);
            return text.size() == s.size() + 2 && text.front() == '"' && text.back() == '"' &&
                   text.substr(1, s.size()) == s;
        }
        case 1:
        case 2: {
            char buf[16];
            const std::int64_t n = v.index() == 1 ? std::int64_t{std::get<std::int32_t>(v)}
                                                  : std::int64_t{std::get<std::int16_t>(v)};
            const auto res = std::to_chars(buf, buf + sizeof buf, n);
            return text == std::string_view(buf, static_cast<std::size_t>(res.ptr - buf));
        }
        case 3: return numbers::FormatsAs(std::get<double>(v), text);
        default: return text == (std::get<bool>(v) ? "1" : "0");
    }
}

const char* ShipWriter::KeyOf(std::size_t field) {
    static const std::vector<const char*> keys = [] {
        std::vector<const char*> k(SR2ShipFile::Fields().size(), nullptr);
        for (const auto& section : scriptformat::Sections())
            for (const auto& row : section.rows) k[SR2ShipFile::FindField(row.field)->index] = row.key;
        return k;
    }();
    return field < keys.size() ? keys[field] : nullptr;
}

std::string ShipWriter::FieldLine(const SR2ShipFile& d, std::size_t field) {
    const char* key = KeyOf(field);
    if (!key) return {};
    static const std::size_t sharedModel = SR2ShipFile::FindField("sLoadSharedModel")->index;
    if (field == sharedModel)
        return SharedModelLine(d.sLoadSharedModel);
    return key + Form(d.GetFieldAt(field));
}

std::string ShipWriter::ValueLine(const SR2ShipFile& d, std::size_t field) {
    static const std::size_t mam = SR2ShipFile::FindField("MAM_Num")->index;
    static const std::size_t mbm = SR2ShipFile::FindField("MBM_Num")->index;
    if (field == mam || field == mbm) return MirrorLine(KeyOf(field), field == mam ? d.mam_ : d.mbm_);
    return FieldLine(d, field);
}

std::string ShipWriter::MirrorLine(const char* key, const std::vector<std::string>& list) {
    if (list.empty()) return {};
    std::string joined = list[0];
    for (std::size_t i = 1; i < list.size(); ++i) joined += ", " + StripBlanksAndParens(list[i]);
    return key + Quote(joined);
}

std::string ShipWriter::SharedModelLine(const std::string& model) {
    return "LoadSharedModel(NewShipType," + Quote(model) + ")";
}

std::string ShipWriter::WeaponLine(const SR2ShipFile::WeaponItem& w) {
    return "StartShipWeaponConfig(NewShipType, " + Quote(w.name) + ", " + Quote(w.hardpoint) + ", " +
           Quote(w.effect) + (w.extra.empty() ? "" : ", " + w.extra) + ")";
}

std::string ShipWriter::SalvageLine(const SR2ShipFile::SalvageItem& s) {
    std::string line = "SpawnSalvageOnDeath(NewShipType, " + Quote(s.name) + ", " +
                       numbers::FormatInteger(s.chunks);
    // The reals are kept in the order the script gives them (rotation X, Z, Y), so a line read and
    // written back keeps every argument in its place.
    for (double r : s.reals) line += ", " + numbers::FormatReal(r);
    if (!s.extra.empty()) line += ", " + s.extra;
    return line + ")";
}

std::string ShipWriter::PatchLine(const std::string& directory,
                                  const std::vector<SR2ShipFile::PatchItem>& items) {
    std::string line = "loadShipPatchList(NewShipType, " + Quote(directory);
    for (const auto& p : items)
        line += ", " + numbers::FormatInteger(p.value) + ", " + Quote(p.effect) + ", " + Quote(p.marker);
    return line + ")";
}

bool ShipWriter::IsAbilityLine(std::string_view line, const scriptformat::Ability& a,
                               const std::vector<FieldValue>& values) {
    auto take = [&line](std::string_view piece) {
        if (line.substr(0, piece.size()) != piece) return false;
        line.remove_prefix(piece.size());
        return true;
    };
    if (!take("addAbility(NewShipType, \"") || !take(a.name) || !take("\"")) return false;
    for (const FieldValue& v : values) {
        if (!take(", ")) return false;
        // A number's form holds no comma or parenthesis; a text's ends at its closing quote.
        std::size_t end = std::string_view::npos;
        if (v.index() != 0) end = line.find_first_of(",)");
        else if (!line.empty() && line[0] == '"') end = line.find('"', 1);
        if (end == std::string_view::npos) return false;
        if (v.index() == 0) ++end;
        if (!FormIs(v, line.substr(0, end))) return false;
        line.remove_prefix(end);
    }
    return line == ")";
}

std::string ShipWriter::AbilityLine(const SR2ShipFile& d, const scriptformat::Ability& a) {
    std::string line = "addAbility(NewShipType, " + Quote(a.name);
    for (const char* arg : a.args) line += ", " + Form(d.GetField(arg));
    if (a.quotedArg) line += ", " + Form(d.GetField(a.quotedArg));
    const auto index = static_cast<std::size_t>(&a - scriptformat::Abilities().data());
    if (index < d.abilityExtra_.size() && !d.abilityExtra_[index].empty()) line += ", " + d.abilityExtra_[index];
    return line + ")";
}

namespace {

bool IsDefault(const FieldValue& v) {
    return std::visit([](const auto& x) { return x == std::decay_t<decltype(x)>{}; }, v);
}

// Where each item of a list is written: in its section (none), or where its place says. An item
// after one with a place goes with it, so that the list keeps its order however it was edited.
template <class V>
std::vector<std::optional<SR2ShipFile::Place>> ListPlaces(const std::vector<SR2ShipFile::Entry<V>>& list) {
    std::vector<std::optional<SR2ShipFile::Place>> places;
    places.reserve(list.size());
    std::optional<SR2ShipFile::Place> last;
    for (const auto& e : list) {
        if (e.place && (!last || *last < *e.place)) last = e.place;
        places.push_back(last);
    }
    return places;
}

}  // namespace

std::string ShipWriter::Script(const SR2ShipFile& d) {
    std::string out;
    auto line = [&out](const std::string& s) { out += s; out += "\r\n"; };

    // A line read for a field and kept as read stands in place of the field's canonical line.
    std::vector<const SR2ShipFile::KeptLine*> inPlace(SR2ShipFile::Fields().size(), nullptr);
    for (const auto& k : d.inPlace_)
        if (d.KeptLineHolds(k)) inPlace[static_cast<std::size_t>(k.field)] = &k;
    // A field's line, or none (an empty mirror list).
    auto fieldText = [&](std::size_t f) { return inPlace[f] ? inPlace[f]->text : ValueLine(d, f); };
    auto placed = [](const auto& places, std::size_t i) { return i < places.size() && places[i]; };
    const auto weaponPlaces = ListPlaces(d.weapons_), salvagePlaces = ListPlaces(d.salvage_);
    auto weaponText = [&](std::size_t i) {
        const auto& w = d.weapons_[i];
        return w.keptText && w.values == w.keptValues ? *w.keptText : WeaponLine(w.values);
    };
    auto salvageText = [&](std::size_t i) {
        const auto& s = d.salvage_[i];
        return s.keptText && s.values == s.keptValues ? *s.keptText : SalvageLine(s.values);
    };
    const auto& abilities = scriptformat::Abilities();
    // The list-valued abilities come back through their lines kept as read.
    auto abilityText = [&](std::size_t i) -> std::string {
        if (abilities[i].listValued || !std::get<bool>(d.GetField(abilities[i].presence))) return {};
        return d.AbilityKept(i) ? d.keptAbilities_[i]->text : AbilityLine(d, abilities[i]);
    };
    auto patchText = [&]() -> std::string {
        const std::vector<SR2ShipFile::PatchItem> none;
        const auto& items = d.LSPL_Num < 0 ? none : d.patches_;
        // A patch-list line that could not be read comes back as read among the unrecognised
        // lines; an empty call beside it would make the game load twice.
        if (d.LSPL_Num < 0 && d.patchLineUnread_) return {};
        if (d.patchKeptText_ && SR2ShipFile::PatchList{d.LSPL_Directory, items} == d.patchKeptValues_)
            return *d.patchKeptText_;
        return PatchLine(d.LSPL_Directory, items);
    };

    // The statements read after the first block, each with its place: written among the kept
    // statements where they stood, in file order, rather than in their sections.
    struct Placed {
        SR2ShipFile::Place place;
        std::size_t item;  // a list's items share a place when edited out of order
        std::string text;
    };
    std::vector<Placed> tail;
    for (std::size_t f = 0; f < d.fieldPlace_.size(); ++f)
        if (d.fieldPlace_[f] && KeyOf(f)) tail.push_back({*d.fieldPlace_[f], 0, fieldText(f)});
    for (std::size_t i = 0; i < d.weapons_.size(); ++i)
        if (weaponPlaces[i]) tail.push_back({*weaponPlaces[i], i, weaponText(i)});
    for (std::size_t i = 0; i < d.salvage_.size(); ++i)
        if (salvagePlaces[i]) tail.push_back({*salvagePlaces[i], i, salvageText(i)});
    for (std::size_t i = 0; i < d.abilityPlace_.size() && i < abilities.size(); ++i)
        if (d.abilityPlace_[i]) tail.push_back({*d.abilityPlace_[i], 0, abilityText(i)});
    if (d.patchPlace_) tail.push_back({*d.patchPlace_, 0, patchText()});
    std::stable_sort(tail.begin(), tail.end(), [](const Placed& x, const Placed& y) {
        return x.place != y.place ? x.place < y.place : x.item < y.item;
    });
    bool anyKept = std::any_of(tail.begin(), tail.end(), [](const Placed& p) { return !p.text.empty(); });
    for (const auto& k : d.unrecognized_) anyKept = anyKept || d.KeptLineHolds(k);
    auto anyInSection = [](const auto& places) {
        return std::any_of(places.begin(), places.end(), [](const auto& p) { return !p; });
    };

    if (d.bom_) out = scriptformat::kByteOrderMark;  // the file's own byte-order mark stays
    line(std::string(scriptformat::kFirstLine));
    for (const Section& section : scriptformat::Sections()) {
        if ((section.when == Section::IfWeapons && !anyInSection(weaponPlaces)) ||
            (section.when == Section::IfSalvage && !anyInSection(salvagePlaces)) ||
            (section.when == Section::IfUnrecognized && !anyKept))
            continue;
        line("--");
        line(std::string(scriptformat::kBannerRule));
        for (const char* title : section.titles) line(title);
        line(std::string(scriptformat::kBannerRule));
        line("--");

        for (const Row& row : section.rows) {
            const std::size_t f = SR2ShipFile::FindField(row.field)->index;
            if (placed(d.fieldPlace_, f)) {
                // Set again after the first block: here it keeps the line that set it before.
                if (f < d.beforeBlock_.size() && d.beforeBlock_[f]) line(*d.beforeBlock_[f]);
                continue;
            }
            const FieldValue v = d.GetFieldAt(f);
            switch (row.kind) {
                case Row::Property:
                case Row::SharedModel: line(fieldText(f)); break;
                case Row::Optional:
                case Row::Lod:
                    // A new document was never read, so it has no record of assignments.
                    if ((f < d.assigned_.size() && d.assigned_[f]) || !IsDefault(v) || inPlace[f]) line(fieldText(f));
                    break;
                case Row::Mirror:
                    if (const std::string text = fieldText(f); !text.empty()) line(text);
                    break;
            }
        }

        switch (section.content) {
            case Section::None: break;
            case Section::Weapons:
                for (std::size_t i = 0; i < d.weapons_.size(); ++i)
                    if (!weaponPlaces[i]) line(weaponText(i));
                break;
            case Section::Abilities:
                for (std::size_t i = 0; i < abilities.size(); ++i)
                    if (const std::string text = abilityText(i); !text.empty() && !placed(d.abilityPlace_, i)) line(text);
                break;
            case Section::Salvage:
                for (std::size_t i = 0; i < d.salvage_.size(); ++i)
                    if (!salvagePlaces[i]) line(salvageText(i));
                break;
            case Section::Sounds:
                if (const std::string text = patchText(); !text.empty() && !d.patchPlace_) line(text);
                break;
            case Section::Unrecognized: {
                // The kept statements in file order, each followed by the statements placed after it.
                std::size_t next = 0;
                auto placedUpTo = [&](std::size_t kept) {
                    for (; next < tail.size() && tail[next].place.afterKept <= kept; ++next)
                        if (!tail[next].text.empty()) line(tail[next].text);
                };
                for (std::size_t i = 0; i < d.unrecognized_.size(); ++i) {
                    if (d.KeptLineHolds(d.unrecognized_[i])) line(d.unrecognized_[i].text);
                    placedUpTo(i);
                }
                placedUpTo(static_cast<std::size_t>(-1));
                break;
            }
        }
    }
    return out;
}

std::string SR2ShipFile::ScriptText() const { return ShipWriter::Script(*this); }

Result SR2ShipFile::WriteShipFile(const std::string& FileName) const {
    return SafeWriteFile(FileName, ScriptText());
}
