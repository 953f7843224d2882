// Saves that prove they changed only the edit: the game's reading of the script on disk and of
// the script about to replace it are compared, entry by entry. An entry is a key of NewShipType,
// the calls of one game function in their order, an ability (the addAbility calls that name it)
// or the model (LoadModel and LoadSharedModel).
#pragma once

#include <string>
#include <string_view>

#include "gamelua.h"

namespace gamelua {

struct SaveScripts {
    std::string_view before;           // the script the save replaces (as read or last saved)
    std::string_view after;            // the script about to be written
    // The writer's script of the document as it was read and as it is now: the entries whose
    // reading differs between these two are the ones the user edited, and may change.
    std::string_view canonicalBefore;
    std::string_view canonicalAfter;
};

// Empty when the save may go ahead; otherwise why not, naming the first entry whose meaning
// would change ("it would change what the game reads: buildCost would be 500 instead of 500.5").
// Not changes: what the writer always adds (a key the old script did not set, a disabled ability
// line, a patch-list call without patches, LoadSharedModel for a model-loading line). A script
// that Lua cannot load or that stops before its end, and a build without Lua, pass unchecked.
std::string FirstChange(const SaveScripts& scripts, const Limits& limits = {});

}  // namespace gamelua
