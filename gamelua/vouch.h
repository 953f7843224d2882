// Which lines of a script the hand-written reader can vouch for, so that Lua, the judge of whether a
// script loads, is asked only about the others. A mod is hundreds of scripts whose lines nearly
// all take a few plain shapes; loading each whole in Lua would cost more than reading it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gamelua.h"

namespace gamelua {

// The script as Lua needs to see it to say whether it loads: the statements vouched for are
// blanked, lines keeping their numbers, except round a line not vouched for: the statement before
// it, and the statements after it up to the first assignment to a field, keep the boundaries
// round that line as they are. Empty when every line is vouched for.
std::string LinesForLua(const std::vector<std::string_view>& lines);

// Whether script loads, as CheckLoad says, with lines its lines (LF, CR LF or a lone CR ending
// each): Lua reads only LinesForLua(lines), and the whole script again only when that fails, for
// its own line and message.
LoadCheck CheckLoadVouched(std::string_view script, const std::vector<std::string_view>& lines);

}  // namespace gamelua
