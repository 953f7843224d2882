#include <gtest/gtest.h>

#include <string>

#include "gamelua.h"
#include "savecheck.h"

using namespace gamelua;

namespace {

std::string Calls(const Reading& r) {
    std::string out;
    for (const auto& c : r.calls) out += CallText(c) + "\n";
    return out;
}

}  // namespace

TEST(GameLua, SyntaxErrorsAreLuasOwn) {
    if (!Available()) GTEST_SKIP() << kNoLua;
    struct Case { const char* script; int line; const char* message; };
    const Case cases[] = {
        {"NewShipType = StartShipConfig()\nNewShipType.buildCost 12\n", 2, "'=' expected near '12'"},
        {"NewShipType = StartShipConfig()\nNewShipType.displayedName = \"abc\n", 2, "unfinished string near '\"abc'"},
        {"if x then\nNewShipType.a = 1\n", 3, "'end' expected (to close 'if' at line 1) near '<eof>'"},
        {"x = )\n", 1, "unexpected symbol near ')'"},
    };
    for (const Case& c : cases) {
        const LoadCheck check = CheckLoad(c.script);
        EXPECT_FALSE(check.loads) << c.script;
        EXPECT_EQ(check.line, c.line) << c.script;
        EXPECT_EQ(check.message, c.message) << c.script;
        EXPECT_EQ(Read(c.script).load.message, c.message);
    }
    // Forms that load: comments, long strings, a '#' first line as loadfile skips it, CR LF.
    for (const char* ok : {"#!/bin/sh\nx = 1\n", "--[[ a\nb ]] x = [[long\ntext]]\r\ny = 2;\n",
                           "x = 1 -- trailing\n", ""})
        EXPECT_TRUE(CheckLoad(ok).loads) << ok;
    // Precompiled chunks are never run, whatever they hold.
    EXPECT_FALSE(CheckLoad("\x1bLua\x51\x00garbage").loads);
}

TEST(GameLua, TheShipAsTheGameReadsIt) {
    if (!Available()) GTEST_SKIP() << kNoLua;
    const Reading r = Read(
        "NewShipType = StartShipConfig()\n"
        "NewShipType.buildCost = 500\n"
        "NewShipType.buildCost = 79*1.1\n"
        "NewShipType.maxhealth = getShipNum(NewShipType, \"maxhealth\", 160000)\n"
        "NewShipType.displayedName = \"Say \\\"hi\\\"\\n\"\n"
        "NewShipType.tiny = 1e-05\nNewShipType.big = 2^70\nNewShipType[1] = true\n"
        "NewShipType[\"odd key\"] = {1, 2, x = \"y\", [10] = false}\n"
        "StartShipWeaponConfig(NewShipType, \"Gun\", \"Weapon_Gun\", \"Fire\")\n"
        "addAbility(NewShipType, \"CanDock\", 1, 0)\n"
        "LoadSharedModel(NewShipType, \"Hgn_Scout\")\n"
        "print(NewShipType.buildCost, {NewShipType})\n");
    ASSERT_TRUE(r.load.loads);
    EXPECT_TRUE(r.finished) << r.error;
    EXPECT_EQ(*KeyValueText(r, "buildCost"), "86.9");
    EXPECT_EQ(*KeyValueText(r, "MaxHealth"), "160000");  // case is forgiven when nothing matches
    EXPECT_EQ(*KeyValueText(r, "displayedName"), "\"Say \\\"hi\\\"\\n\"");
    EXPECT_EQ(r.keys.at("displayedName").string, "Say \"hi\"\n");
    EXPECT_EQ(*KeyValueText(r, "tiny"), "1e-05");
    EXPECT_EQ(*KeyValueText(r, "big"), "1180591620717411303424");
    EXPECT_EQ(*KeyValueText(r, "[1]"), "true");
    EXPECT_EQ(*KeyValueText(r, "[\"odd key\"]"), "{1, 2, [10] = false, x = \"y\"}");
    EXPECT_FALSE(KeyValueText(r, "mass"));
    EXPECT_EQ(Calls(r),
              "StartShipWeaponConfig(NewShipType, \"Gun\", \"Weapon_Gun\", \"Fire\")\n"
              "addAbility(NewShipType, \"CanDock\", 1, 0)\n"
              "LoadSharedModel(NewShipType, \"Hgn_Scout\")\n"
              "print(86.9, {NewShipType})\n");
    // A run that stops keeps what it configured, and says where and why it stopped.
    const Reading stopped = Read("NewShipType = StartShipConfig()\nNewShipType.a = 1\nx.y = 2\nNewShipType.b = 2\n");
    EXPECT_FALSE(stopped.finished);
    EXPECT_EQ(stopped.errorLine, 3);
    EXPECT_NE(stopped.error.find("attempt to index"), std::string::npos) << stopped.error;
    EXPECT_EQ(stopped.keys.size(), 1u);
}

TEST(GameLua, HostileScriptsAreStoppedOrRefused) {
    if (!Available()) GTEST_SKIP() << kNoLua;
    Limits small;
    small.instructions = 1'000'000;
    small.memoryBytes = 4u << 20;
    auto stopsWith = [&](const char* script, const char* why) {
        const Reading r = Read(script, small);
        EXPECT_TRUE(r.load.loads) << script;
        EXPECT_FALSE(r.finished) << script;
        EXPECT_NE(r.error.find(why), std::string::npos) << script << ": " << r.error;
    };
    stopsWith("while true do end", "stopped after 1000000 instructions");
    stopsWith("local function f() return f() end f()", "stopped after");
    stopsWith("local s = 'x' while true do s = s .. s end", "ran out of its memory allowance (4 MiB)");
    stopsWith("x = string.rep('abc', 1e9)", "ran out of its memory allowance");
    stopsWith("t = {} for i = 1, 1e9 do t[i] = i end", "ran out of");
    stopsWith("while true do foo('recorded calls count too') end", "ran out of");
    stopsWith("x = string.rep('', 1e12) .. string.rep('a', 1e5):find('.-.-.-b')", "too costly");
    // The host is out of reach: no os, io, loadstring, debug, string.dump, getfenv.
    stopsWith("os.execute('touch /tmp/tarvisk-hostile')", "attempt to index");
    stopsWith("io.open('/etc/passwd')", "attempt to index");
    stopsWith("f = string.dump(print)", "attempt to call");
    stopsWith("f = ('').dump(function() end)", "attempt to call");
    stopsWith("debug.getinfo(1)", "attempt to index");
    // Unknown globals are game functions: recorded, never run.
    const Reading r = Read("loadstring('os.exit()')() dofile('/etc/passwd') require('io')", small);
    EXPECT_FALSE(r.finished);  // loadstring returned nothing to call
    EXPECT_EQ(Calls(r), "loadstring(\"os.exit()\")\n");
    const Reading env = Read("x = getfenv(0) y = setfenv(1, {}) z = collectgarbage('count')", small);
    EXPECT_TRUE(env.finished);
    EXPECT_EQ(env.calls.size(), 3u);
}

TEST(GameLua, SavesChangeOnlyTheEdit) {
    if (!Available()) GTEST_SKIP() << kNoLua;
    const std::string head = "NewShipType = StartShipConfig()\n";
    const std::string old = head +
        "NewShipType.buildCost = 500\nNewShipType.mass = 20\n"
        "NewShipType.mass = 30\n"  // the second assignment wins
        "StartShipWeaponConfig(NewShipType, \"A\", \"B\", \"C\")\n"
        "StartShipWeaponConfig(NewShipType, \"D\", \"E\", \"F\")\n"
        "LoadModel(NewShipType, 1)\n";
    const std::string canonOld = head + "NewShipType.buildCost = 500\nNewShipType.mass = 30\n";
    const std::string canonNew = head + "NewShipType.buildCost = 600\nNewShipType.mass = 30\n";
    // The edit itself passes; so do the writer's additions.
    EXPECT_EQ(FirstChange({old, old + "NewShipType.buildCost = 600\n", canonOld, canonNew}), "");
    const std::string added = "NewShipType.newKey = 0\naddAbility(NewShipType, \"CanDock\", 0, 0)\n"
                              "loadShipPatchList(NewShipType, \"\")\nLoadSharedModel(NewShipType, \"x\")\n";
    EXPECT_EQ(FirstChange({old, old + added, canonOld, canonOld}), "");
    // Anything else stops the save, and the message names the entry.
    EXPECT_EQ(FirstChange({old, old + "NewShipType.mass = 20\n", canonOld, canonNew}),
              "it would change what the game reads: mass would be 20 instead of 30");
    std::string swapped = old;
    swapped.replace(swapped.find("\"A\", \"B\", \"C\""), 13, "\"D\", \"E\", \"F\"");
    swapped.replace(swapped.rfind("\"D\", \"E\", \"F\""), 13, "\"A\", \"B\", \"C\"");
    EXPECT_EQ(FirstChange({old, swapped, canonOld, canonNew}),
              "it would change what the game reads: StartShipWeaponConfig(NewShipType, \"A\", \"B\", \"C\") "
              "would become StartShipWeaponConfig(NewShipType, \"D\", \"E\", \"F\")");
    EXPECT_NE(FirstChange({old, old + "addAbility(NewShipType, \"CanDock\", 1, 0)\n", canonOld, canonOld}), "");
    EXPECT_NE(FirstChange({old, old + "x = = 1\n", canonOld, canonOld}).find("would no longer load (line 8"),
              std::string::npos);
    // A script Lua cannot load is saved as before.
    EXPECT_EQ(FirstChange({"x = = 1", "anything", "", ""}), "");
}
