// Lua 5.1 in a sandbox: loads a ship script and runs it under the game's functions as stubs.
#include <cstdio>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include "gamelua.h"

namespace gamelua {

bool Available() { return true; }

namespace {

constexpr int kHookStep = 1000;       // instructions between two looks at the count
constexpr std::size_t kFormBudget = 1u << 20;  // characters of one value's text at most
constexpr int kFormDepth = 16;
constexpr const char* kChunkName = "=script";
constexpr const char* kChunkPrefix = "script:";

// Everything one run needs, reachable from the state through the allocator's user data.
struct Run {
    std::size_t used = 0;       // bytes Lua holds
    std::size_t recorded = 0;   // bytes of recorded calls, held outside Lua
    std::size_t cap = 0;
    bool outOfMemory = false;
    long long count = 0;
    long long limit = 0;
    Reading* out = nullptr;
    std::string_view script;
};

Run* RunOf(lua_State* L) {
    void* ud = nullptr;
    lua_getallocf(L, &ud);
    return static_cast<Run*>(ud);
}

void* Allocate(void* ud, void* ptr, std::size_t osize, std::size_t nsize) {
    Run* run = static_cast<Run*>(ud);
    if (nsize == 0) {
        std::free(ptr);
        run->used -= osize;
        return nullptr;
    }
    if (nsize > osize && run->used + run->recorded + (nsize - osize) > run->cap) {
        run->outOfMemory = true;
        return nullptr;
    }
    void* p = std::realloc(ptr, nsize);
    if (p) run->used = run->used - osize + nsize;
    return p;
}

void CountHook(lua_State* L, lua_Debug*) {
    Run* run = RunOf(L);
    run->count += kHookStep;
    if (run->count > run->limit) {
        luaL_where(L, 0);  // in a hook, level 0 is the script's function that is running
        lua_pushfstring(L, "stopped after %d instructions", static_cast<int>(run->limit));
        lua_concat(L, 2);
        lua_error(L);
    }
}

// Raised with lua_error, which unwinds by longjmp past C++ destructors: the message lives in a
// buffer of its own, never in a std::string that would be left behind.
const char* MemoryMessage(const Run& run) {
    thread_local char text[64];
    std::snprintf(text, sizeof text, "ran out of its memory allowance (%llu MiB)",
                  static_cast<unsigned long long>(run.cap / (1024 * 1024)));
    return text;
}

// "script:12: message" split into its line and message.
void SplitPosition(const std::string& text, int& line, std::string& message) {
    line = 0;
    message = text;
    if (text.rfind(kChunkPrefix, 0) != 0) return;
    std::size_t i = std::strlen(kChunkPrefix);
    std::size_t digits = i;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    if (digits == i || text.compare(digits, 2, ": ") != 0) return;
    line = std::atoi(text.c_str() + i);
    message = text.substr(digits + 2);
}

// --- values as text -------------------------------------------------------------------------

const char* const kShipKey = "tarvisk.ship";  // registry: the table StartShipConfig made last

bool IsShip(lua_State* L, int idx) {
    lua_getfield(L, LUA_REGISTRYINDEX, kShipKey);
    const bool ship = !lua_isnil(L, -1) && lua_rawequal(L, idx, -1);
    lua_pop(L, 1);
    return ship;
}

bool IsIdentifier(const char* s, std::size_t n) {
    static const char* const reserved[] = {"and", "break", "do", "else", "elseif", "end", "false",
        "for", "function", "if", "in", "local", "nil", "not", "or", "repeat", "return", "then",
        "true", "until", "while"};
    if (n == 0 || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    for (std::size_t i = 1; i < n; ++i)
        if (!(std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_')) return false;
    for (const char* r : reserved)
        if (std::strlen(r) == n && std::memcmp(r, s, n) == 0) return false;
    return true;
}

struct Former {
    lua_State* L;
    std::size_t budget = kFormBudget;
    std::vector<const void*> path;  // the tables being written, outermost first

    std::string Text(int idx, int depth) {
        idx = idx < 0 ? lua_gettop(L) + idx + 1 : idx;
        std::string out;
        switch (lua_type(L, idx)) {
            case LUA_TNIL: out = "nil"; break;
            case LUA_TBOOLEAN: out = lua_toboolean(L, idx) ? "true" : "false"; break;
            case LUA_TNUMBER: out = NumberText(lua_tonumber(L, idx)); break;
            case LUA_TSTRING: {
                std::size_t n = 0;
                const char* s = lua_tolstring(L, idx, &n);
                out = QuotedText(std::string_view(s, std::min(n, budget)));
                break;
            }
            case LUA_TTABLE: out = Table(idx, depth); break;
            default: out = std::string("<") + lua_typename(L, lua_type(L, idx)) + ">"; break;
        }
        budget -= std::min(budget, out.size());
        return out;
    }

    std::string Key(int idx) {
        if (lua_type(L, idx) == LUA_TSTRING) {
            std::size_t n = 0;
            const char* s = lua_tolstring(L, idx, &n);
            if (IsIdentifier(s, n)) return std::string(s, n);
        }
        return "[" + Text(idx, kFormDepth) + "]";
    }

    std::string Table(int idx, int depth) {
        if (IsShip(L, idx)) return "NewShipType";
        const void* self = lua_topointer(L, idx);
        if (std::find(path.begin(), path.end(), self) != path.end()) return "<cycle>";
        if (depth >= kFormDepth || budget == 0) return "{...}";
        lua_checkstack(L, 4);
        path.push_back(self);
        std::string out = "{";
        bool first = true;
        int n = 0;
        for (;; ++n) {  // the array part first, in order
            lua_rawgeti(L, idx, n + 1);
            const bool none = lua_isnil(L, -1);
            if (!none) {
                out += (first ? "" : ", ") + Text(-1, depth + 1);
                first = false;
            }
            lua_pop(L, 1);
            if (none || budget == 0) break;
        }
        std::vector<std::pair<std::string, std::string>> rest;
        lua_pushnil(L);
        while (budget > 0 && lua_next(L, idx)) {
            const bool inArray = lua_type(L, -2) == LUA_TNUMBER && lua_tonumber(L, -2) >= 1 &&
                                 lua_tonumber(L, -2) <= n &&
                                 lua_tonumber(L, -2) == std::floor(lua_tonumber(L, -2));
            if (!inArray) rest.emplace_back(Key(-2), Text(-1, depth + 1));
            lua_pop(L, 1);
        }
        if (budget == 0) lua_pop(L, 1);  // the key lua_next left
        std::sort(rest.begin(), rest.end());
        for (const auto& [k, v] : rest) {
            out += (first ? "" : ", ") + k + " = " + v;
            first = false;
        }
        path.pop_back();
        return out + "}";
    }

    Value Of(int idx) {
        Value v;
        switch (lua_type(L, idx)) {
            case LUA_TNIL: v.kind = Value::Nil; break;
            case LUA_TBOOLEAN: v.kind = Value::Boolean; v.boolean = lua_toboolean(L, idx); break;
            case LUA_TNUMBER: v.kind = Value::Number; v.number = lua_tonumber(L, idx); break;
            case LUA_TSTRING: {
                std::size_t n = 0;
                const char* s = lua_tolstring(L, idx, &n);
                v.kind = Value::String;
                v.string.assign(s, n);
                break;
            }
            case LUA_TTABLE: v.kind = IsShip(L, idx) ? Value::Ship : Value::Table; break;
            default: v.kind = Value::Other; break;
        }
        v.text = Text(idx, 0);
        return v;
    }
};

// --- the game's functions -------------------------------------------------------------------

int StartShipConfig(lua_State* L) {
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setfield(L, LUA_REGISTRYINDEX, kShipKey);
    return 1;
}

int DefaultArgument(lua_State* L) {  // getShipNum(ship, name, default) and getShipStr
    lua_settop(L, 3);
    return 1;
}

int Record(lua_State* L) {
    Run* run = RunOf(L);
    Call call;
    call.name = lua_tostring(L, lua_upvalueindex(1));
    const int n = lua_gettop(L);
    call.args.reserve(static_cast<std::size_t>(n));
    std::size_t size = call.name.size() + 2;
    for (int i = 1; i <= n; ++i) {
        Former former{L, kFormBudget, {}};
        former.budget = std::min(kFormBudget, run->cap);
        call.args.push_back(former.Of(i));
        size += call.args.back().text.size() + call.args.back().string.size() + sizeof(Value);
    }
    run->recorded += size;
    if (run->used + run->recorded > run->cap) {
        run->outOfMemory = true;
        { Call gone = std::move(call); }  // freed here: the error below skips its destructor
        return luaL_error(L, "%s", MemoryMessage(*run));
    }
    run->out->calls.push_back(std::move(call));
    return 0;
}

// env's __index: any other name is a game function that records its calls.
int GameFunction(lua_State* L) {
    if (lua_type(L, 2) == LUA_TSTRING || lua_type(L, 2) == LUA_TNUMBER) lua_pushvalue(L, 2);
    else lua_pushstring(L, "?");
    lua_tostring(L, -1);  // a number key becomes its text
    lua_pushcclosure(L, Record, 1);
    return 1;
}

// --- the string library under guard ---------------------------------------------------------

// Pattern matching runs in C, where the instruction count does not reach: each repetition item
// can multiply the work by the subject's length. Refuse what could take seconds.
int GuardedPattern(lua_State* L) {
    std::size_t n = 0, plen = 0;
    if (lua_type(L, 1) == LUA_TSTRING && lua_type(L, 2) == LUA_TSTRING) {
        lua_tolstring(L, 1, &n);
        const char* p = lua_tolstring(L, 2, &plen);
        const bool plain = lua_toboolean(L, lua_upvalueindex(2)) && lua_toboolean(L, 4);
        int repeats = 0;
        for (std::size_t i = 0; !plain && i < plen; ++i) {
            if (p[i] == '%') ++i;
            else if (p[i] == '[') {  // a set: its '-' is a range, not a repetition
                ++i;
                if (i < plen && p[i] == '^') ++i;
                if (i < plen) ++i;
                while (i < plen && p[i] != ']') i += p[i] == '%' ? 2 : 1;
            } else if (p[i] == '*' || p[i] == '+' || p[i] == '-' || p[i] == '?') ++repeats;
        }
        if (repeats > 0 && std::pow(static_cast<double>(n) + 1, repeats + 1) > 5e7)
            return luaL_error(L, "pattern with %d repetitions is too costly on a string of %d bytes",
                              repeats, static_cast<int>(n));
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// string.rep builds its result in C, byte by byte: an empty string repeated a billion times
// allocates nothing and never stops.
int GuardedRep(lua_State* L) {
    std::size_t len = 0;
    luaL_checklstring(L, 1, &len);
    const double times = luaL_checknumber(L, 2);
    if (len == 0 || times < 1) {
        lua_pushliteral(L, "");
        return 1;
    }
    Run* run = RunOf(L);
    if (times * static_cast<double>(len) > static_cast<double>(run->cap)) {
        run->outOfMemory = true;
        return luaL_error(L, "%s", MemoryMessage(*run));
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, 1);
    return 1;
}

void Guard(lua_State* L, int lib, const char* name, lua_CFunction guard, bool plainArg) {
    lua_getfield(L, lib, name);
    if (lua_isnil(L, -1)) {
        lua_pop(L, 1);
        return;
    }
    lua_pushboolean(L, plainArg);
    lua_pushcclosure(L, guard, 2);
    lua_setfield(L, lib, name);
}

void OpenLibrary(lua_State* L, lua_CFunction open, const char* name) {
    lua_pushcfunction(L, open);
    lua_pushstring(L, name);
    lua_call(L, 1, 0);
}

// --- one run --------------------------------------------------------------------------------

void LoadFailure(LoadCheck& check, const std::string& text) {
    check.loads = false;
    SplitPosition(text, check.line, check.message);
}

// Loads the chunk and leaves it on the stack; false (and check filled) when it does not load.
bool LoadChunk(lua_State* L, std::string_view script, LoadCheck& check) {
    if (!script.empty() && script[0] == LUA_SIGNATURE[0]) {
        // Precompiled chunks skip the parser, and Lua 5.1 does not verify them: never run one.
        check = {false, 1, "precompiled chunk: only script text is read"};
        return false;
    }
    std::string text;
    if (!script.empty() && script[0] == '#') {
        // As loadfile does, a first line starting with '#' is skipped; its line end stays, so
        // that the lines keep their numbers.
        text.assign(script);
        std::size_t end = text.find('\n');
        text.replace(0, end == std::string::npos ? text.size() : end, "");
        script = text;
    }
    if (luaL_loadbuffer(L, script.data(), script.size(), kChunkName) != 0) {
        LoadFailure(check, lua_tostring(L, -1) ? lua_tostring(L, -1) : "the script does not load");
        lua_pop(L, 1);
        return false;
    }
    check = {true, 0, {}};
    return true;
}

int CheckMain(lua_State* L) {
    Run* run = static_cast<Run*>(lua_touserdata(L, 1));
    LoadChunk(L, run->script, run->out->load);
    return 0;
}

int ReadMain(lua_State* L) {
    Run* run = static_cast<Run*>(lua_touserdata(L, 1));
    Reading& out = *run->out;
    if (!LoadChunk(L, run->script, out.load)) return 0;
    const int chunk = lua_gettop(L);

    OpenLibrary(L, luaopen_string, LUA_STRLIBNAME);
    OpenLibrary(L, luaopen_math, LUA_MATHLIBNAME);
    OpenLibrary(L, luaopen_table, LUA_TABLIBNAME);

    lua_newtable(L);  // the script's environment
    const int env = lua_gettop(L);
    lua_getglobal(L, LUA_STRLIBNAME);
    const int str = lua_gettop(L);
    // The string table is also what strings' metatable reaches (("").dump): change it in place.
    lua_pushnil(L);
    lua_setfield(L, str, "dump");
    for (const char* name : {"find", "match", "gmatch", "gfind", "gsub"})
        Guard(L, str, name, GuardedPattern, std::strcmp(name, "find") == 0);
    Guard(L, str, "rep", GuardedRep, false);
    lua_setfield(L, env, LUA_STRLIBNAME);
    lua_getglobal(L, LUA_MATHLIBNAME);
    lua_setfield(L, env, LUA_MATHLIBNAME);
    lua_getglobal(L, LUA_TABLIBNAME);
    lua_setfield(L, env, LUA_TABLIBNAME);
    lua_pushcfunction(L, StartShipConfig);
    lua_setfield(L, env, "StartShipConfig");
    lua_pushcfunction(L, DefaultArgument);
    lua_setfield(L, env, "getShipNum");
    lua_pushcfunction(L, DefaultArgument);
    lua_setfield(L, env, "getShipStr");
    lua_newtable(L);
    lua_pushcfunction(L, GameFunction);
    lua_setfield(L, -2, "__index");
    lua_setmetatable(L, env);
    lua_pushvalue(L, env);
    lua_setfenv(L, chunk);

    lua_pushvalue(L, chunk);
    lua_sethook(L, CountHook, LUA_MASKCOUNT, kHookStep);
    const int rc = lua_pcall(L, 0, 0, 0);
    lua_sethook(L, nullptr, 0, 0);
    if (rc == 0) {
        out.finished = true;
    } else {
        if (run->outOfMemory || rc == LUA_ERRMEM) {
            out.error = MemoryMessage(*run);
        } else {
            const char* msg = lua_tostring(L, -1);
            SplitPosition(msg ? msg : std::string("error object is a ") + luaL_typename(L, -1) + " value",
                          out.errorLine, out.error);
        }
        lua_pop(L, 1);
    }
    // What the script configured, even when it stopped early, as the game would have it. Room
    // to write it is made beyond the allowance the script had.
    run->cap += 8u * 1024 * 1024;
    lua_pushstring(L, "NewShipType");
    lua_rawget(L, env);  // raw: otherwise __index makes it a game function
    if (lua_istable(L, -1)) {
        const int ship = lua_gettop(L);
        lua_pushnil(L);
        while (lua_next(L, ship)) {
            Former former{L, kFormBudget, {}};
            std::string key = former.Key(-2);
            out.keys.emplace(std::move(key), former.Of(-1));
            lua_pop(L, 1);
        }
    }
    return 0;
}

template <typename Main>
void Protected(std::string_view script, Reading& out, const Limits& limits, Main main) {
    Run run;
    run.cap = limits.memoryBytes;
    run.limit = limits.instructions;
    run.out = &out;
    run.script = script;
    lua_State* L = lua_newstate(Allocate, &run);
    if (!L) {
        out.load = {false, 0, MemoryMessage(run)};
        return;
    }
    const int rc = lua_cpcall(L, main, &run);
    if (rc != 0) {
        // Only the harness itself can fail here (the script runs under its own pcall).
        const std::string why = run.outOfMemory || rc == LUA_ERRMEM
                                    ? MemoryMessage(run)
                                    : (lua_tostring(L, -1) ? lua_tostring(L, -1) : "Lua failed");
        if (!out.load.loads && out.load.message.empty()) out.load = {false, 0, why};
        else if (out.load.loads && out.error.empty()) {
            out.finished = false;
            out.error = why;
        }
    }
    lua_close(L);
}

}  // namespace

LoadCheck CheckLoad(std::string_view script) {
    // Loading runs nothing of the script, so one state serves every check of a thread: a check
    // of a whole mod pays for making a state once, not once per script.
    struct Loader {
        Run run;
        lua_State* L = nullptr;
        Loader() {
            run.cap = Limits{}.memoryBytes;
            L = lua_newstate(Allocate, &run);
        }
        ~Loader() {
            if (L) lua_close(L);
        }
    };
    thread_local Loader loader;
    Reading r;
    if (!loader.L) {
        Protected(script, r, Limits{}, CheckMain);
        return r.load;
    }
    loader.run.out = &r;
    loader.run.script = script;
    loader.run.outOfMemory = false;
    const int rc = lua_cpcall(loader.L, CheckMain, &loader.run);
    if (rc != 0) r.load = {false, 0, loader.run.outOfMemory || rc == LUA_ERRMEM ? MemoryMessage(loader.run) : "Lua failed"};
    lua_settop(loader.L, 0);
    loader.run.out = nullptr;
    return r.load;
}

Reading Read(std::string_view script, const Limits& limits) {
    Reading r;
    Protected(script, r, limits, ReadMain);
    return r;
}

}  // namespace gamelua
