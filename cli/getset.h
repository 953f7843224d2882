// tarvisk-cli get and set: the editor's values and its line-by-line Save from the command line.
//
//   tarvisk-cli get FILE KEY...                                 one line per key: KEY = value
//   tarvisk-cli set [--dry-run] [--output OUT] KEY=VALUE... -- FILE...
//
// KEY is an entry's name as scripts write it (buildCost, displayedName, upLOD), in any case, or a
// document field's name (iBuildCost). Exit codes as for normalize: 0 done, 1 a file does not
// exist, 2 anything else (an unknown key or a value that does not convert: nothing is written).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shipdocument.h"

int GetCommand(int argc, char** argv, const std::string& logFolder);
int SetCommand(int argc, char** argv, const std::string& logFolder);

// ----- Shared with apply, which sets a table's cells as set sets its values -----

// What a KEY names: one field, the three level-of-detail slots of one entry, or a mirror list.
struct Key {
    enum Kind { Field, Lod, Mirror };
    std::string name;
    Kind kind = Field;
    std::vector<std::string> fields;
    bool writable = true;  // false for fields no script line holds: Save could not keep them
};

// Every field by its own name, then the entries as scripts write them, in the writer's order.
const std::vector<Key>& Keys();
// The key of that name: exactly, else in any letter case; null when there is none.
const Key* FindKey(const std::string& name);

// One KEY=VALUE, converted before any file is read.
struct Assignment {
    const Key* key;
    std::vector<FieldValue> values;        // Field: one; Lod: three slots
    std::vector<std::string> names;        // Mirror: the list
};
// Converts "KEY=VALUE" as a sheet's box would; nothing, with why set, when it cannot.
std::optional<Assignment> Convert(const std::string& pair, std::string& why);
void Apply(SR2ShipFile& ship, const Assignment& a);

// Saves doc as set does: over file, or to output when given. Returns 0, or 2 after saying on
// standard error why it could not be saved.
int SaveScript(ShipDocument& doc, const std::string& file, const std::optional<std::string>& output);
