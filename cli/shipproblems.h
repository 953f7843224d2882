// The problems of the open script, for the editor's Problems list: a script the game's Lua does
// not load (without Lua: the lines the reader could not take apart),
// names the game's data does not define (as tarvisk-cli check reports them), a file that could not
// be read at all. Standard C++ only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gamedata.h"
#include "shipdocument.h"

struct ShipProblem {
    enum class Kind { File, Unreadable, UnknownName };
    Kind kind = Kind::File;
    int line = 0;           // from 1, in the script as a save would write it now; 0: the whole file
    std::string message;    // what is wrong, as check words it
    std::string statement;  // the statement's text (its first line)
    // Where the entry is edited: its statement's line record (an Other record: Other Entries),
    // and for an assignment the field it sets.
    std::optional<SR2ShipFile::LineOrigin> origin;
    std::string field;
    // An unknown name, and the known name nearest to it.
    scriptformat::NameKind nameKind = scriptformat::NameKind::Weapon;
    std::string name;
    std::optional<std::string> suggestion;
};

// The problems of the script the document would save now, in line order. Names are checked only
// when data is given.
std::vector<ShipProblem> FindProblems(const ShipDocument& doc, const gamedata::GameData* data);

// A file that could not be opened: why, as one problem.
ShipProblem FileProblem(const std::string& fileName, const std::string& why);

// Puts a problem's suggested name in place of the unknown one in the document.
Result ApplySuggestion(SR2ShipFile& ship, const ShipProblem& problem);
