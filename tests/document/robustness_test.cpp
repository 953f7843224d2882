// Bad input: every kind of damaged script is read without a crash, says what it could not read,
// and normalizes to a file that normalizes to itself.
#include <gtest/gtest.h>

#include <random>

#include "docsupport.h"
#include "statements.h"
#include "u8path.h"

using namespace docsupport;
using Lines = std::vector<std::string>;

TEST(Robustness, BinaryGarbageAndNulBytes) {
    std::mt19937 random(2024);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(1 + random() % 20000, '\0');
        // Any byte but NUL (a file with one is refused as no text), and no ESC first (a compiled
        // script).
        for (char& c : bytes) c = static_cast<char>(1 + random() % 255);
        if (bytes[0] == '\x1B') bytes[0] = 'x';
        if (round % 2) {  // garbage dressed as script lines, so the parsers see it too
            const char* prefixes[] = {"NewShipType.mass = ", "addAbility(NewShipType, \"CanDock\", ",
                                      "SpawnSalvageOnDeath(", "loadShipPatchList(NewShipType, \"",
                                      "StartShipWeaponConfig(", "LoadSharedModel(\""};
            for (std::size_t at = 0; at < bytes.size(); at += 1 + random() % 80)
                bytes.insert(at, std::string("\n") + prefixes[random() % 6]);
        }
        Read r(bytes);
        ASSERT_EQ(r.rc, 0) << "round " << round;
        Normalize(bytes);
    }
    Read nul(std::string(5000, '\0'));
    EXPECT_EQ(nul.rc, 2);
    EXPECT_EQ(nul.doc.NotTextReason(), "is not a text file: it holds NUL bytes");
}

TEST(Robustness, AOneMegabyteLine) {
    const std::string name(1 << 20, 'x');
    Read r = Read::Lines({"NewShipType.displayedName = \"" + name + "\"", std::string(1 << 20, '('),
                          "NewShipType.mass = " + std::string(1 << 20, '9')});
    EXPECT_EQ(r.doc.sDisplayedName, name);
    EXPECT_EQ(r.doc.UnrecognizedLines().size(), 2u);
    EXPECT_EQ(r.doc.ErrorCount(), 1);
    EXPECT_EQ(r.doc.iMass, 0);
    Normalize(r.Written());
}

// A long bracket closes only on a closing bracket of its own level, wherever that stands; one
// that never closes is its own line alone, even when it opens inside a statement begun above it.
TEST(Robustness, LongBracketsThatNeverCloseAmongOnesThatDo) {
    const std::vector<std::string> text = {"x = [====[", "y = [==[", "z ]=]", "]==]",    // 0 alone, 1-3
                                           "a = [=[ ]=] b = [=[", "]=]",              // 4-5
                                           "f(", "s = [===[", "g()", "t = [[ ]=====]"};  // 6 open, 7 alone
    const std::vector<std::string_view> lines(text.begin(), text.end());
    const auto st = statements::Split(lines);
    std::vector<std::tuple<std::size_t, std::size_t, bool, bool>> got;
    for (const auto& s : st) got.emplace_back(s.first, s.count, s.open, s.neverEnds);
    using T = std::tuple<std::size_t, std::size_t, bool, bool>;
    EXPECT_EQ(got, (std::vector<T>{T{0, 1, false, true}, T{1, 3, false, false}, T{4, 2, false, false},
                                   T{6, 1, true, false}, T{7, 1, false, true}, T{8, 1, false, false},
                                   T{9, 1, false, true}}));
    // One that opens on a line that begins inside the statement's own string or long bracket
    // ends the statement with that line: cut before it, the statement would run on.
    const Lines closing = {"x = [[", "]] .. [==[", "f(\"a\\", "b\" .. [=[", "NewShipType.mass = 3"};
    const std::vector<std::string_view> closingViews(closing.begin(), closing.end());
    got.clear();
    for (const auto& s : statements::Split(closingViews)) got.emplace_back(s.first, s.count, s.open, s.neverEnds);
    EXPECT_EQ(got, (std::vector<T>{T{0, 2, false, true}, T{2, 2, false, true}, T{4, 1, false, false}}));
    EXPECT_EQ(Read::Lines(closing).doc.iMass, 3);
    Normalize(Crlf(closing));
}

// A short string goes on to the next line only after a backslash at the end of its line: one that
// opens as the line's last character ends there, before and after the writer evens out its blanks.
TEST(Robustness, AStringOpenedAtTheEndOfALineEndsThere) {
    const Lines lines = {"NewShipType.TOScale =\" ", "f(\"", "NewShipType.mass = 3"};
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    EXPECT_EQ(statements::Split(views).size(), 3u);
    EXPECT_EQ(Read::Lines(lines).doc.iMass, 3);
    Normalize("NewShipType.TOScale =\" ");
}

// A block that never closes (Lua loads none of the script) runs to the end of the file: nothing
// after it is read, so nothing the writer moves can change how it reads the next time.
TEST(Robustness, ABlockThatNeverClosesRunsToTheEndOfTheFile) {
    const Lines rest = {"for i = 1, 2 do", "    f(i", "NewShipType.mass = heavyMass", "if x then", "NewShipType.mass = 2.5",
                        "end"};
    Lines script = {"NewShipType = StartShipConfig()", "if y then NewShipType.mass = 60 end", "NewShipType.mass = 50"};
    script.insert(script.end(), rest.begin(), rest.end());
    Read r = Read::Lines(script);
    EXPECT_EQ(r.doc.iMass, 50);
    std::string whole = rest[0];
    for (std::size_t i = 1; i < rest.size(); ++i) whole += "\r\n" + rest[i];
    EXPECT_EQ(r.doc.UnrecognizedLines().back(), whole);
    const std::string w = Normalize(Crlf(script));
    EXPECT_EQ(SplitLines(w).back(), "end");
}

// A call line cut short at any comma cannot crash the reader, and whatever became of it, it
// comes back as it was read.
TEST(Robustness, EveryCallLineOfTheSampleCutShortAtEveryComma) {
    const auto sample = SplitLines(ReadBytes(U8Path(TARVISK_EXAMPLES_DIR) / "tvk_scout.ship"));
    int cuts = 0;
    for (const auto& line : sample) {
        const bool call = line.rfind("StartShipWeaponConfig", 0) == 0 || line.rfind("SpawnSalvage", 0) == 0 ||
                          line.rfind("loadShipPatchList", 0) == 0 || line.rfind("addAbility", 0) == 0 ||
                          line.rfind("LoadSharedModel", 0) == 0;
        if (!call) continue;
        const bool alwaysFails = line.rfind("StartShip", 0) == 0 || line.rfind("SpawnSalvage", 0) == 0 ||
                                 line.find("SensorPing") != std::string::npos;
        for (std::size_t at = line.find(','); at != std::string::npos; at = line.find(',', at + 1)) {
            const std::string cut = line.substr(0, at);
            ++cuts;
            Read r = Read::Lines({"NewShipType.buildCost = 1", cut, "NewShipType.buildTime = 2"});
            ASSERT_EQ(r.rc, 0) << cut;
            EXPECT_EQ(r.doc.iBuildTime, 2) << cut;
            if (alwaysFails) {
                EXPECT_EQ(r.doc.ErrorCount(), 1) << cut;
                EXPECT_EQ(r.Errors(), "Error on line 1: " + cut + "\n");
                EXPECT_EQ(r.doc.UnrecognizedLines(), Lines{cut + "\r\n--"});  // it never closes
            }
            const std::string w = Normalize(r.Written());
            EXPECT_TRUE(HasLine(w, cut)) << cut;
        }
    }
    EXPECT_GT(cuts, 50);
}

TEST(Robustness, NumbersBeyondThirtyTwoBits) {
    const Lines bad = {
        "NewShipType.buildCost = 99999999999",
        "NewShipType.militaryUnit = 70000",
        "NewShipType.thrusterMaxSpeed = 1e400",
        "SpawnSalvageOnDeath(NewShipType, \"s\", 1e10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)",
        "loadShipPatchList(NewShipType, \"d/\", 5000000000, \"e\", \"m\")",
        "addAbility(NewShipType, \"CloakAbility\", 1, 2147483648, 0, 0, 0, 0, 0, 0)",
    };
    Read r = Read::Lines(bad);
    EXPECT_EQ(r.doc.ErrorCount(), 6);
    EXPECT_EQ(r.doc.UnrecognizedLines(), bad);
    EXPECT_EQ(r.doc.iBuildCost, 0);
    EXPECT_EQ(r.doc.SSOD_Num, -1);
    EXPECT_FALSE(r.doc.bCloakAbility);
    Read big = Read::Lines({"NewShipType.thrusterMaxSpeed = 1e300", "NewShipType.buildCost = -2147483648"});
    EXPECT_EQ(big.doc.fThrusterMaxSpeed, 1e300);
    EXPECT_EQ(big.doc.iBuildCost, -2147483647 - 1);
    EXPECT_TRUE(HasLine(big.Written(), "NewShipType.thrusterMaxSpeed = 1E+300"));
}

TEST(Robustness, ListsEndAtTheirSixteenBitLimit) {
    Lines script(32769, "StartShipWeaponConfig(NewShipType, \"w\", \"h\", \"f\")");
    script.back() = "StartShipWeaponConfig(NewShipType, \"last\", \"h\", \"f\")";
    Read r = Read::Lines(script);
    EXPECT_EQ(r.doc.SSWC_Num, 32767);
    EXPECT_EQ(r.doc.ErrorCount(), 1);
    EXPECT_EQ(r.doc.UnrecognizedLines(), Lines{script.back()});
    r.doc.SSWC_LoadValues(32767);
    EXPECT_EQ(r.doc.SSWC_WeaponName, "w");
}
