#include "gamedata.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>
#include <fstream>
#include <iterator>

#include "asciicase.h"
#include "builtinnames.h"
#include "filequery.h"
#include "platformfile.h"
#include "u8path.h"

namespace fs = std::filesystem;

namespace gamedata {

std::string Lower(std::string_view s) { return asciicase::Lower(s); }

// ----- NoCaseSet -----

std::size_t NoCaseSet::SlotOf(std::string_view name, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& s = slots_[at];
        if (!s.name || (s.tag == tag && asciicase::EqualNoCase(names_[s.name - 1], name))) return at;
    }
}

bool NoCaseSet::Insert(std::string_view name) {
    if (2 * (names_.size() + 1) > slots_.size()) {
        // Twice as many slots, every name placed again by its hash.
        slots_.assign(std::max<std::size_t>(16, 2 * slots_.size()), Slot{});
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = 0; i < names_.size(); ++i) {
            std::size_t at = hashes_[i] & mask;
            while (slots_[at].name) at = (at + 1) & mask;
            slots_[at] = {static_cast<std::uint32_t>(i + 1), static_cast<std::uint32_t>(hashes_[i] >> 32)};
        }
    }
    const std::uint64_t hash = asciicase::HashNoCase(name);
    const std::size_t at = SlotOf(name, hash);
    if (slots_[at].name) return false;
    names_.emplace_back(name);
    hashes_.push_back(hash);
    slots_[at] = {static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(hash >> 32)};
    return true;
}

bool NoCaseSet::Contains(std::string_view name) const {
    return !slots_.empty() && slots_[SlotOf(name, asciicase::HashNoCase(name))].name != 0;
}

// ----- NameList -----

NameList::NameList(const std::vector<std::string>& first) { Merge(first); }

bool NameList::Add(const std::string& name) {
    if (!known_.Insert(name)) return false;
    lowered_.push_back(Lower(name));
    return true;
}

void NameList::Merge(const std::vector<std::string>& names) {
    for (const std::string& name : names) Add(name);
}

bool NameList::Contains(std::string_view name) const {
    return known_.Contains(name);
}

std::optional<std::string> NameList::Suggest(std::string_view name) const {
    constexpr int kLimit = 2;
    const std::string lower = Lower(name);
    int best = kLimit + 1;
    std::size_t bestAt = 0;
    for (std::size_t i = 0; i < lowered_.size() && best > 0; ++i) {
        const std::string& candidate = lowered_[i];
        // A length difference is at least that many edits: most names are skipped here.
        const std::size_t diff = candidate.size() > lower.size() ? candidate.size() - lower.size()
                                                                 : lower.size() - candidate.size();
        if (diff >= static_cast<std::size_t>(best)) continue;
        const int d = BoundedDistance(lower, candidate, best - 1);
        if (d < best) {
            best = d;
            bestAt = i;
        }
    }
    if (best > kLimit) return std::nullopt;
    return Names()[bestAt];
}

int BoundedDistance(std::string_view a, std::string_view b, int limit) {
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    if (std::abs(n - m) > limit) return limit + 1;
    // Only the band |i - j| <= limit of the table can stay within the limit.
    const int inf = limit + 1;
    std::vector<int> prev(static_cast<std::size_t>(m) + 1, inf), cur(prev.size(), inf);
    for (int j = 0; j <= std::min(m, limit); ++j) prev[static_cast<std::size_t>(j)] = j;
    for (int i = 1; i <= n; ++i) {
        const int from = std::max(1, i - limit), to = std::min(m, i + limit);
        std::fill(cur.begin(), cur.end(), inf);
        if (i <= limit) cur[0] = i;
        int rowBest = cur[0];
        for (int j = from; j <= to; ++j) {
            const auto uj = static_cast<std::size_t>(j);
            const int substitute = prev[uj - 1] + (a[static_cast<std::size_t>(i - 1)] == b[uj - 1] ? 0 : 1);
            const int v = std::min({substitute, prev[uj] + 1, cur[uj - 1] + 1, inf});
            cur[uj] = v;
            rowBest = std::min(rowBest, v);
        }
        if (rowBest > limit) return inf;
        std::swap(prev, cur);
    }
    return std::min(prev[static_cast<std::size_t>(m)], inf);
}

// ----- Files and folders -----

fs::path DataPath(const std::string& dataDir, std::string_view tail) {
    return U8Path(filequery::NativePath(dataDir + std::string(tail)));
}

TextFile ReadTextLines(const fs::path& path) {
    TextFile result;
    std::error_code ec;
    result.found = fs::is_regular_file(path, ec);
    if (!result.found) return result;
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = errno ? std::generic_category().message(errno) : "it cannot be opened";
        return result;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        result.error = "it cannot be read";
        return result;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        result.lines.emplace_back(text, start, end - start);
        if (end == text.size()) break;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    result.ok = true;
    return result;
}

bool IsNameLine(std::string_view line) {
    return Lower(line).find("name = ") != std::string::npos;
}

std::optional<std::string> QuotedName(std::string_view line) {
    const std::size_t first = line.find('"');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = line.find('"', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    return std::string(line.substr(first + 1, second - first - 1));
}

std::vector<std::string> NamesOfLines(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    for (const std::string& line : lines)
        if (IsNameLine(line))
            if (auto name = QuotedName(line)) names.push_back(std::move(*name));
    return names;
}

std::optional<std::string> FormationName(std::string_view fileName) {
    if (fileName.size() < 4 || Lower(fileName.substr(fileName.size() - 4)) != ".lua")
        return std::nullopt;
    return std::string(fileName.substr(0, fileName.size() - 4));
}

namespace {

enum class Kind { Folder, File };

// Visible entries of folder with their kind, in name order with letter case ignored.
std::vector<std::pair<std::string, Kind>> VisibleEntries(const fs::path& folder, Files files) {
    std::vector<std::pair<std::string, Kind>> entries;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code kindError;
        const bool folderEntry = entry.is_directory(kindError);
        const bool fileEntry = !folderEntry && entry.is_regular_file(kindError);
        if (!folderEntry && !fileEntry) continue;
        if (fileEntry && files == Files::None) continue;
        std::string name = platformfile::EntryName(entry);
        const platformfile::Visibility v = platformfile::VisibilityOf(entry.path(), name);
        if (!v.listed) continue;
        if (fileEntry && files == Files::FlaggedOnly && !v.flagged) continue;
        entries.emplace_back(std::move(name), folderEntry ? Kind::Folder : Kind::File);
    }
    // Sorted by the lower-cased name, computed once per entry.
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) keys.emplace_back(Lower(entries[i].first), i);
    std::sort(keys.begin(), keys.end(), [&entries](const auto& a, const auto& b) {
        // Names equal but for letter case: lower case first, as the usual file dialogs list them.
        return a.first != b.first ? a.first < b.first : entries[a.second].first > entries[b.second].first;
    });
    std::vector<std::pair<std::string, Kind>> sorted;
    sorted.reserve(entries.size());
    for (const auto& key : keys) sorted.push_back(std::move(entries[key.second]));
    return sorted;
}

}  // namespace

std::vector<std::string> FolderEntries(const fs::path& folder, Files files) {
    std::vector<std::string> names;
    for (auto& [name, kind] : VisibleEntries(folder, files)) names.push_back(std::move(name));
    return names;
}

std::vector<std::string> FormationsInFolder(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& [name, kind] : VisibleEntries(folder, Files::All))
        if (kind == Kind::File)
            if (auto formation = FormationName(name)) names.push_back(std::move(*formation));
    return names;
}

// ----- Families -----

const std::array<const char*, kFamilySections>& FamilySectionKeys() {
    static const std::array<const char*, kFamilySections> keys = {
        "armourfamily", "attackfamily",    "autoformationfamily", "avoidancefamily",
        "buildfamily",  "collisionfamily", "displayfamily",       "dockfamily",
        "minimalfamilytofindpatharound",   "unitcapsfamily",
    };
    return keys;
}

bool FamilyList::Contains(int section, std::string_view name) const {
    return known[static_cast<std::size_t>(section)].Contains(name);
}

FamilyList ReadFamilyList(const std::vector<std::string>& lines,
                          const std::function<void(const std::string&)>& unknownSection) {
    FamilyList list;
    int section = kArmour;
    for (const std::string& line : lines) {
        const std::string lower = Lower(line);
        if (lower.find("family") != std::string::npos) {
            // The key must open the line and be followed by " = " or the line's end.
            const std::string key = lower.substr(0, lower.find(" = "));
            const auto& keys = FamilySectionKeys();
            const auto it = std::find(keys.begin(), keys.end(), key);
            if (it != keys.end())
                section = static_cast<int>(it - keys.begin());
            else if (unknownSection)
                unknownSection(line);
        }
        if (lower.find("name = ") != std::string::npos)
            if (auto name = QuotedName(line))
                list.sections[static_cast<std::size_t>(section)].push_back(std::move(*name));
    }
    auto& minimal = list.sections[kMinimalToFindPathAround];
    const auto& avoidance = list.sections[kAvoidance];
    minimal.insert(minimal.end(), avoidance.begin(), avoidance.end());
    for (std::size_t s = 0; s < list.sections.size(); ++s)
        for (const std::string& name : list.sections[s]) list.known[s].Insert(name);
    return list;
}

// ----- The whole data directory -----

GameData::GameData()
    : formations(builtinnames::Formations()),
      maneuvers(builtinnames::Maneuvers()),
      weapons(builtinnames::Weapons()),
      salvageChunks(builtinnames::SalvageChunks()) {}

GameData GameData::Read(const std::string& dataDir, unsigned parts) {
    return Read(std::vector<std::string>{dataDir}, parts);
}

namespace {

// The file at tail in the last of dataDirs that has one: a later folder's file replaces an
// earlier one's, and one that cannot be read is not replaced by an earlier one.
TextFile ReadLastFile(const std::vector<std::string>& dataDirs, std::string_view tail) {
    for (auto dir = dataDirs.rbegin(); dir != dataDirs.rend(); ++dir) {
        TextFile file = ReadTextLines(DataPath(*dir, tail));
        if (file.found) return file;
    }
    return {};
}

}  // namespace

GameData GameData::Read(const std::vector<std::string>& dataDirs, unsigned parts) {
    GameData data;
    for (const std::string& dataDir : dataDirs) {
        if (parts & kFormations)
            data.formations.Merge(FormationsInFolder(DataPath(dataDir, kFormationsTail)));
        if (parts & kWeapons)
            data.weapons.Merge(FolderEntries(DataPath(dataDir, kWeaponsTail), Files::FlaggedOnly));
        if (parts & kSalvageChunks)
            data.salvageChunks.Merge(FolderEntries(DataPath(dataDir, kSalvageTail), Files::All));
    }
    if (parts & kManeuvers) {
        const TextFile file = ReadLastFile(dataDirs, kManeuversTail);
        if (file.ok) data.maneuvers.Merge(NamesOfLines(file.lines));
        else if (file.found) data.maneuverFileError = file.error;
    }
    if (parts & kFamilies) {
        const TextFile file = ReadLastFile(dataDirs, kFamilyListTail);
        data.familyFileFound = file.found;
        data.familyFileRead = file.ok;
        data.familyFileError = file.error;
        if (file.ok)
            data.families = ReadFamilyList(file.lines, [&data](const std::string& line) {
                data.unknownFamilySections.push_back(line);
            });
    }
    return data;
}

}  // namespace gamedata
