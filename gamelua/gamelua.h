// The game's own script language as the judge of what a ship script means. The hand-written
// reader keeps a script's lines; Lua 5.1, the language the game runs the scripts in, says whether
// a script loads and what it configures. Standard C++ at this interface; Lua stays inside.
//
// Scripts are untrusted: every run happens in a fresh Lua state whose environment holds only the
// string, math and table libraries (without string.dump) and the game's functions as stubs. A run
// is stopped after Limits::instructions virtual-machine instructions and when its memory passes
// Limits::memoryBytes; pattern functions refuse patterns that would take too long on their subject
// (they run in C, beyond the instruction count). Precompiled chunks are refused unread.
//
// Builds without Lua (TARVISK_LUA off, e.g. the Windows build) have the same interface:
// Available() is false and every script "does not load" with kNoLua as the message.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gamelua {

// Whether this build has Lua.
bool Available();
inline constexpr const char* kNoLua = "this build has no Lua";

struct Limits {
    long long instructions = 20'000'000;         // about a tenth of a second of work
    std::size_t memoryBytes = 64u * 1024 * 1024;  // Lua's heap plus what the run records
};

// Does the script load? On failure, the line (counted from 1) and Lua's own message without its
// position, e.g. "'=' expected near '12'" or "unfinished string near '\"abc'".
struct LoadCheck {
    bool loads = false;
    int line = 0;
    std::string message;
};
LoadCheck CheckLoad(std::string_view script);

// A value as the run saw it. text is its Lua form: a number in its shortest exact form ("86.9",
// "160000", "1e+20", "1/0"), a string in double quotes with escapes, true/false/nil, a table as a
// table constructor, the ship table as NewShipType; functions and other values as "<function>" etc.
struct Value {
    enum Kind : unsigned char { Nil, Boolean, Number, String, Table, Ship, Other };
    // (Ordered so that a call of many arguments holds no padding between its values.)
    std::string text;
    std::string string;   // String: the bytes themselves
    double number = 0;    // Number
    Kind kind = Nil;
    bool boolean = false; // Boolean
};

struct Call {
    std::string name;
    std::vector<Value> args;
};

// The ship as the game reads it: the script run with StartShipConfig returning a fresh table,
// getShipNum and getShipStr returning their default (third) argument, and every other global the
// script calls recorded with its arguments (and returning nothing).
struct Reading {
    LoadCheck load;            // when !load.loads, nothing ran
    bool finished = false;     // ran to its end without an error
    int errorLine = 0;         // where a run that did not finish stopped (0: unknown)
    std::string error;         // why it stopped ("attempt to call ...", "stopped after N instructions")
    // Every key of the table NewShipType holds at the end, by its Lua key form (buildCost,
    // ["a b"], [1]), sorted by that form.
    std::map<std::string, Value> keys;
    // Every recorded call, in order; grown in blocks, for a script may make very many calls and
    // the list is never held twice while it grows.
    std::deque<Call> calls;
};
Reading Read(std::string_view script, const Limits& limits = {});

// The value the game gets for an entry of NewShipType, as text (its Lua form: "86.9", "160000",
// "\"Kinetic\""), or nothing when the script does not set it. key is the entry's name after
// "NewShipType." (maxhealth); when no key matches exactly, one that differs only in case is taken.
std::optional<std::string> KeyValueText(const Reading& reading, std::string_view key);

// A script's final value for key, as above, read from the script text (one run).
std::optional<std::string> KeyValueText(std::string_view script, std::string_view key);

// Forms used by the output: a number's shortest exact text, a string in double quotes.
std::string NumberText(double v);
std::string QuotedText(std::string_view s);
// A call as one line: name(arg, arg, ...).
std::string CallText(const Call& call);

}  // namespace gamelua
