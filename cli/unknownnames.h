// The names of game data a script uses that the game's data directory does not define, each with
// the nearest known name when one is near enough. tarvisk-cli check and the editor's Problems list
// both report them through this one look-up.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "gamedata.h"
#include "sr2shipfile.h"

struct UnknownName {
    int line;
    scriptformat::NameKind kind;
    std::string name;
    std::optional<std::string> suggestion;
};

// What check calls each kind of name: "weapon", "salvage chunk", "formation", ...
const char* NameKindWord(scriptformat::NameKind kind);

// Looks names up in the game data; suggestions are worked out once per unknown name.
class NameChecker {
public:
    explicit NameChecker(const gamedata::GameData& data) : data_(data) {}

    // Appends the names the last read of doc stored that the data does not know, in line order.
    void Check(const SR2ShipFile& doc, std::vector<UnknownName>& unknown);

private:
    const gamedata::GameData& data_;
    std::map<std::tuple<scriptformat::NameKind, int, std::string>, std::optional<std::string>> suggestions_;

    const gamedata::NameList* ListOf(scriptformat::NameKind kind) const;
    bool Known(scriptformat::NameKind kind, int family, std::string_view name) const;
    std::optional<std::string> Suggest(scriptformat::NameKind kind, int family, const std::string& name);
};
