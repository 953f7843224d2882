// Call lines: weapons, salvage chunks, the sound patch list, the shared model and abilities.
#include <gtest/gtest.h>

#include <random>

#include "docsupport.h"
#include "statements.h"

using namespace docsupport;
using Lines = std::vector<std::string>;

namespace {

const char* const kSalvage =
    "SpawnSalvageOnDeath(NewShipType, \"slv\", 2, 0.25, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 18, 0.5)";

}  // namespace

TEST(CallLines, WeaponsInFileOrder) {
    Read r = Read::Lines({"StartShipWeaponConfig(NewShipType, \"gun\", \"Weapon_Nose\", \"Fire_Nose\")",
                          "StartShipWeaponConfig(NewShipType, \"laser\", \"Weapon_Left\", \"\")"});
    ASSERT_EQ(r.doc.SSWC_Num, 1);
    r.doc.SSWC_LoadValues(0);
    EXPECT_EQ(r.doc.SSWC_WeaponName, "gun");
    EXPECT_EQ(r.doc.SSWC_HardPointName, "Weapon_Nose");
    EXPECT_EQ(r.doc.SSWC_FiringEffectName, "Fire_Nose");
    r.doc.SSWC_LoadValues(1);
    EXPECT_EQ(r.doc.SSWC_WeaponName, "laser");
    EXPECT_EQ(r.doc.SSWC_FiringEffectName, "");
    EXPECT_THROW(r.doc.SSWC_LoadValues(2), std::out_of_range);  // no spare item is left over
}

TEST(CallLines, SalvageValuesInTheirPlacesRotationTakenXZY) {
    Read r = Read::Lines({kSalvage});
    ASSERT_EQ(r.doc.SSOD_Num, 0);
    r.doc.SSOD_LoadValues(0);
    const SR2ShipFile& d = r.doc;
    EXPECT_EQ(d.SSOD_SalvageChunkName, "slv");
    EXPECT_EQ(d.SSOD_NumChunksToSpawn, 2);
    EXPECT_EQ(d.SSOD_PercentOfTotalValue, 0.25);
    EXPECT_EQ(d.SSOD_PositionX, 1);
    EXPECT_EQ(d.SSOD_PositionZ, 3);
    EXPECT_EQ(d.SSOD_InitialHorizontalDirection, 6);
    EXPECT_EQ(d.SSOD_Unknown2, 8);
    EXPECT_EQ(d.SSOD_VelocityZ, 11);
    EXPECT_EQ(d.SSOD_CloudDispersion, 12);
    EXPECT_EQ(d.SSOD_RotationX, 16);
    EXPECT_EQ(d.SSOD_RotationZ, 17);
    EXPECT_EQ(d.SSOD_RotationY, 18);
    EXPECT_EQ(d.SSOD_RandomTumbleModifier, 0.5);  // written as 0.5) in the script
    // Read and written back, every argument keeps its place.
    EXPECT_TRUE(HasLine(r.Written(), kSalvage));
    EXPECT_EQ(r.doc.KeptLineCount(), 0);  // stored exactly, so written in the canonical form

    Read spaced = Read::Lines({"SpawnSalvageOnDeath(NewShipType,\"slv\",2,0.25,1,2,3,4,5,6,7,8,9,10,11,12,16,17,18, 0.5 )"});
    EXPECT_EQ(spaced.doc.ErrorCount(), 0);
    EXPECT_TRUE(HasLine(spaced.Written(), kSalvage));
}

TEST(CallLines, SalvageLinesThatCannotBeStored) {
    const Lines bad = {
        "SpawnSalvageOnDeath(NewShipType, \"slv\", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)",  // 19
        "SpawnSalvageOnDeath(NewShipType, \"slv\", x, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)",
        "SpawnSalvageOnDeath(NewShipType, slv, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)",
        "SpawnSalvageOnDeath(NewShipType, \"slv\", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,)",
    };
    Read r = Read::Lines(bad);
    EXPECT_EQ(r.doc.SSOD_Num, -1);
    EXPECT_EQ(r.doc.ErrorCount(), 4);
    EXPECT_EQ(r.doc.UnrecognizedLines(), bad);
    EXPECT_TRUE(HasLine(r.Errors(), "Error on line 3: " + bad[3]));
}

TEST(CallLines, PatchList) {
    Read two = Read::Lines({"loadShipPatchList(NewShipType, \"data:sound/x/\", 0, \"Eng\", \"\", 2, \"Idle\", \"M\")"});
    ASSERT_EQ(two.doc.LSPL_Num, 1);
    EXPECT_EQ(two.doc.LSPL_Directory, "data:sound/x/");
    two.doc.LSPL_LoadValues(1);
    EXPECT_EQ(two.doc.LSPL_Val, 2);
    EXPECT_EQ(two.doc.LSPL_Effect, "Idle");
    EXPECT_EQ(two.doc.LSPL_Marker, "M");
    two.doc.LSPL_LoadValues(0);
    EXPECT_EQ(two.doc.LSPL_Effect, "Eng");
    EXPECT_EQ(two.doc.LSPL_Marker, "");
    EXPECT_TRUE(HasLine(two.Written(),
                        "loadShipPatchList(NewShipType, \"data:sound/x/\", 0, \"Eng\", \"\", 2, \"Idle\", \"M\")"));

    // Without a patch-list line there is no patch item, and the sounds line holds the directory only.
    Read none = Read::Lines({"NewShipType.buildCost = 1"});
    EXPECT_EQ(none.doc.LSPL_Num, -1);
    EXPECT_THROW(none.doc.LSPL_LoadValues(0), std::out_of_range);
    const std::string w = none.Written();
    EXPECT_EQ(LineIndex(w, "loadShipPatchList(NewShipType, \"\")"), LineIndex(w, "--       SOUNDS") + 3);
    EXPECT_EQ(Normalize(w), w);

    Read dirOnly = Read::Lines({"loadShipPatchList(NewShipType, \"d/\")"});
    EXPECT_EQ(dirOnly.doc.LSPL_Num, -1);
    EXPECT_EQ(dirOnly.doc.LSPL_Directory, "d/");
    EXPECT_TRUE(HasLine(dirOnly.Written(), "loadShipPatchList(NewShipType, \"d/\")"));

    for (const std::string bad : {"loadShipPatchList(NewShipType, \"d/\", 0, \"Eng\")",
                                  "loadShipPatchList(NewShipType, \"d/\", zero, \"Eng\", \"\")",
                                  "loadShipPatchList(NewShipType, \"d/\", 0, Eng, \"\")", "loadShipPatchList(NewShipType)"}) {
        Read r = Read::Lines({bad});
        EXPECT_EQ(r.doc.ErrorCount(), 1) << bad;
        EXPECT_EQ(r.doc.LSPL_Num, -1) << bad;
        EXPECT_EQ(r.doc.UnrecognizedLines(), Lines{bad});
    }
}

TEST(CallLines, PatchListEditing) {
    const std::string read = "loadShipPatchList(NewShipType, \"d/\", 1.5, \"e\", \"m\")";
    Read r = Read::Lines({read});
    const auto asRead = r.doc.LSPL_GetList();

    r.doc.LSPL_AddItem(3, "Idle", "");
    r.doc.LSPL_LoadValues(0);
    r.doc.LSPL_Marker = "m2";
    r.doc.LSPL_SaveValues(0);
    EXPECT_EQ(r.doc.LSPL_Num, 1);
    EXPECT_TRUE(HasLine(r.Written(), "loadShipPatchList(NewShipType, \"d/\", 2, \"e\", \"m2\", 3, \"Idle\", \"\")"));
    r.doc.LSPL_RemoveItem(0);
    r.doc.LSPL_LoadValues(0);
    EXPECT_EQ(r.doc.LSPL_Effect, "Idle");
    r.doc.LSPL_RemoveItem(0);
    EXPECT_EQ(r.doc.LSPL_Num, -1);
    EXPECT_TRUE(HasLine(r.Written(), "loadShipPatchList(NewShipType, \"d/\")"));

    // Putting the copy back restores the line exactly as read, fraction included.
    r.doc.LSPL_Directory = "other/";
    r.doc.LSPL_SetList(asRead);
    EXPECT_TRUE(HasLine(r.Written(), read));

    // Adding to a document without patch items starts a list of one.
    Read none = Read::Lines({"NewShipType.buildCost = 1"});
    none.doc.LSPL_AddItem(0, "Eng", "");
    EXPECT_EQ(none.doc.LSPL_Num, 0);
    EXPECT_TRUE(HasLine(none.Written(), "loadShipPatchList(NewShipType, \"\", 0, \"Eng\", \"\")"));
}

TEST(CallLines, SharedModel) {
    Read r = Read::Lines({"LoadSharedModel(NewShipType, \"Hgn_Scout\")", "loadModel(NewShipType, \"ignored\")"});
    EXPECT_EQ(r.doc.sLoadSharedModel, "Hgn_Scout");
    EXPECT_TRUE(HasLine(r.Written(), "LoadSharedModel(NewShipType,\"Hgn_Scout\")"));
    Read bad = Read::Lines({"LoadSharedModel(NewShipType, Hgn_Scout)"});
    EXPECT_EQ(bad.doc.ErrorCount(), 1);
    EXPECT_EQ(bad.doc.sLoadSharedModel, "test");
}

TEST(CallLines, AbilitiesInAnyCaseWithTheirArguments) {
    Read r = Read::Lines({
        "addAbility(NewShipType, \"CANDOCK\", 1, 0)",
        "addAbility(NewShipType, \"guardcommand\", 0, 2.5, 3000)",
        "addAbility(NewShipType, \"SpecialAttack\", 1, \"RamAttack\")",
        "addAbility(NewShipType, \"CloakAbility\", 1, 2, 100, 0.1, 0.2, 0.3, 0.4, 0.5)",
        "addAbility(NewShipType, \"DefenseFieldAbility\", 0, 1, 1, 2, 3, 4, 5, 6, \"shield_fx\")",
        "addAbility(NewShipType, \"CanBeRepaired\")",
    });
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    const SR2ShipFile& d = r.doc;
    EXPECT_TRUE(d.bCanDock && d.CanDock_IsActive && !d.CanDock_ByPlayer);
    EXPECT_TRUE(d.bGuardCommand && !d.GuardCommand_IsActive);
    EXPECT_EQ(d.GuardCommand_GuardRadius, 2.5);
    EXPECT_EQ(d.GuardCommand_GuardDistance, 3000);
    EXPECT_EQ(d.SpecialAttack_AttackName, "RamAttack");
    EXPECT_EQ(d.CloakAbility_CloakStrength, 2);
    EXPECT_EQ(d.CloakAbility_EnergyMinimum, 0.5);
    EXPECT_TRUE(d.DefenseFieldAbility_IsEngaged);
    EXPECT_EQ(d.DefenseFieldAbility_EnergyMinimum, 6);
    EXPECT_EQ(d.DefenseFieldAbility_EffectName, "shield_fx");
    EXPECT_TRUE(d.bCanBeRepaired);
    EXPECT_FALSE(d.bCanLaunch);
    EXPECT_EQ(d.KeptLineCount(), 2);  // the CANDOCK and guardcommand lines: their names differ in case

    // Written in the table's order; a line whose name differs in case comes back as read.
    const std::string w = r.Written();
    const int first = LineIndex(w, "addAbility(NewShipType, \"CanBeRepaired\")");
    ASSERT_EQ(first, LineIndex(w, "--      ABILITIES") + 3);
    const auto lines = SplitLines(w);
    EXPECT_EQ(lines[first + 1], "addAbility(NewShipType, \"CANDOCK\", 1, 0)");
    EXPECT_EQ(lines[first + 2], "addAbility(NewShipType, \"SpecialAttack\", 1, \"RamAttack\")");
    EXPECT_EQ(lines[first + 3], "addAbility(NewShipType, \"guardcommand\", 0, 2.5, 3000)");
    EXPECT_EQ(lines[first + 4], "addAbility(NewShipType, \"CloakAbility\", 1, 2, 100, 0.1, 0.2, 0.3, 0.4, 0.5)");
    EXPECT_EQ(lines[first + 5], "addAbility(NewShipType, \"DefenseFieldAbility\", 0, 1, 1, 2, 3, 4, 5, 6, \"shield_fx\")");
    EXPECT_EQ(lines[first + 6], "--");
}

TEST(CallLines, AFlagIsSetOnlyByExactlyOne) {
    const std::pair<const char*, bool> flags[] = {
        {"1", true}, {" 1 ", true}, {"1 )", true}, {"0", false}, {"2", false}, {"-1", false},
        {"1.0", false}, {"01", false}, {"true", false}, {"\"1\"", false}};
    for (const auto& [text, set] : flags) {
        Read r = Read::Lines({std::string("addAbility(NewShipType, \"ParadeCommand\", ") + text + ")"});
        EXPECT_TRUE(r.doc.bParadeCommand) << text;
        EXPECT_EQ(r.doc.ParadeCommand_IsActive, set) << text;
        EXPECT_EQ(r.doc.ErrorCount(), 0) << text;
    }
}

TEST(CallLines, ListValuedAndUnknownAbilitiesAreKeptVerbatim) {
    const Lines verbatim = {
        "addAbility(NewShipType, \"CanAttack\", 1, 1, 0, 0, 0.35, 1.5, \"Fighter, Corvette\", \"Dogfight\")",
        "addAbility(NewShipType, \"canbuildships\", 1, \"Fighter\", \"Fighter\")",
        "addAbility(NewShipType, \"RepairCommand\", 1, 500, 40)",
        "addAbility(NewShipType, \"ShipHold\")",
        "addAbility(NewShipType, \"tvkOverdrive\", 1, \"x\")",
    };
    Read r = Read::Lines(verbatim);
    EXPECT_TRUE(r.doc.bCanAttack && r.doc.bCanBuildShips && r.doc.bRepairCommand && r.doc.bShipHold);
    EXPECT_EQ(r.doc.CanAttack_AttackFamily, "");  // the family lists are not read
    EXPECT_EQ(r.doc.CanAttack_AttackFamilyCount, -1);
    EXPECT_EQ(r.doc.UnrecognizedLines(), verbatim);
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    const std::string w = r.Written();
    const int banner = LineIndex(w, "--       NOT-YET-RECOGNIZED LINES");
    ASSERT_GE(banner, 0);
    EXPECT_EQ(LineIndex(w, verbatim[0]), banner + 3);
    EXPECT_EQ(SplitLines(w).size(), banner + 3 + verbatim.size());  // nothing else, no second copy

    // Their flags do not give lines of their own.
    SR2ShipFile d;
    d.Initialize();
    d.bCanAttack = d.bShipHold = true;
    EXPECT_EQ(d.ScriptText().find("CanAttack"), std::string::npos);
}

TEST(CallLines, AbilityLinesThatCannotBeStored) {
    const Lines bad = {"addAbility(NewShipType, \"CanDock\", 1)",
                       "addAbility(NewShipType, \"CaptureCommand\", 1, far)",
                       "addAbility(NewShipType, \"SpecialAttack\", 1)", "addAbility(NewShipType, CanDock, 1, 1)"};
    Read r = Read::Lines(bad);
    EXPECT_EQ(r.doc.ErrorCount(), 4);
    EXPECT_FALSE(r.doc.bCanDock || r.doc.bCaptureCommand || r.doc.bSpecialAttack);
    EXPECT_FALSE(r.doc.CanDock_IsActive);  // nothing of a failed line is stored
    EXPECT_EQ(r.doc.UnrecognizedLines(), bad);
}

// A call whose parentheses close on a later line is one statement: stored when it can be, else all
// its lines are kept together and in order.
TEST(CallLines, StatementsOverSeveralLines) {
    Read r = Read::Lines({
        "StartShipWeaponConfig(NewShipType,",                                   // 0
        "    \"Gun\", \"Hp1\",",
        "    \"Fire\")",
        "SpawnSalvageOnDeath(NewShipType, \"chunk\", 2, 0.5, 1, 2, 3, 0, 0, 0,",  // 3
        "    -- velocities, dispersion and rotations",
        "    0, 0, 0, 0, 0, 0, 0, 0, 0, 0)",
        "setSupplyValue(NewShipType,",                                          // 6
        "    \"Scout\", 1)",
        "addAbility(NewShipType, \"CanDock\",",                                 // 8
        "    1, 0, 7) -- more than it stores",
        "SpawnSalvageOnDeath(NewShipType, \"short\",",                          // 10
        "    1, 2)",
    });
    ASSERT_EQ(r.doc.SSWC_Num, 0);
    r.doc.SSWC_LoadValues(0);
    EXPECT_EQ(r.doc.SSWC_WeaponName, "Gun");
    EXPECT_EQ(r.doc.SSWC_FiringEffectName, "Fire");
    ASSERT_EQ(r.doc.SSOD_Num, 0);
    r.doc.SSOD_LoadValues(0);
    EXPECT_EQ(r.doc.SSOD_PositionZ, 3);
    EXPECT_TRUE(r.doc.bCanDock);
    EXPECT_TRUE(r.doc.CanDock_IsActive);
    EXPECT_EQ(r.doc.ErrorCount(), 1);
    const std::string shortCall = "SpawnSalvageOnDeath(NewShipType, \"short\",\r\n    1, 2)";
    EXPECT_EQ(r.Errors(), "Error on line 10: SpawnSalvageOnDeath(NewShipType, \"short\",     1, 2)\n");
    EXPECT_EQ(r.doc.UnrecognizedLines(), (Lines{"setSupplyValue(NewShipType,\r\n    \"Scout\", 1)", shortCall}));

    const std::string w = r.Written();
    EXPECT_TRUE(HasLine(w, "StartShipWeaponConfig(NewShipType, \"Gun\", \"Hp1\", \"Fire\")"));
    EXPECT_NE(w.find("addAbility(NewShipType, \"CanDock\",\r\n    1, 0, 7) -- more than it stores\r\n"),
              std::string::npos);
    EXPECT_EQ(w.find("\"Hp1\",\r\n"), std::string::npos);  // stored: written in one line
    EXPECT_EQ(Normalize(w), w);
}

// Lua reads on after an "=" that ends a line: the value on the next line belongs to the entry.
TEST(CallLines, AValueOnTheNextLineBelongsToItsEntry) {
    Read r = Read::Lines({"NewShipType.displayedName =", "    \"Two Lines\"", "NewShipType.buildCost = 5"});
    EXPECT_EQ(r.doc.sDisplayedName, "Two Lines");
    EXPECT_EQ(r.doc.iBuildCost, 5);
    EXPECT_EQ(r.doc.ErrorCount(), 0);
}

// Written back among the kept lines, an "=" that a new statement cut short must not take the kept
// line after it the next time it is read.
TEST(CallLines, AnEqualsCutShortKeepsItsEndWhenWrittenBack) {
    Read r = Read::Lines({"NewShipType.passiveFormation =-- a note", "NewShipType = StartShipConfig()",
                          "tvkName \"Idle\""});
    EXPECT_EQ(Normalize(r.Written()), r.Written());
}

TEST(CallLines, CommentBlocksLongStringsAndCallsThatNeverClose) {
    Read r = Read::Lines({
        "--[[ switched off",
        "NewShipType.mass = 99",
        "addAbility(NewShipType, \"CanLaunch\")",
        "]]",
        "NewShipType.sobDescription = [[two",
        "lines]]",
        "odd(NewShipType,",               // never closes: each line stands alone
        "NewShipType.buildCost = 5",
        "x = [==[ never closed",
        "NewShipType.buildTime = 6",
    });
    EXPECT_EQ(r.doc.iMass, 0);
    EXPECT_FALSE(r.doc.bCanLaunch);
    EXPECT_EQ(r.doc.iBuildCost, 5);
    EXPECT_EQ(r.doc.iBuildTime, 6);
    EXPECT_EQ(r.doc.UnrecognizedLines(),
              (Lines{"NewShipType.sobDescription = [[two\r\nlines]]", "odd(NewShipType,\r\n--", "x = [==[ never closed"}));
    // Read again, the call that never closed ends where it ended: the comment line after it says so.
    EXPECT_EQ(r.doc.ErrorCount(), 2);
    EXPECT_EQ(Normalize(r.Written()), r.Written());

    // A long string that never closes, opened inside an open call, ends the call before its line.
    Read s = Read::Lines({"odd(", "x = [[ never", "NewShipType.mass = 5"});
    EXPECT_EQ(s.doc.iMass, 5);
    EXPECT_EQ(s.doc.UnrecognizedLines(), (Lines{"odd(\r\n--", "x = [[ never"}));
    EXPECT_EQ(Normalize(s.Written()), s.Written());
}

// A patch-list line that cannot be read comes back as read, and no empty call is added beside it.
TEST(CallLines, AnUnreadablePatchListLineAddsNoCall) {
    const std::string bad = "loadShipPatchList(NewShipType, \"dir/\", 0, \"eng\")";
    auto calls = [](const std::string& w) {
        int n = 0;
        for (const auto& l : SplitLines(w)) n += l.rfind("loadShipPatchList", 0) == 0 ? 1 : 0;
        return n;
    };
    Read r = Read::Lines({bad});
    EXPECT_EQ(r.doc.ErrorCount(), 1);
    std::string w = r.Written();
    EXPECT_EQ(calls(w), 1);
    EXPECT_TRUE(HasLine(w, bad));
    EXPECT_EQ(Normalize(w), w);
    // With a readable one as well, both calls stay.
    Read both = Read::Lines({bad, "loadShipPatchList(NewShipType, \"d/\", 0, \"e\", \"m\")"});
    EXPECT_EQ(calls(both.Written()), 2);
    // A new document has its default call, and a read that forgets the unreadable line too.
    both.doc.Initialize();
    EXPECT_EQ(calls(both.Written()), 1);
}

// The shortcut for lines that are a statement of their own must agree with the full scan on
// every line it is sure of, and on the code of the lines it closes: random lines of brackets,
// quotes, escapes, comments and "=".
TEST(CallLines, TheOneLineShortcutAgreesWithTheFullScan) {
    std::mt19937 rng(11);
    // Short lines of nothing but special characters, and long ones of mostly plain code (read
    // eight characters at a time) with the plain characters that lie next to the special ones.
    const std::string specials = "()[]{}=--\"\"''\\ \tx~<>;";
    const std::string plain = "abcdefgh ,+#&*|\x80\xff\"'()[]{}-=\\";
    int sure = 0;
    for (int n = 0; n < 300000; ++n) {
        std::string line;
        const bool longLine = n % 2;
        const std::string& alphabet = longLine ? plain : specials;
        const std::size_t length = rng() % (longLine ? 48 : 12);
        for (std::size_t i = 0; i < length; ++i)
            line += longLine && rng() % 4 ? alphabet[rng() % 16] : alphabet[rng() % alphabet.size()];
        statements::Span code{99, 99};
        const statements::Alone alone = statements::ReadAlone(line, &code);
        if (alone == statements::Alone::Unsure) continue;
        ++sure;
        ASSERT_EQ(alone == statements::Alone::Open, statements::OpenAfter(line)) << line;
        if (alone == statements::Alone::Closed) {
            const statements::Span expected = statements::CodeSpan(line);
            ASSERT_EQ(code.begin, expected.begin) << line;
            ASSERT_EQ(code.end, expected.end) << line;
        }
    }
    EXPECT_GT(sure, 100000);
}

// A second line that begins with NewShipType continues a call when it holds an argument, and
// begins a statement of its own when it is an assignment; a value with a second "=" is stored
// up to it, and its line written back as read, since the canonical line would lose the rest.
TEST(CallLines, ASecondLineThatBeginsWithNewShipTypeAndASecondEqualsSign) {
    Read r = Read::Lines({"StartShipWeaponConfig(", "NewShipType, \"Gun\", \"Hp1\", \"Fire\")",
                          "StartShipWeaponConfig(NewShipType,", "NewShipType.mass = 7",
                          "NewShipType.buildCost=5=6"});
    ASSERT_EQ(r.doc.SSWC_Num, 0);
    r.doc.SSWC_LoadValues(0);
    EXPECT_EQ(r.doc.SSWC_WeaponName, "Gun");
    EXPECT_EQ(r.doc.iMass, 7);
    EXPECT_EQ(r.doc.iBuildCost, 5);
    EXPECT_EQ(r.Errors(), "Error on line 2: StartShipWeaponConfig(NewShipType,\n");
    const std::string w = r.Written();
    EXPECT_TRUE(HasLine(w, "NewShipType.buildCost=5=6"));
    EXPECT_FALSE(HasLine(w, "NewShipType.buildCost = 5"));
    EXPECT_TRUE(HasLine(w, "NewShipType.mass = 7"));
    EXPECT_EQ(Normalize(w), w);
}
