// tarvisk-cli eval: the ship as the game reads it. Each script runs in Lua 5.1 under the game's
// functions as stubs (gamelua.h); the tool prints every key of NewShipType with its final value,
// one line per key sorted by key (key = value), then every call in order (name(arg, ...)).
// With more than one FILE, each file's lines follow a line "== FILE". --format json gives the
// same as one JSON document. A script that does not load, or stops, is reported on standard
// error as FILE:LINE: error: MESSAGE (what it configured before it stopped is still printed).
//
// Exit codes: 0 every script ran, 1 a file does not exist, 2 any other failure (a file that cannot
// be read, wrong use, a build without Lua), 3 a script did not load or stopped.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kEvalUsage;
