#include "unknownnames.h"

#include <algorithm>

using scriptformat::NameKind;

const char* NameKindWord(NameKind kind) {
    switch (kind) {
        case NameKind::Weapon: return "weapon";
        case NameKind::SalvageChunk: return "salvage chunk";
        case NameKind::Formation: return "formation";
        case NameKind::Family: return "family";
        case NameKind::Maneuver: return "maneuver";
    }
    return "name";
}

void NameChecker::Check(const SR2ShipFile& doc, std::vector<UnknownName>& unknown) {
    std::string stripped;
    for (const SR2ShipFile::NameUse& use : doc.NameUses()) {
        std::string_view name = use.name;
        if (use.kind == NameKind::Maneuver && name.find(' ') != std::string_view::npos) {
            // The editor shows list entries without blanks.
            stripped.assign(name);
            stripped.erase(std::remove(stripped.begin(), stripped.end(), ' '), stripped.end());
            name = stripped;
        }
        // An empty formation, family or list entry means none.
        const bool call = use.kind == NameKind::Weapon || use.kind == NameKind::SalvageChunk;
        if (name.empty() && !call) continue;
        if (Known(use.kind, use.family, name)) continue;
        const std::string unknownName(name);
        unknown.push_back({use.line, use.kind, unknownName, Suggest(use.kind, use.family, unknownName)});
    }
}

const gamedata::NameList* NameChecker::ListOf(NameKind kind) const {
    switch (kind) {
        case NameKind::Weapon: return &data_.weapons;
        case NameKind::SalvageChunk: return &data_.salvageChunks;
        case NameKind::Formation: return &data_.formations;
        case NameKind::Maneuver: return &data_.maneuvers;
        case NameKind::Family: return nullptr;
    }
    return nullptr;
}

// A family is checked against its own section of the family list; without a family list,
// or with an empty section, there is nothing to check it against.
bool NameChecker::Known(NameKind kind, int family, std::string_view name) const {
    if (kind != NameKind::Family) return ListOf(kind)->Contains(name);
    if (!data_.familyFileRead || family < 0) return true;
    const auto section = static_cast<std::size_t>(family);
    if (data_.families.sections[section].empty()) return true;
    return data_.families.Contains(family, name);
}

std::optional<std::string> NameChecker::Suggest(NameKind kind, int family, const std::string& name) {
    auto key = std::make_tuple(kind, family, gamedata::Lower(name));
    auto it = suggestions_.find(key);
    if (it != suggestions_.end()) return it->second;
    std::optional<std::string> s;
    if (kind != NameKind::Family) {
        s = ListOf(kind)->Suggest(name);
    } else {
        gamedata::NameList section(data_.families.sections[static_cast<std::size_t>(family)]);
        s = section.Suggest(name);
    }
    suggestions_.emplace(std::move(key), s);
    return s;
}
