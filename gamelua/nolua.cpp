// A build without Lua: the same interface, and every script "does not load" for want of it.
#include "gamelua.h"

namespace gamelua {

bool Available() { return false; }

LoadCheck CheckLoad(std::string_view) { return {false, 0, kNoLua}; }

Reading Read(std::string_view, const Limits&) {
    Reading r;
    r.load = CheckLoad({});
    return r;
}

}  // namespace gamelua
