// WriteShipFile: the canonical script, laid out by the section table of scriptformat.cpp.
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

}  // namespace

std::string ShipWriter::Script(const SR2ShipFile& d) {
    std::string out;
    auto line = [&out](const std::string& s) { out += s; out += "\r\n"; };

    // A line read for a field and kept as read stands in place of the field's canonical line.
    std::vector<const SR2ShipFile::KeptLine*> inPlace(SR2ShipFile::Fields().size(), nullptr);
    for (const auto& k : d.inPlace_)
        if (d.KeptLineHolds(k)) inPlace[static_cast<std::size_t>(k.field)] = &k;
    auto fieldLine = [&](std::size_t f, const std::string& canonical) {
        line(inPlace[f] ? inPlace[f]->text : canonical);
    };

    const auto unrecognized = d.UnrecognizedLines();
    static const std::size_t mam = SR2ShipFile::FindField("MAM_Num")->index;
    static const std::size_t mbm = SR2ShipFile::FindField("MBM_Num")->index;
    if (d.bom_) out = "\xEF\xBB\xBF";  // the file's own byte-order mark stays
    line(std::string(scriptformat::kFirstLine));
    for (const Section& section : scriptformat::Sections()) {
        if ((section.when == Section::IfWeapons && d.weapons_.empty()) ||
            (section.when == Section::IfSalvage && d.salvage_.empty()) ||
            (section.when == Section::IfUnrecognized && unrecognized.empty()))
            continue;
        line("--");
        line(std::string(scriptformat::kBannerRule));
        for (const char* title : section.titles) line(title);
        line(std::string(scriptformat::kBannerRule));
        line("--");

        for (const Row& row : section.rows) {
            const std::size_t f = SR2ShipFile::FindField(row.field)->index;
            const FieldValue v = d.GetFieldAt(f);
            switch (row.kind) {
                case Row::Property:
                case Row::SharedModel: fieldLine(f, FieldLine(d, f)); break;
                case Row::Optional:
                case Row::Lod:
                    // A new document was never read, so it has no record of assignments.
                    if ((f < d.assigned_.size() && d.assigned_[f]) || !IsDefault(v) || inPlace[f])
                        fieldLine(f, FieldLine(d, f));
                    break;
                case Row::Mirror: {
                    const auto& list = row.field == std::string_view("MAM_Num") ? d.mam_ : d.mbm_;
                    if (inPlace[f]) line(inPlace[f]->text);
                    else if (!list.empty()) line(MirrorLine(row.key, list));
                    break;
                }
            }
        }

        switch (section.content) {
            case Section::None: break;
            case Section::Weapons:
                for (const auto& w : d.weapons_)
                    line(w.keptText && w.values == w.keptValues ? *w.keptText : WeaponLine(w.values));
                break;
            case Section::Abilities: {
                const auto& abilities = scriptformat::Abilities();
                for (std::size_t i = 0; i < abilities.size(); ++i) {
                    // The list-valued abilities come back through their lines kept as read.
                    if (abilities[i].listValued || !std::get<bool>(d.GetField(abilities[i].presence)))
                        continue;
                    line(d.AbilityKept(i) ? d.keptAbilities_[i]->text : AbilityLine(d, abilities[i]));
                }
                break;
            }
            case Section::Salvage:
                for (const auto& s : d.salvage_)
                    line(s.keptText && s.values == s.keptValues ? *s.keptText : SalvageLine(s.values));
                break;
            case Section::Sounds: {
                const std::vector<SR2ShipFile::PatchItem> none;
                const auto& items = d.LSPL_Num < 0 ? none : d.patches_;
                // A patch-list line that could not be read comes back as read among the
                // unrecognised lines; an empty call beside it would make the game load twice.
                if (d.LSPL_Num < 0 && d.patchLineUnread_) break;
                if (d.patchKeptText_ && SR2ShipFile::PatchList{d.LSPL_Directory, items} == d.patchKeptValues_)
                    line(*d.patchKeptText_);
                else
                    line(PatchLine(d.LSPL_Directory, items));
                break;
            }
            case Section::Unrecognized:
                for (const auto& text : unrecognized) line(text);
                // An entry that a block assigns and a later line assigns again: once more here,
                // after the blocks, so that the value the game keeps stays the later line's.
                for (std::size_t f = 0; f < d.afterBlock_.size(); ++f) {
                    if (!d.afterBlock_[f] || !KeyOf(f)) continue;
                    if (inPlace[f]) line(inPlace[f]->text);
                    else if (f == mam || f == mbm) line(MirrorLine(KeyOf(f), f == mam ? d.mam_ : d.mbm_));
                    else line(FieldLine(d, f));
                }
                break;
        }
    }
    return out;
}

std::string SR2ShipFile::ScriptText() const { return ShipWriter::Script(*this); }

Result SR2ShipFile::WriteShipFile(const std::string& FileName) const {
    return SafeWriteFile(FileName, ScriptText());
}
