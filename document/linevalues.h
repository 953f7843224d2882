// Compares two script lines by what they say rather than how they are spaced: the reader uses it
// to decide whether writing back what it stored gives the line it read.
#pragma once

#include <string_view>

namespace linevalues {

// True when both lines hold the same sequence of values: quoted strings compared exactly,
// numbers by value (2, 2.0 and 2E+00 are the same), names and punctuation exactly (Lua names are
// case-sensitive); blanks and tabs outside quotes are ignored.
bool SameValues(std::string_view a, std::string_view b);

}  // namespace linevalues
