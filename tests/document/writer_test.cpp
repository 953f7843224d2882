// The written script: its layout, value forms, optional lines, and a save that never destroys
// the old file.
#include <gtest/gtest.h>

#include "docsupport.h"
#include "shipwriter.h"
#include "u8path.h"

using namespace docsupport;
using Lines = std::vector<std::string>;

namespace {

SR2ShipFile NewDocument() {
    SR2ShipFile d;
    d.Initialize();
    return d;
}

Lines Titles(const std::string& text) {
    Lines titles;
    const auto lines = SplitLines(text);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i)
        if (lines[i - 1].rfind("--===", 0) == 0 && lines[i].rfind("--===", 0) != 0 && lines[i] != "--")
            titles.push_back(lines[i]);
    return titles;
}

}  // namespace

TEST(Writer, ANewDocumentIsTheCanonicalFile) {
    const std::string expected = ReadBytes(U8Path(TARVISK_TEST_DATA_DIR) / "new_document.ship");
    ASSERT_FALSE(expected.empty());
    const std::string w = NewDocument().ScriptText();
    EXPECT_EQ(w, expected);
    EXPECT_EQ(SplitLines(w).size(), 215u);
    EXPECT_EQ(Titles(w), (Lines{"--    BASICINFO", "--     PHYSICALSTATS", "--      FORMATIONS", "--      PROPULSION",
                                "--      MOVEMENT", "--      CLASSIFICATIONS", "--      SENSORS", "--      COMBAT",
                                "--      UIVISIBILITY", "--      MESHVISIBILITY", "--      DOCKING", "--      DOCKING",
                                "--      ABILITIES", "--      DEATH", "--      MISCMOVEMENT", "--       AIVALUES",
                                "--       SOUNDS"}));
    EXPECT_TRUE(HasLine(w, "--      -Docking"));
    EXPECT_TRUE(HasLine(w, "--      -Launching"));
    EXPECT_TRUE(HasLine(w, "NewShipType.displayedName = \"\""));
    EXPECT_TRUE(HasLine(w, "NewShipType.unitCapsNumber = 0"));
    EXPECT_FALSE(HasLine(w, "NewShipType.UnitCapsNumber = 0"));
    EXPECT_EQ(w.find("LOD0"), std::string::npos);
    EXPECT_EQ(w.find("paradeData"), std::string::npos);
    EXPECT_EQ(w.find("addAbility"), std::string::npos);
    EXPECT_EQ(w.find("Maneuver"), std::string::npos);
    EXPECT_EQ(std::string(SplitLines(w)[2]).size(), 86u);
    EXPECT_EQ(SplitLines(w).back(),
              "loadShipPatchList(NewShipType, \"data:sound/sfx/ship/Hiigaran/Fighter/\", 0, \"HScoutEng\", \"\")");
    EXPECT_EQ(Normalize(w), w);
}

TEST(Writer, EveryLineEndsInCarriageReturnAndLineFeed) {
    Read r("NewShipType.buildCost = 5\nodd\n");  // LF in, CR LF out
    const std::string w = r.Written();
    ASSERT_GE(w.size(), 2u);
    EXPECT_EQ(w.substr(w.size() - 2), "\r\n");
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (w[i] == '\n' && w[i - 1] != '\r') FAIL() << "bare line feed at byte " << i;
    }
}

TEST(Writer, ValueForms) {
    SR2ShipFile d = NewDocument();
    d.fThrusterMaxSpeed = 0.1;
    d.fMainEngineMaxSpeed = 1.5;
    d.fRotationMaxSpeed = 3;
    d.fTrailLinger = 1E-05;
    d.fMirrorAngle = 1E+15;
    d.iBuildCost = -1;
    d.iMilitaryUnit = -32768;
    d.sDisplayedName = "a\"b";
    d.bCanDock = true;
    d.CanDock_ByPlayer = true;
    d.SSOD_AddItem("slv_chunk_lrg01");
    d.SSOD_LoadValues(0);
    d.SSOD_NumChunksToSpawn = 2;
    d.SSOD_SaveValues(0);
    const std::string w = d.ScriptText();
    for (const char* line : {"NewShipType.thrusterMaxSpeed = 0.1", "NewShipType.mainEngineMaxSpeed = 1.5",
                             "NewShipType.rotationMaxSpeed = 3", "NewShipType.trailLinger = 1E-05",
                             "NewShipType.mirrorAngle = 1E+15", "NewShipType.buildCost = -1",
                             "NewShipType.militaryUnit = -32768", "NewShipType.displayedName = \"a\"b\"",
                             "addAbility(NewShipType, \"CanDock\", 0, 1)",
                             "SpawnSalvageOnDeath(NewShipType, \"slv_chunk_lrg01\", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, "
                             "0, 0, 0, 0, 0, 0, 0, 0)"})
        EXPECT_TRUE(HasLine(w, line)) << line;
    EXPECT_EQ(Titles(w)[16], "--       SALVAGE");
    EXPECT_EQ(d.ScriptText(), w);  // writing changes nothing in the document
}

TEST(Writer, WeaponryOnlyWithWeapons) {
    SR2ShipFile d = NewDocument();
    d.SSWC_AddItem("gun", "hp", "fx");
    const std::string w = d.ScriptText();
    const int banner = LineIndex(w, "--      WEAPONRY");
    ASSERT_GT(banner, LineIndex(w, "--      -Launching"));
    EXPECT_EQ(SplitLines(w)[banner + 3], "StartShipWeaponConfig(NewShipType, \"gun\", \"hp\", \"fx\")");
    EXPECT_EQ(SplitLines(w)[banner + 4], "--");
    EXPECT_EQ(LineIndex(w, "--      ABILITIES"), banner + 6);
}

// Properties that only some scripts set are written after the other lines of their section, in a
// fixed order, when the script assigned them or they hold something other than the default.
TEST(Writer, OptionalPropertiesWhenAssignedOrSet) {
    SR2ShipFile d = NewDocument();
    d.sParadeData = "parade";
    d.sUnitCapsShipType = "Scout";
    d.iUseTargetRandom = 1;
    d.fTargetRandomPointXMin = -1;
    d.fTargetRandomPointZMax = 2.5;
    d.iSMHighlightDistMax = 9;
    d.iBattleScarMaxTriBase = 3;
    d.iDontDockWithOtherRaceShips = 1;
    const std::string w = d.ScriptText();
    const std::pair<const char*, const char*> after[] = {
        {"NewShipType.formationSpacing = 0", "NewShipType.paradeData = \"parade\""},
        {"NewShipType.militaryUnit = 0", "NewShipType.UnitCapsShipType = \"Scout\""},
        {"NewShipType.retaliationDistanceFromGoal = 0", "NewShipType.useTargetRandom = 1"},
        {"NewShipType.useTargetRandom = 1", "NewShipType.targetRandomPointXMin = -1"},
        {"NewShipType.targetRandomPointXMin = -1", "NewShipType.targetRandomPointZMax = 2.5"},
        {"NewShipType.TODistanceDisappear2 = 0", "NewShipType.SMHighlightDistMax = 9"},
        {"NewShipType.minLOD = 0", "NewShipType.battleScarMaxTriBase = 3"},
        {"NewShipType.launchFormation = \"\"", "NewShipType.dontDockWithOtherRaceShips = 1"},
    };
    for (const auto& [before, line] : after) EXPECT_EQ(LineIndex(w, line), LineIndex(w, before) + 1) << line;
    EXPECT_EQ(w.find("targetRandomPointYMin"), std::string::npos);
    EXPECT_EQ(w.find("SMHighlightDistMin"), std::string::npos);

    // A script that assigns the default value keeps its line.
    Read r = Read::Lines({"NewShipType.useTargetRandom = 0", "NewShipType.paradeData = \"\"",
                          "NewShipType.battleScarMaxTriInc = 0"});
    const std::string rw = r.Written();
    EXPECT_TRUE(HasLine(rw, "NewShipType.useTargetRandom = 0"));
    EXPECT_TRUE(HasLine(rw, "NewShipType.paradeData = \"\""));
    EXPECT_TRUE(HasLine(rw, "NewShipType.battleScarMaxTriInc = 0"));
    EXPECT_EQ(rw.find("targetRandomPoint"), std::string::npos);
}

TEST(Writer, LevelOfDetailSlotsThatHoldAValue) {
    SR2ShipFile d = NewDocument();
    d.iUpLOD1 = 500;
    d.iDownLOD0 = 40;
    d.iDownLOD2 = 80;
    const std::string w = d.ScriptText();
    const int minLod = LineIndex(w, "NewShipType.minLOD = 0");
    const auto lines = SplitLines(w);
    EXPECT_EQ(lines[minLod + 1], "NewShipType.upLOD = 500");
    EXPECT_EQ(lines[minLod + 2], "NewShipType.downLOD = 40");
    EXPECT_EQ(lines[minLod + 3], "NewShipType.downLOD = 80");
    EXPECT_EQ(lines[minLod + 4], "--");
}

TEST(Writer, UnrecognisedLinesLastInReadOrder) {
    Read r = Read::Lines({"third()", "NewShipType.buildCost = 1", "first()", "-- comment", "second()"});
    const std::string w = r.Written();
    const auto lines = SplitLines(w);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "--");
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()), (Lines{"third()", "first()", "second()"}));
    EXPECT_EQ(Titles(w).back(), "--       NOT-YET-RECOGNIZED LINES");
    EXPECT_EQ(Normalize(w), w);
    EXPECT_EQ(Read::Lines({"-- only", ""}).Written().find("NOT-YET"), std::string::npos);
}

// What a block does depends on the statements before and after it: from the first block on,
// every statement is written where it stood among the kept ones, and a list keeps its order
// however it was edited.
TEST(Writer, StatementsAfterTheFirstBlockStayWhereTheyStood) {
    const std::string gun = "StartShipWeaponConfig(NewShipType, \"gun\", \"hp\", \"fx\")";
    const std::string rear = "StartShipWeaponConfig(NewShipType, \"rear\", \"hp\", \"fx\")";
    const Lines tail = {"if NewShipType.mass > 1 then", "    NewShipType.mass = 60",
                        "    StartShipWeaponConfig(NewShipType, \"heavy\", \"hp\", \"fx\")", "end",
                        rear, "NewShipType.mass = 50", "odd()", "addAbility(NewShipType, \"CanDock\", 1, 1)"};
    Lines script = {"NewShipType = StartShipConfig()", "NewShipType.mass = 40", gun};
    script.insert(script.end(), tail.begin(), tail.end());
    Read r = Read::Lines(script);
    const std::string w = r.Written();
    const auto lines = SplitLines(w);
    EXPECT_EQ(Lines(lines.end() - static_cast<std::ptrdiff_t>(tail.size()), lines.end()), tail);
    EXPECT_LT(LineIndex(w, gun), LineIndex(w, "--       NOT-YET-RECOGNIZED LINES"));
    // Set again after the block, and written there; before it, the line that set it first stays.
    EXPECT_LT(LineIndex(w, "NewShipType.mass = 40"), LineIndex(w, gun));
    EXPECT_EQ(Normalize(w), w);

    // Weapons edited out of their order are written in the list's order.
    auto list = r.doc.SSWC_GetList();
    std::swap(list[0], list[1]);
    r.doc.SSWC_SetList(list);
    const std::string swapped = r.doc.ScriptText();
    EXPECT_LT(LineIndex(swapped, rear), LineIndex(swapped, gun));
    EXPECT_GT(LineIndex(swapped, rear), LineIndex(swapped, "end"));
}

TEST(Writer, AFailedSaveReportsWhyAndLeavesTheOldFile) {
    TempDir dir;
    const SR2ShipFile d = NewDocument();
    const std::string old = "old contents\r\n\xff\x00 bytes";
    const std::string readOnly = dir / "readonly.ship";
    WriteBytes(readOnly, old);
    fs::permissions(U8Path(readOnly), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directories(dir.path() / "folder.ship");
    const std::string cases[] = {dir / "missing/x.ship", dir / "folder.ship", ""};
    for (const std::string& target : cases) {
        Result r = d.WriteShipFile(target);
        EXPECT_FALSE(r.ok) << target;
        EXPECT_FALSE(r.reason.empty()) << target;
    }
    // Whether a read-only file may be written is the system's answer (an administrator may).
    const bool systemLetsUsWrite = static_cast<bool>(std::ofstream(readOnly, std::ios::binary | std::ios::app));
    Result r = d.WriteShipFile(readOnly);
    EXPECT_EQ(r.ok, systemLetsUsWrite);
    EXPECT_EQ(ReadBytes(readOnly), systemLetsUsWrite ? d.ScriptText() : old);
    if (!systemLetsUsWrite) {
        EXPECT_EQ(r.reason, "the file is read-only");
    }
#ifndef _WIN32  // Windows has no permission bits to keep, only the read-only attribute
    EXPECT_EQ(fs::status(readOnly).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
#endif
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder.ship"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "folder.ship"));
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
    std::size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u) << "a temporary file was left behind";

    // A good save replaces the old file completely and leaves nothing else.
    const std::string target = dir / "good.ship";
    WriteBytes(target, std::string(100000, 'x'));
    ASSERT_TRUE(d.WriteShipFile(target).ok);
    EXPECT_EQ(ReadBytes(target), d.ScriptText());
    files = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2u);
}

// Each field, set by name, is written under its own entry name: the name of the field without its
// type letter (the entry's first letter in either case), the level-of-detail slots as upLOD and
// downLOD.
TEST(Writer, EveryFieldIsWrittenUnderItsOwnEntryName) {
    SR2ShipFile d = NewDocument();
    std::vector<std::pair<std::string, std::string>> expected;  // entry name, value as written
    for (const auto& f : SR2ShipFile::Fields()) {
        const std::string n = f.name;
        if (n.find('_') != std::string::npos || n[0] == 'b' || n == "sShieldType" || n == "iVal1" ||
            n == "iVal2" || n == "sLoadSharedModel")
            continue;
        const int i = static_cast<int>(f.index);
        std::string text = f.type == FieldType::String  ? "t" + std::to_string(i)
                           : f.type == FieldType::Real  ? std::to_string(i) + ".25"
                                                        : std::to_string(1000 + i);
        ASSERT_TRUE(d.SetFieldText(f.name, text)) << f.name;
        std::string entry = n.substr(1);
        if (entry.rfind("UpLOD", 0) == 0 || entry.rfind("DownLOD", 0) == 0) entry.pop_back();
        expected.emplace_back(entry, f.type == FieldType::String ? "\"" + text + "\"" : text);
    }
    EXPECT_EQ(expected.size(), 145u);
    const auto lines = SplitLines(d.ScriptText());
    for (const auto& [entry, value] : expected) {
        const std::string tail = " = " + value;
        int found = 0;
        for (const auto& l : lines) {
            if (l.size() < tail.size() || l.compare(l.size() - tail.size(), tail.size(), tail) != 0) continue;
            ++found;
            const std::string name = l.substr(0, l.size() - tail.size());
            ASSERT_EQ(name.rfind("NewShipType.", 0), 0u) << l;
            const std::string got = name.substr(12);
            EXPECT_TRUE(got.size() == entry.size() && std::tolower(got[0]) == std::tolower(entry[0]) &&
                        got.substr(1) == entry.substr(1))
                << l << " should name " << entry;
        }
        EXPECT_EQ(found, 1) << entry;
    }
}

// The reader knows an ability line is written as the writer writes it by comparing it piece by
// piece; that must agree with building the line, for every ability and small changes of it.
TEST(Writer, AbilityLinesAreRecognisedPieceByPiece) {
    SR2ShipFile d = NewDocument();
    std::mt19937 rng(5);
    for (const auto& a : scriptformat::Abilities()) {
        if (a.listValued) continue;
        d.SetField(a.presence, true);
        std::vector<FieldValue> values;
        for (const char* arg : a.args) {
            switch (SR2ShipFile::FindField(arg)->type) {
                case FieldType::Flag: d.SetField(arg, true); break;
                case FieldType::Int32: d.SetField(arg, std::int32_t{-7}); break;
                default: d.SetField(arg, 0.25); break;
            }
            values.push_back(d.GetField(arg));
        }
        if (a.quotedArg) {
            d.SetField(a.quotedArg, std::string("x,y"));
            values.push_back(d.GetField(a.quotedArg));
        }
        const std::string line = ShipWriter::AbilityLine(d, a);
        EXPECT_TRUE(ShipWriter::IsAbilityLine(line, a, values)) << line;
        for (int n = 0; n < 300; ++n) {
            std::string other = line;
            const std::size_t at = rng() % other.size();
            const char c = " ,)\"0.5-"[rng() % 8];
            if (rng() % 2) other.insert(at, 1, c);
            else other[at] = c;
            EXPECT_EQ(ShipWriter::IsAbilityLine(other, a, values), other == line) << other;
        }
    }
}
