// What the game gets for the entries of a script that the editor keeps as written (79*1.1,
// getShipNum(NewShipType, "maxhealth", 160000)): the script run once in the game's Lua, and the
// values looked up per entry from that one run. The windows show them beside the text as written.
//
// Nothing is known (every lookup is empty) in a build without Lua, or when the script does not
// load in Lua or stops before its end: what it configured then depends on where the game stops.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "otherentries.h"

class ShipDocument;

class GameValues {
public:
    GameValues() = default;  // knows nothing
    // Runs the script a save of the document would write now, in the game's Lua.
    explicit GameValues(const ShipDocument& document);
    // Runs the given script.
    explicit GameValues(std::string_view script);

    bool Known() const { return known_; }

    // The final value of the entry a field's line sets, in its Lua form ("86.9", "160000",
    // "\"Kinetic\""): the key of the field's assignment, or the model LoadSharedModel names last.
    // Empty for a field without such an entry (the list editors' fields, the level-of-detail
    // slots, which share one key) and for an entry the script does not set.
    std::optional<std::string> OfField(std::string_view field) const;

    // For each row of Other Entries, what the game makes of its statement, or nothing: an
    // assignment to a key of NewShipType gives the key's final value; a call gives its arguments
    // after NewShipType as the game received them, when the script's calls of that function are
    // just the rows' (the n-th row's is the n-th call). Blocks and other tables give nothing.
    std::vector<std::optional<std::string>> OfRows(const std::vector<OtherEntries::Row>& rows) const;

    // Whether the game's value tells more than the text as written: not when it is that text
    // without its trailing comment ("900 -- tough" and 900, "\"Kinetic\"" and "Kinetic" quoted
    // again). Windows show a game value only when it does.
    static bool TellsMore(std::string_view written, std::string_view game);

private:
    void Run(std::string_view script);
    std::optional<std::string> OfKey(std::string_view key) const;

    bool known_ = false;
    std::map<std::string, std::string, std::less<>> keys_;  // Lua key form -> value
    // Every call, in order: its name and its arguments after the ship table.
    std::vector<std::pair<std::string, std::string>> calls_;
};
