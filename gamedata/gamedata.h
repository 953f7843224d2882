// The names the game knows, read from its extracted data directory: formations, flight
// manoeuvres, families, weapons and salvage chunks. Standard C++ only, so that the windows and
// tarvisk-cli share one reading of the data directory and one set of merging rules.
//
// Every list but the families starts from its built-in table, in its fixed order; a name found in
// the data directory is appended, in the order found, unless an entry already equals it when both
// are lower-cased. A missing file or folder adds nothing.
//
// Names keep the bytes they came with: names from files (families, manoeuvres) are the file's
// bytes in the system's code page, names from folder entries (formations, weapons, salvage chunks)
// are UTF-8. Lower-casing is ASCII only; other letters compare as they are.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gamedata {

// ASCII lower-casing, as every comparison of names here uses.
std::string Lower(std::string_view s);

// A set of names with letter case ignored (ASCII), open-addressed over the names' hashes: a
// look-up needs no lower-cased copy of the name, and mostly one comparison.
class NoCaseSet {
public:
    // Adds name unless the set holds it already (letter case ignored); true when added.
    bool Insert(std::string_view name);
    bool Contains(std::string_view name) const;
    std::size_t Size() const { return names_.size(); }
    const std::vector<std::string>& Names() const { return names_; }  // in the order added

private:
    // A slot holds 1 + an index into names_ (0 for none) and the top half of that name's hash, so
    // that most slots are passed over without looking at a name. At most half of them are full.
    struct Slot {
        std::uint32_t name = 0;
        std::uint32_t tag = 0;
    };
    std::vector<std::string> names_;
    std::vector<std::uint64_t> hashes_;  // of names_
    std::vector<Slot> slots_;
    // The slot that holds name, or the empty one where it would go.
    std::size_t SlotOf(std::string_view name, std::uint64_t hash) const;
};

// A list of names in the order offered, with a lower-cased hash set for merging and look-ups.
class NameList {
public:
    NameList() = default;
    explicit NameList(const std::vector<std::string>& first);

    // Appends name unless an entry equals it when both are lower-cased; true when appended.
    bool Add(const std::string& name);
    void Merge(const std::vector<std::string>& names);
    // True when an entry equals name when both are lower-cased.
    bool Contains(std::string_view name) const;
    // The entry nearest to name within two edits (letter case ignored), the earliest of equally
    // near ones; nothing when none is that near.
    std::optional<std::string> Suggest(std::string_view name) const;

    const std::vector<std::string>& Names() const { return known_.Names(); }
    std::size_t Size() const { return known_.Size(); }

private:
    std::vector<std::string> lowered_;  // Names() lower-cased, for suggestions
    NoCaseSet known_;
};

// Edit distance between a and b when it is at most limit; limit + 1 otherwise. Work is bounded
// by the length times (2 limit + 1).
int BoundedDistance(std::string_view a, std::string_view b, int limit);

// ----- Reading the data directory's files and folders -----

// Path of a data-directory entry: dataDir (UTF-8) followed by tail, a path such as
// "\scripts\formations\" written with "\" separators, in the platform's form.
std::filesystem::path DataPath(const std::string& dataDir, std::string_view tail);

// A text file read as bytes, split into lines at CR LF, LF or CR; a line end after the last line
// starts no further line.
struct TextFile {
    bool found = false;  // the file exists
    bool ok = false;     // it was read
    std::vector<std::string> lines;
    std::string error;   // why it could not be read, when found && !ok
};
TextFile ReadTextLines(const std::filesystem::path& path);

// True when line holds "name = " in any letter case.
bool IsNameLine(std::string_view line);
// The text between the first and the second double quote of line; nothing when it has fewer
// than two, so that such a line adds no name.
std::optional<std::string> QuotedName(std::string_view line);
// The quoted names of every "name = " line, in file order (the manoeuvre file's rule).
std::vector<std::string> NamesOfLines(const std::vector<std::string>& lines);

// The formation a file of the formations folder names: its name without a ".lua" ending in any
// letter case; nothing for any other file.
std::optional<std::string> FormationName(std::string_view fileName);

// Which plain files of a folder count as names (folders always count).
enum class Files { None, All, FlaggedOnly };

// The names (UTF-8) of the visible entries of folder, "." and ".." skipped, in name order with
// letter case ignored. Folders always count; plain files as files says. FlaggedOnly takes a plain
// file only when it carries a read-only or archive flag, on file systems that have such flags.
// A missing or unreadable folder gives no names.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder, Files files);

// The formations of the plain, visible files of folder, in name order.
std::vector<std::string> FormationsInFolder(const std::filesystem::path& folder);

// ----- Families -----

// The ten family sections of the family list, in the order of the classification sheet's boxes.
enum Family {
    kArmour, kAttack, kAutoFormation, kAvoidance, kBuild, kCollision, kDisplay, kDock,
    kMinimalToFindPathAround, kUnitCaps, kFamilySections
};
// The section keys as the family list writes them, lower-cased ("armourfamily", ...).
const std::array<const char*, kFamilySections>& FamilySectionKeys();

struct FamilyList {
    // Each section's names in file order, duplicates kept; the minimal-family section is followed
    // by every avoidance family.
    std::array<std::vector<std::string>, kFamilySections> sections;
    // The same, for look-ups with letter case ignored.
    std::array<NoCaseSet, kFamilySections> known;
    bool Contains(int section, std::string_view name) const;
};

// Reads the lines of the family list. A line that mentions "family" (any case) and whose part
// before the first " = " (or whole text), lower-cased, is a section key starts that section; when
// it is no key, unknownSection gets the line. A "name = " line adds its quoted name to the
// current section (the armour section before the first section line).
FamilyList ReadFamilyList(const std::vector<std::string>& lines,
                          const std::function<void(const std::string&)>& unknownSection = {});

// ----- The whole data directory -----

// The data-directory tails of the files and folders read.
inline constexpr std::string_view kFamilyListTail = "\\scripts\\familylist.lua";
inline constexpr std::string_view kManeuversTail = "\\scripts\\flightmaneuvers.lua";
inline constexpr std::string_view kFormationsTail = "\\scripts\\formations\\";
inline constexpr std::string_view kWeaponsTail = "\\weapon\\";
inline constexpr std::string_view kSalvageTail = "\\resource\\salvage\\";

// The parts of the data directory to read.
enum Parts : unsigned {
    kFormations = 1, kManeuvers = 2, kFamilies = 4, kWeapons = 8, kSalvageChunks = 16, kAll = 31
};

class GameData {
public:
    // Reads the parts asked for from dataDir (UTF-8). Lists not read hold their built-in names.
    static GameData Read(const std::string& dataDir, unsigned parts = kAll);
    // Reads several data directories in load order (the base game's, then each mod's): a name is
    // known when any of them has it, and a later directory's family list or manoeuvre file
    // replaces an earlier one's. The editor keeps one data directory; tarvisk-cli takes several.
    static GameData Read(const std::vector<std::string>& dataDirs, unsigned parts = kAll);
    // Only the built-in names: what the lists hold without a data directory.
    GameData();

    NameList formations, maneuvers, weapons, salvageChunks;
    FamilyList families;

    // The family list file: whether it exists, was read, and what went wrong.
    bool familyFileFound = false;
    bool familyFileRead = false;
    std::string familyFileError;
    // Lines of the family list that name a section no family box has, in file order.
    std::vector<std::string> unknownFamilySections;
    // The manoeuvre file exists but could not be read: why.
    std::string maneuverFileError;
};

}  // namespace gamedata
