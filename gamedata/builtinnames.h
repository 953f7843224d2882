// The names the game ships with, offered before anything found in the data directory. All are
// plain ASCII.
#pragma once

#include <string>
#include <vector>

namespace builtinnames {

// The formations the formation boxes always offer, in their order (26 names).
const std::vector<std::string>& Formations();

// The flight manoeuvres the mirror manoeuvre boxes always offer, in their order (23 names).
const std::vector<std::string>& Maneuvers();

// The game's standard weapons, in the order the weapons editor offers them (94 names).
const std::vector<std::string>& Weapons();

// The game's standard salvage chunks, in the order the salvage editor offers them (18 names).
const std::vector<std::string>& SalvageChunks();

}  // namespace builtinnames
