// Assignment lines: the blanks round "=", the key table and its quirks, values of every kind.
#include <gtest/gtest.h>

#include <cctype>

#include "docsupport.h"
#include "scriptformat.h"

using namespace docsupport;
using Lines = std::vector<std::string>;

namespace {

bool Scalar(const SR2ShipFile::FieldInfo& f) {
    // Fields that come from call lines or have no line of their own in the script.
    const std::string n = f.name;
    return n.rfind("SSWC_", 0) && n.rfind("SSOD_", 0) && n.rfind("LSPL_", 0) && n != "sShieldType" &&
           n != "iVal1" && n != "iVal2" && n != "MAM_Num" && n != "MBM_Num" && n.find('_') == std::string::npos &&
           n[0] != 'b' && n != "sLoadSharedModel";
}

}  // namespace

// Every property written is read back into the same field: each field holds a value of its own,
// so a key that took another field's line (minRegenTime for regentime, nlipsRange for nlips,
// dockFormation for a longer docking key) would show.
TEST(Assignments, EveryPropertyComesBackIntoItsOwnField) {
    SR2ShipFile d;
    d.Initialize();
    int n = 0;
    for (const auto& f : SR2ShipFile::Fields()) {
        if (!Scalar(f)) continue;
        ++n;
        const int i = static_cast<int>(f.index);
        switch (f.type) {
            case FieldType::String: d.SetField(f.name, "text " + std::to_string(i)); break;
            case FieldType::Int32: d.SetField(f.name, std::int32_t(-1000 - i)); break;
            case FieldType::Int16: d.SetField(f.name, std::int16_t(1000 + i)); break;
            case FieldType::Real: d.SetField(f.name, i + 0.125); break;
            case FieldType::Flag: break;
        }
    }
    EXPECT_EQ(n, 145);
    Read r(d.ScriptText());
    EXPECT_TRUE(r.doc.UnrecognizedLines().empty());
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    for (const auto& f : SR2ShipFile::Fields()) {
        if (!Scalar(f)) continue;
        EXPECT_EQ(r.doc.GetField(f.name), d.GetField(f.name)) << f.name;
    }
}

TEST(Assignments, BlanksRoundTheFirstEqualsSignAreEvenedOut) {
    for (const char* line : {"NewShipType.buildCost=400", "NewShipType.buildCost =400",
                             "NewShipType.buildCost= 400", "NewShipType.buildCost = 400",
                             "NewShipType.buildCost   =   400", "NewShipType.buildCost =\t400"}) {
        Read r = Read::Lines({line});
        EXPECT_EQ(r.doc.iBuildCost, 400) << line;
        EXPECT_TRUE(HasLine(r.Written(), "NewShipType.buildCost = 400")) << line;
    }
    // An unknown entry is kept in its evened-out form.
    Read r = Read::Lines({"NewShipType.madeUp=5", "NewShipType.other =x", "NewShipType.third= 3",
                          "NewShipType.fourth  =  4"});
    EXPECT_EQ(r.doc.UnrecognizedLines(),
              (Lines{"NewShipType.madeUp = 5", "NewShipType.other = x", "NewShipType.third = 3",
                     "NewShipType.fourth  =  4"}));
    EXPECT_EQ(r.doc.ErrorCount(), 0);
}

TEST(Assignments, KeyTableQuirks) {
    Read r = Read::Lines({
        "NewShipType.minRegenTime = 3",  "NewShipType.nlipsRange = 7", "NewShipType.nlipsFar = 2.5",
        "NewShipType.nlipsFarRange = 8", "NewShipType.nlips=0.5",      "NewShipType.dockFormation = \"df\"",
        "NewShipType.dockTimeBeforeStart = 1.5", "NewShipType.launchFormation = \"lf\"",
        "NewShipType.launchNrOfShipsInDockFormation = 6", "newshiptype.MAXHEALTH = 30",
    });
    EXPECT_EQ(r.doc.fRegentime, 0);
    EXPECT_EQ(r.doc.fMinRegenTime, 3);
    EXPECT_EQ(r.doc.fNlips, 0.5);
    EXPECT_EQ(r.doc.iNlipsRange, 7);
    EXPECT_EQ(r.doc.fNlipsFar, 2.5);
    EXPECT_EQ(r.doc.iNlipsFarRange, 8);
    EXPECT_EQ(r.doc.sDockFormation, "df");
    EXPECT_EQ(r.doc.fDockTimeBeforeStart, 1.5);
    EXPECT_EQ(r.doc.sLaunchFormation, "lf");
    EXPECT_EQ(r.doc.iLaunchNrOfShipsInDockFormation, 6);
    EXPECT_EQ(r.doc.iDockNrOfShipsInDockFormation, 0);
    EXPECT_EQ(r.doc.iMaxhealth, 30);
    EXPECT_TRUE(r.doc.UnrecognizedLines().empty());
}

// The key is looked for in the entry's name, not in its value.
TEST(Assignments, KeysAreSearchedInTheNamePartOnly) {
    Read r = Read::Lines({"NewShipType.ArmourFamily = \"massshield\"", "NewShipType.DisplayFamily = \"buildcost\"",
                          "NewShipType.madeUp = \"mass\""});
    EXPECT_EQ(r.doc.sArmourFamily, "massshield");
    EXPECT_EQ(r.doc.sDisplayFamily, "buildcost");
    EXPECT_EQ(r.doc.iMass, 0);
    EXPECT_EQ(r.doc.iBuildCost, 0);
    EXPECT_EQ(r.doc.UnrecognizedLines(), (Lines{"NewShipType.madeUp = \"mass\""}));
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    // ... while the table-creating line is recognised anywhere in the line.
    Read t = Read::Lines({"newShipType=STARTSHIPCONFIG()", "NewShipType = x(StartShipConfig)"});
    EXPECT_TRUE(t.doc.UnrecognizedLines().empty());
    EXPECT_EQ(t.doc.ErrorCount(), 0);
}

TEST(Assignments, ValuesOfEachKind) {
    Read r = Read::Lines({
        "NewShipType.displayedName = \"Two \"\" quotes\" -- after",  // text between the first two quotes
        "NewShipType.sobDescription = \"  kept as is  \"",
        "NewShipType.mass = 3.5",
        "NewShipType.militaryUnit = -12",
        "NewShipType.TOScale = 1E-05",
        "NewShipType.buildTime = 5 = 6",  // only the text before a further " = "
    });
    EXPECT_EQ(r.doc.sDisplayedName, "Two ");
    EXPECT_EQ(r.doc.sSobDescription, "  kept as is  ");
    EXPECT_EQ(r.doc.iMass, 4);
    EXPECT_EQ(r.doc.iMilitaryUnit, -12);
    EXPECT_EQ(r.doc.fTOScale, 1E-05);
    EXPECT_EQ(r.doc.iBuildTime, 5);
    EXPECT_EQ(r.doc.ErrorCount(), 0);
}

TEST(Assignments, FailedValuesAreLoggedAndLeaveTheFieldAlone) {
    const Lines bad = {
        "NewShipType.mass = heavy", "NewShipType.buildCost", "NewShipType.buildTime = ",
        "NewShipType.displayedName = no quotes", "NewShipType.TOIcon = \"unclosed",
        "NewShipType.militaryUnit = 40000", "NewShipType.maxhealth = 99999999999",
        "NewShipType.regentime = 1e400",
    };
    Lines script = {"NewShipType.mass = 7", "NewShipType.buildCost = 8", "NewShipType.buildTime = 9",
                    "NewShipType.displayedName = \"N\"", "NewShipType.TOIcon = \"I\"",
                    "NewShipType.militaryUnit = 1", "NewShipType.maxhealth = 2", "NewShipType.regentime = 3"};
    script.insert(script.end(), bad.begin(), bad.end());
    Read r = Read::Lines(script);
    EXPECT_EQ(r.doc.iMass, 7);
    EXPECT_EQ(r.doc.iBuildCost, 8);
    EXPECT_EQ(r.doc.iBuildTime, 9);
    EXPECT_EQ(r.doc.sDisplayedName, "N");
    EXPECT_EQ(r.doc.sTOIcon, "I");
    EXPECT_EQ(r.doc.iMilitaryUnit, 1);
    EXPECT_EQ(r.doc.iMaxhealth, 2);
    EXPECT_EQ(r.doc.fRegentime, 3);
    Lines logged;
    for (const auto& l : bad) logged.push_back("ERROR: " + l);
    EXPECT_EQ(SplitLines(r.Errors()), logged);
    EXPECT_EQ(r.doc.ErrorCount(), 8);
    // Kept, in file order, for as long as the field holds; the "=" still waiting for a value is
    // kept with an end after it, so that read again it does not take the line after it.
    Lines kept = bad;
    kept[2] += "\r\n--";
    EXPECT_EQ(r.doc.UnrecognizedLines(), kept);
    EXPECT_EQ(Normalize(r.Written()), r.Written());
}

TEST(Assignments, LevelOfDetailSlots) {
    Read r = Read::Lines({"NewShipType.upLOD = 300", "NewShipType.upLOD = 600", "NewShipType.upLOD = 900",
                          "NewShipType.downLOD0 = 10", "NewShipType.downLOD1 = 20"});
    EXPECT_EQ(r.doc.iUpLOD0, 300);
    EXPECT_EQ(r.doc.iUpLOD1, 600);
    EXPECT_EQ(r.doc.iUpLOD2, 900);
    EXPECT_EQ(r.doc.iDownLOD0, 10);
    EXPECT_EQ(r.doc.iDownLOD1, 20);
    EXPECT_EQ(r.doc.iDownLOD2, 0);
    const std::string w = r.Written();
    const int up = LineIndex(w, "NewShipType.upLOD = 300");
    ASSERT_GE(up, 0);
    const auto lines = SplitLines(w);
    EXPECT_EQ(lines[up + 1], "NewShipType.upLOD = 600");
    EXPECT_EQ(lines[up + 2], "NewShipType.upLOD = 900");
    // Lines of the numbered form fill the slots too, and are written back as they were read.
    EXPECT_EQ(lines[up + 3], "NewShipType.downLOD0 = 10");
    EXPECT_EQ(lines[up + 4], "NewShipType.downLOD1 = 20");
    EXPECT_EQ(lines[up + 5].rfind("NewShipType.downLOD", 0), std::string::npos);

    Read four = Read::Lines({"NewShipType.upLOD = 1", "NewShipType.upLOD = 2", "NewShipType.upLOD = 3",
                             "NewShipType.upLOD = 4"});
    EXPECT_EQ(four.doc.iUpLOD2, 4);  // all three set: the last slot is overwritten
    EXPECT_EQ(four.doc.iUpLOD1, 2);
}

TEST(Assignments, TumbleAndSwayByTheirOwnNames) {
    Read r = Read::Lines({
        "NewShipType.tumbleStaticX = 1", "NewShipType.tumbleStaticY = 2", "NewShipType.tumbleStaticZ = 3",
        "NewShipType.tumbleDynamicX = 4", "NewShipType.tumbleDynamicY = 5", "NewShipType.tumbleDynamicZ = 6",
        "NewShipType.tumbleSpecialDynamicX = 7", "NewShipType.tumbleSpecialDynamicY = 8",
        "NewShipType.tumbleSpecialDynamicZ = 9", "NewShipType.swayUpdateTime = 10",
        "NewShipType.swayBobbingFactor = 0.5", "NewShipType.swayRotateFactor = 0.25",
        "NewShipType.swayOffsetRandomX = 11", "NewShipType.swayOffsetRandomY = 12",
        "NewShipType.swayOffsetRandomZ = 13",
        "NewShipType.tumbleSpeed = 99", "NewShipType.tumbleStaticW = 98", "NewShipType.tumbleDynamic = 97",
        "NewShipType.swayAmount = 96",
    });
    const std::pair<const char*, FieldValue> expected[] = {
        {"iTumbleStaticX", 1}, {"iTumbleStaticY", 2}, {"iTumbleStaticZ", 3}, {"iTumbleDynamicX", 4},
        {"iTumbleDynamicY", 5}, {"iTumbleDynamicZ", 6}, {"iTumbleSpecialDynamicX", 7},
        {"iTumbleSpecialDynamicY", 8}, {"iTumbleSpecialDynamicZ", 9}, {"iSwayUpdateTime", 10},
        {"fSwayBobbingFactor", 0.5}, {"fSwayRotateFactor", 0.25}, {"iSwayOffsetRandomX", 11},
        {"iSwayOffsetRandomY", 12}, {"iSwayOffsetRandomZ", 13},
    };
    for (const auto& [field, value] : expected) EXPECT_EQ(r.doc.GetField(field), value) << field;
    EXPECT_EQ(r.doc.UnrecognizedLines(),
              (Lines{"NewShipType.tumbleSpeed = 99", "NewShipType.tumbleStaticW = 98",
                     "NewShipType.tumbleDynamic = 97", "NewShipType.swayAmount = 96"}));
    EXPECT_EQ(r.doc.ErrorCount(), 0);
}

TEST(Assignments, MirrorManoeuvreLists) {
    Read r = Read::Lines({"NewShipType.mirrorAboveManeuver = \"X\"",
                          "NewShipType.mirrorAboveManeuver = \"A,B Q, C\"",  // replaces the list
                          "NewShipType.mirrorBelowManeuver = \"\""});
    ASSERT_EQ(r.doc.MAM_Num, 2);
    EXPECT_EQ(r.doc.MAM_GetValue(0), "A");
    EXPECT_EQ(r.doc.MAM_GetValue(1), "B Q");  // names are not trimmed
    EXPECT_EQ(r.doc.MAM_GetValue(2), " C");
    EXPECT_EQ(r.doc.MBM_Num, -1);
    // Written back as read: evening out the names would change them, and an empty list has no
    // line of its own.
    const std::string read = r.Written();
    EXPECT_TRUE(HasLine(read, "NewShipType.mirrorAboveManeuver = \"A,B Q, C\""));
    EXPECT_TRUE(HasLine(read, "NewShipType.mirrorBelowManeuver = \"\""));
    EXPECT_FALSE(HasLine(read, "NewShipType.mirrorAboveManeuver = \"X\""));

    SR2ShipFile d;
    d.Initialize();
    d.MAM_AddValue("A");
    d.MAM_AddValue("B Q");
    d.MAM_AddValue("D)");
    d.MBM_AddValue("One (x)");  // entry 0 is never stripped
    const std::string w = d.ScriptText();
    EXPECT_TRUE(HasLine(w, "NewShipType.mirrorAboveManeuver = \"A, BQ, D\""));
    EXPECT_TRUE(HasLine(w, "NewShipType.mirrorBelowManeuver = \"One (x)\""));
    EXPECT_EQ(LineIndex(w, "NewShipType.mirrorBelowManeuver = \"One (x)\""),
              LineIndex(w, "NewShipType.mirrorAboveManeuver = \"A, BQ, D\"") + 1);
    EXPECT_EQ(LineIndex(w, "NewShipType.controllerType = \"\""),
              LineIndex(w, "NewShipType.mirrorBelowManeuver = \"One (x)\"") + 1);
}

// An entry is recognised by its whole name only, in any case, with blanks round it trimmed.
TEST(Assignments, KeysMatchTheWholeEntryNameOnly) {
    Read r = Read::Lines({
        "NewShipType.maxhealth = 100",  "NewShipType.maxhealthRegenBonus = 5", "NewShipType.massless = 1",
        "NewShipTypemass = 3",          "NewShipType.regentimeExtra = 4",      "NewShipType.buildCostFactor = 2",
        "NewShipType. mass\t = 7",      "NEWSHIPTYPE.SOBDESCRIPTION = \"d\"",   "NewShipType.upLOD2 = 50",
        "NewShipType.UPLOD0 = 60",
    });
    EXPECT_EQ(r.doc.iMaxhealth, 100);
    EXPECT_EQ(r.doc.iMass, 7);
    EXPECT_EQ(r.doc.fRegentime, 0);
    EXPECT_EQ(r.doc.iBuildCost, 0);
    EXPECT_EQ(r.doc.sSobDescription, "d");
    EXPECT_EQ(r.doc.iUpLOD0, 50);  // numbered or not, each line fills the next slot
    EXPECT_EQ(r.doc.iUpLOD1, 60);
    EXPECT_EQ(r.doc.UnrecognizedLines(),
              (Lines{"NewShipType.maxhealthRegenBonus = 5", "NewShipType.massless = 1", "NewShipTypemass = 3",
                     "NewShipType.regentimeExtra = 4", "NewShipType.buildCostFactor = 2"}));
    const std::string w = r.Written();
    EXPECT_TRUE(HasLine(w, "NewShipType.maxhealth = 100"));
    EXPECT_EQ(Normalize(w), w);
    // Every key of the table is one entry name.
    std::size_t n = 0;
    for (const auto& k : scriptformat::AssignmentKeys()) {
        ++n;
        EXPECT_EQ(scriptformat::FindAssignmentKey(k.key), &k);
        // Any case finds it; the characters just outside A-Z, or a letter's high-bit twin, do not.
        std::string upper = k.key, near = k.key;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(scriptformat::FindAssignmentKey(upper), &k) << upper;
        for (char swap : {'@', '[', '`', '{', '\xC1'}) {
            near.back() = swap;
            EXPECT_EQ(scriptformat::FindAssignmentKey(near), nullptr) << near;
        }
    }
    EXPECT_EQ(n, 130u - 4 + 8 + 9 + 6);  // tumble, sway and both LOD rows by their own names
    EXPECT_EQ(scriptformat::FindAssignmentKey("MaxHealth"), scriptformat::FindAssignmentKey("maxhealth"));
    EXPECT_EQ(scriptformat::FindAssignmentKey("maxhealth "), nullptr);
    EXPECT_EQ(scriptformat::FindAssignmentKey("uplod3"), nullptr);
}

// Written "+5" is the number 5, but not the writer's form: the line is kept as read.
TEST(Assignments, ALeadingPlusIsANumber) {
    Read r = Read::Lines({"NewShipType.mass = +5", "NewShipType.regentime = +0.5", "NewShipType.buildCost = +-5"});
    EXPECT_EQ(r.doc.iMass, 5);
    EXPECT_EQ(r.doc.fRegentime, 0.5);
    EXPECT_EQ(r.doc.iBuildCost, 0);
    EXPECT_EQ(r.doc.ErrorCount(), 1);
    EXPECT_TRUE(HasLine(r.Written(), "NewShipType.mass = +5"));
}
