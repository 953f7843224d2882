// The ship script format in one place: which assignment entries the reader knows, the abilities
// and their arguments, and the layout the writer produces.
#pragma once

#include <string_view>
#include <vector>

namespace scriptformat {

// How an assignment key stores its value.
enum class KeyKind { Field, UpLod, DownLod, MirrorAbove, MirrorBelow };

struct AssignmentKey {
    const char* key;    // the entry's name after "NewShipType.", lower-cased
    KeyKind kind;
    const char* field;  // for KeyKind::Field
};
// Every entry the reader stores. An assignment is recognised only by its whole entry name.
const std::vector<AssignmentKey>& AssignmentKeys();
// The key whose name equals entryName ignoring case (one hash lookup), or null.
const AssignmentKey* FindAssignmentKey(std::string_view entryName);

struct Ability {
    const char* name;                // as written, e.g. "CanDock"; the reader compares lower-cased
    const char* presence;            // the b... field
    std::vector<const char*> args;   // fields taken from comma arguments 2, 3, ...
    const char* quotedArg;           // a string field taken from the second quoted text, or null
    bool listValued;                 // kept verbatim: its family lists are not read
};
const std::vector<Ability>& Abilities();

// Names that the game's data defines, as a script refers to them: the weapon of a weapon line,
// the chunk of a salvage line, and the values of the assignments of NamedFields().
enum class NameKind { Weapon, SalvageChunk, Formation, Family, Maneuver };
struct NamedField {
    const char* field;  // a string field, or the _Num field of a mirror manoeuvre list
    NameKind kind;
    int family;         // for families: the section of the family list (0 armour ... 9 unit caps)
};
const std::vector<NamedField>& NamedFields();

// The writer's layout: sections in order, each with its banner title lines and its rows.
struct Row {
    enum Kind {
        Property,     // key + the field's value in its form
        Optional,     // as Property, only when the script assigned it or it is not the default
        SharedModel,  // key + quoted model name + ")"
        Lod,          // one line per level-of-detail slot that was assigned or is non-zero
        Mirror,       // the mirror list whose _Num field is named, when not empty
    };
    Kind kind;
    const char* key;
    const char* field;
};
struct Section {
    enum When { Always, IfWeapons, IfSalvage, IfUnrecognized };
    enum Content { None, Weapons, Abilities, Salvage, Sounds, Unrecognized };
    std::vector<const char*> titles;
    When when;
    Content content;
    std::vector<Row> rows;
};
const std::vector<Section>& Sections();

inline constexpr std::string_view kFirstLine = "NewShipType = StartShipConfig()";
// A UTF-8 byte-order mark: skipped on reading and written again where a file began with it; Lua
// 5.1 does not load a script that begins with one.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Takes a byte-order mark off the front of text; whether there was one.
inline bool SkipByteOrderMark(std::string_view& text) {
    if (!text.starts_with(kByteOrderMark)) return false;
    text.remove_prefix(kByteOrderMark.size());
    return true;
}
inline constexpr std::string_view kBannerRule =
    "--====================================================================================";

}  // namespace scriptformat
