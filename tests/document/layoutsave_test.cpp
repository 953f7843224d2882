// Save keeps the modder's own file: unchanged documents give the same bytes, and an edit changes
// only the lines of the entry or item edited, which read back to the new value.
#include <gtest/gtest.h>

#include <set>

#include "docsupport.h"
#include "shiplayout.h"
#include "othervalue.h"
#include "scriptformat.h"
#include "shipdocument.h"

using namespace docsupport;

namespace {

// Every script of the test set: the round-trip scripts, the sample, and one file of each line end.
std::vector<fs::path> TestScripts() {
    std::vector<fs::path> files{fs::path(TARVISK_EXAMPLES_DIR) / "tvk_scout.ship"};
    for (const auto& e : fs::directory_iterator(fs::path(TARVISK_EXAMPLES_DIR) / ".." / "tests" / "roundtrip"))
        if (e.path().extension() == ".ship") files.push_back(e.path());
    return files;
}

const std::string kMixedSample =
    "-- kept comment\n"
    "NewShipType = StartShipConfig()\n"
    "NewShipType.buildCost = 10 + 5\n"
    "\n"
    "--NewShipType.mass = 99\n"
    "NewShipType.mass = 12\n"
    "addAbility(NewShipType, \"CanDock\", 1, 0)\n"
    "StartShipWeaponConfig(NewShipType, \"gun\", \"hp\", \"fx\")\n";

// One script opened as the editor opens it, in a folder of its own.
struct Session {
    TempDir dir;
    std::string path;
    SR2ShipFile ship;
    ShipDocument doc{ship};
    std::string original;

    Session(const Session&) = delete;  // the document points at this session's ship
    explicit Session(const std::string& bytes, const std::string& name = "ship.ship") {
        path = dir / name;
        WriteBytes(path, bytes);
        original = bytes;
        ship.SetLogFolder(dir.path().string());
        EXPECT_EQ(doc.Open(path), 0);
    }
    static Session From(const fs::path& file) { return Session(ReadBytes(file), file.filename().string()); }

    // Reads bytes as a file of the same name would be read.
    SR2ShipFile Reread(const std::string& bytes) const {
        const std::string again = (dir.path() / "again" / fs::path(path).filename()).string();
        fs::create_directories(fs::path(again).parent_path());
        WriteBytes(again, bytes);
        SR2ShipFile d;
        d.SetLogFolder(dir.path().string());
        EXPECT_EQ(d.OpenShipFile(again), 0);
        return d;
    }
};

// The lines that differ between two texts, after their common beginning and end.
struct Change {
    std::vector<std::string> removed, added;
    std::size_t at = 0;
};
Change Middle(const std::string& a, const std::string& b) {
    const ShipLayout::Lines x(a), y(b);
    std::size_t pre = 0, suf = 0;
    while (pre < x.size() && pre < y.size() && x[pre] == y[pre]) ++pre;
    while (suf < x.size() - pre && suf < y.size() - pre && x[x.size() - 1 - suf] == y[y.size() - 1 - suf]) ++suf;
    Change c;
    c.at = pre;
    for (std::size_t i = pre; i < x.size() - suf; ++i) c.removed.emplace_back(x[i]);
    for (std::size_t i = pre; i < y.size() - suf; ++i) c.added.emplace_back(y[i]);
    return c;
}


// The level-of-detail slots fill in order, so a value after an empty slot has no script form.
bool LodRepresentable(const SR2ShipFile& d, const std::string& field) {
    for (const char* entry : {"iUpLOD", "iDownLOD"}) {
        if (field.rfind(entry, 0) != 0) continue;
        const int slot = field.back() - '0';
        for (int s = 0; s < slot; ++s)
            if (std::get<std::int32_t>(d.GetField(entry + std::to_string(s))) == 0) return false;
    }
    return true;
}

// The entries a field's lines belong to: the field itself, or its ability.
std::set<std::pair<SR2ShipFile::LineOrigin::Kind, std::size_t>> OwnersOf(const std::string& field) {
    using Kind = SR2ShipFile::LineOrigin::Kind;
    std::set<std::pair<Kind, std::size_t>> owners{{Kind::Assignment, SR2ShipFile::FindField(field)->index},
                                                  {Kind::SharedModel, SR2ShipFile::FindField(field)->index}};
    const auto& abilities = scriptformat::Abilities();
    for (std::size_t i = 0; i < abilities.size(); ++i) {
        const auto& a = abilities[i];
        bool mine = field == a.presence || (a.quotedArg && field == a.quotedArg);
        for (const char* arg : a.args) mine = mine || field == arg;
        if (mine) owners.insert({Kind::Ability, i});
        if (mine) owners.insert({Kind::AbilityAgain, i});
    }
    if (field.rfind("LSPL_", 0) == 0) owners.insert({Kind::PatchList, 0});
    return owners;
}

}  // namespace

TEST(LayoutSave, AnUnchangedDocumentSavesTheSameBytes) {
    auto check = [](Session s, const std::string& what) {
        EXPECT_FALSE(s.doc.IsModified()) << what;
        EXPECT_EQ(s.doc.SaveBytes(), s.original) << what;
        ASSERT_TRUE(s.doc.Save()) << what;
        EXPECT_EQ(ReadBytes(s.path), s.original) << what;
    };
    for (const auto& file : TestScripts()) check(Session::From(file), file.string());
    check(Session(kMixedSample), "LF sample");
    std::string crlf;
    for (const auto& l : SplitLines(kMixedSample)) crlf += l + "\r\n";
    check(Session(crlf), "CR LF sample");
    check(Session("NewShipType.mass = 3"), "no line end at the end");
    check(Session(""), "empty file");
}

// Every field of the field table, set by name on every script of the test set: only that
// entry's lines change, and the saved file reads back to the document as edited.
TEST(LayoutSave, SettingAnyFieldChangesOnlyItsOwnLines) {
    int rewritten = 0, inserted = 0, untouched = 0;
    for (const auto& file : TestScripts()) {
        Session s = Session::From(file);
        const SR2ShipFile asRead = s.ship;
        const auto origins = s.ship.LineOrigins();
        for (const auto& info : SR2ShipFile::Fields()) {
            s.ship = asRead;
            const FieldValue value = OtherValue(s.ship.GetField(info.name));
            s.ship.SetField(info.name, value);
            if (!LodRepresentable(s.ship, info.name)) continue;
            const std::string what = file.filename().string() + ": " + info.name;
            // An entry assigned last inside a block cannot be edited by rewriting a line.
            if (!s.doc.EditRefusal().empty()) {
                EXPECT_EQ(s.doc.SaveBytes(), s.original) << what;
                continue;
            }
            const std::string saved = s.doc.SaveBytes();
            if (ShipLayout::SameContent(s.ship, asRead)) {
                // Not held by any script line (a list editor's current item, an unused count).
                EXPECT_EQ(saved, s.original) << what;
                ++untouched;
                continue;
            }
            const Change c = Middle(s.original, saved);
            EXPECT_LE(c.added.size(), 1u) << what;
            // Every line that went belongs to this entry (or its ability).
            const auto owners = OwnersOf(info.name);
            for (std::size_t l = c.at; l < c.at + c.removed.size(); ++l) {
                bool owned = false;
                for (const auto& o : origins)
                    owned = owned || (o.first <= l && l <= o.last && owners.count({o.kind, o.target}));
                EXPECT_TRUE(owned) << what << ": line " << l << " changed: " << c.removed[l - c.at];
            }
            (c.removed.empty() ? inserted : rewritten)++;

            const SR2ShipFile back = s.Reread(saved);
            EXPECT_TRUE(ShipLayout::SameContent(back, s.ship)) << what << "\n" << saved;
        }
    }
    EXPECT_GT(rewritten, 100);
    EXPECT_GT(inserted, 100);
    EXPECT_GT(untouched, 100);
}

// ----- Lists, abilities and kept lines -----

TEST(LayoutSave, WeaponAndSalvageItemsKeepTheirLines) {
    Session s = Session::From(fs::path(TARVISK_EXAMPLES_DIR) / "tvk_scout.ship");
    const std::string nose = "StartShipWeaponConfig(NewShipType, \"hgn_peashooter\", \"Weapon_Nose\", \"Fire_Nose\")";
    const std::string left = "StartShipWeaponConfig(NewShipType, \"tvk_needlegun\", \"Weapon_Left\", \"Fire_Left\")";

    // Removing the first weapon removes its line; the second keeps its own, byte for byte.
    s.ship.SSWC_RemoveItem(0);
    Change c = Middle(s.original, s.doc.SaveBytes());
    EXPECT_EQ(c.removed, std::vector<std::string>{nose + "\r\n"});
    EXPECT_TRUE(c.added.empty());

    // A new weapon goes after the last weapon line; a changed one is rewritten in place.
    s.ship.SSWC_AddItem("tvk_rail", "Weapon_Top", "Fire_Top");
    s.ship.SSWC_LoadValues(0);
    s.ship.SSWC_FiringEffectName = "Fire_Other";
    s.ship.SSWC_SaveValues(0);
    std::string saved = s.doc.SaveBytes();
    c = Middle(s.original, saved);
    EXPECT_EQ(c.removed, (std::vector<std::string>{nose + "\r\n", left + "\r\n"}));
    EXPECT_EQ(c.added, (std::vector<std::string>{
        "StartShipWeaponConfig(NewShipType, \"tvk_needlegun\", \"Weapon_Left\", \"Fire_Other\")\r\n",
        "StartShipWeaponConfig(NewShipType, \"tvk_rail\", \"Weapon_Top\", \"Fire_Top\")\r\n"}));

    // Saved, then edited again: the records follow the saved file.
    ASSERT_TRUE(s.doc.Save());
    EXPECT_FALSE(s.doc.IsModified());
    s.ship.SSOD_AddItem("slv_new");
    s.ship.SSWC_RemoveItem(1);
    saved = s.doc.SaveBytes();
    EXPECT_EQ(SplitLines(saved).size(), SplitLines(ReadBytes(s.path)).size());  // one out, one in
    const auto lines = SplitLines(saved);
    const int salvage = LineIndex(saved, "SpawnSalvageOnDeath(NewShipType, \"slv_new\", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)");
    ASSERT_GE(salvage, 1);
    EXPECT_EQ(lines[salvage - 1].rfind("SpawnSalvageOnDeath(NewShipType, \"slv_chunk_sml01\"", 0), 0u);
    EXPECT_EQ(saved.find("tvk_rail"), std::string::npos);
    EXPECT_TRUE(ShipLayout::SameContent(s.Reread(saved), s.ship));
}

TEST(LayoutSave, AbilitiesPatchesAndMirrorLists) {
    Session s = Session::From(fs::path(TARVISK_EXAMPLES_DIR) / "tvk_scout.ship");
    s.ship.bCanDock = false;         // removed with its line
    s.ship.bCanBeRepaired = true;    // added after the last addAbility line (kept as read)
    s.ship.SensorPing_PingDuration = 4;
    s.ship.MAM_AddValue("Barrel");
    s.ship.MBM_Reset();
    auto patches = s.ship.LSPL_GetList();
    patches.items = {{"TvkScoutEng", 2, ""}};
    patches.num = 0;
    s.ship.LSPL_SetList(std::move(patches));
    const std::string saved = s.doc.SaveBytes();
    EXPECT_FALSE(HasLine(saved, "addAbility(NewShipType, \"CanDock\", 1, 0)"));
    EXPECT_EQ(LineIndex(saved, "addAbility(NewShipType, \"CanBeRepaired\")"),
              LineIndex(saved, "addAbility(NewShipType, \"tvkOverdrive\", 1)") + 1);
    EXPECT_TRUE(HasLine(saved, "addAbility(NewShipType, \"SensorPing\", 0, 1, 4, 0.25)"));
    EXPECT_TRUE(HasLine(saved, "NewShipType.mirrorAboveManeuver = \"Loop, RollCW, Barrel\""));
    EXPECT_TRUE(HasLine(saved, "NewShipType.mirrorBelowManeuver = \"\""));
    EXPECT_TRUE(HasLine(saved, "loadShipPatchList(NewShipType, \"data:sound/sfx/ship/Tarvish/Scout/\", 2, \"TvkScoutEng\", \"\")"));
    // Nothing else moved: the file has one line fewer (CanDock) and one more (CanBeRepaired).
    EXPECT_EQ(SplitLines(saved).size(), SplitLines(s.original).size());
    const SR2ShipFile back = s.Reread(saved);
    EXPECT_TRUE(ShipLayout::SameContent(back, s.ship));
    EXPECT_EQ(back.MBM_Num, -1);
}

TEST(LayoutSave, KeptLinesEntriesSetTwiceAndLineEnds) {
    Session s(kMixedSample);
    // The expression stays visible as written until the entry is changed.
    EXPECT_EQ(s.ship.KeptFieldText("iBuildCost"), std::optional<std::string>("10 + 5"));
    EXPECT_FALSE(s.ship.KeptFieldText("iMass"));
    s.ship.iBuildCost = 20;
    s.ship.iMass = 13;
    s.ship.iMaxhealth = 500;  // no line yet: after the last assignment, with the file's LF
    std::string saved = s.doc.SaveBytes();
    EXPECT_EQ(saved,
              "-- kept comment\n"
              "NewShipType = StartShipConfig()\n"
              "NewShipType.buildCost = 20\n"
              "\n"
              "--NewShipType.mass = 99\n"
              "NewShipType.mass = 13\n"
              "NewShipType.maxhealth = 500\n"
              "addAbility(NewShipType, \"CanDock\", 1, 0)\n"
              "StartShipWeaponConfig(NewShipType, \"gun\", \"hp\", \"fx\")\n");

    // A rewritten value keeps the name the script used for its entry.
    Session spelt("NewShipType.upLOD0 = 250\r\nNewShipType.UnitCapsNumber=6\r\n");
    spelt.ship.iUpLOD0 = 300;
    spelt.ship.iUnitCapsNumber = 7;
    EXPECT_EQ(spelt.doc.SaveBytes(), "NewShipType.upLOD0 = 300\r\nNewShipType.UnitCapsNumber = 7\r\n");

    // An entry set twice: the last line, the one the game keeps, is rewritten.
    Session twice("NewShipType.buildCost = 1\r\nNewShipType.buildCost = 2\r\n");
    twice.ship.iBuildCost = 3;
    EXPECT_EQ(twice.doc.SaveBytes(), "NewShipType.buildCost = 1\r\nNewShipType.buildCost = 3\r\n");

    // No StartShipConfig and no line of the kind: at the end, the last line given its line end.
    Session bare("-- only a comment\r\nNewShipType.mass = 3");
    bare.ship.sLoadSharedModel = "Hull";
    bare.ship.iMass = 4;
    EXPECT_EQ(bare.doc.SaveBytes(),
              "-- only a comment\r\nNewShipType.mass = 4\r\nLoadSharedModel(NewShipType,\"Hull\")\r\n");
    // A lone CR ends a line, as it does for Lua: a file of old Mac line ends gets its own.
    Session cr("NewShipType.mass = 3\r");
    cr.ship.iMaxhealth = 8;
    EXPECT_EQ(cr.doc.SaveBytes(), "NewShipType.mass = 3\rNewShipType.maxhealth = 8\r");
}

TEST(LayoutSave, ModifiedFollowsTheDocumentAndSaveAsMovesItToTheNewFile) {
    Session s(kMixedSample);
    EXPECT_FALSE(s.doc.IsModified());
    s.ship.SSWC_LoadValues(0);  // a list editor looking at an item changes nothing
    s.ship.iVal1 = 9;           // nor does a field no script line holds
    EXPECT_FALSE(s.doc.IsModified());
    s.ship.iMass = 50;
    EXPECT_TRUE(s.doc.IsModified());
    s.ship.iMass = 12;
    EXPECT_FALSE(s.doc.IsModified());

    s.ship.iMass = 50;
    const std::string copy = s.dir / "copy.ship";
    ASSERT_TRUE(s.doc.SaveAs(copy));
    EXPECT_EQ(ReadBytes(copy), s.ship.ScriptText());
    EXPECT_EQ(s.doc.FilePath(), copy);
    EXPECT_FALSE(s.doc.IsModified());
    EXPECT_EQ(ReadBytes(s.path), s.original);
    // Save now edits the canonical file line by line.
    s.ship.iMass = 51;
    const Change c = Middle(ReadBytes(copy), s.doc.SaveBytes());
    EXPECT_EQ(c.removed, std::vector<std::string>{"NewShipType.mass = 50\r\n"});
    EXPECT_EQ(c.added, std::vector<std::string>{"NewShipType.mass = 51\r\n"});

    // A failed save leaves the document modified and the file as it was.
    fs::create_directories(s.dir.path() / "folder.ship");
    SR2ShipFile other;
    ShipDocument none(other);
    EXPECT_FALSE(none.Save());
    EXPECT_FALSE(none.SaveAs(s.dir / "folder.ship"));
}

// Any mix of additions, removals and changes on a list (with equal items in it) reads back as the
// list edited, and the comments between its lines stay.
TEST(LayoutSave, RandomListEditsReadBack) {
    std::string script = "NewShipType = StartShipConfig()\r\n";
    for (int i = 0; i < 8; ++i)
        script += "StartShipWeaponConfig(NewShipType, \"w" + std::to_string(i % 3) + "\", \"hp\", \"fx\") -- " +
                  std::to_string(i) + "\r\n" + (i % 2 ? "-- between\r\n" : "");
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        Session s(script);
        for (int edit = 0; edit < 1 + round % 5; ++edit) {
            const int n = s.ship.SSWC_Num + 1;
            switch (random() % 3) {
                case 0: s.ship.SSWC_AddItem("new" + std::to_string(edit), "hp", "fx"); break;
                case 1: if (n > 0) s.ship.SSWC_RemoveItem(static_cast<std::int16_t>(random() % n)); break;
                default:
                    if (n == 0) break;
                    const auto at = static_cast<std::int16_t>(random() % n);
                    s.ship.SSWC_LoadValues(at);
                    s.ship.SSWC_WeaponName = "w" + std::to_string(random() % 3);
                    s.ship.SSWC_SaveValues(at);
            }
        }
        const std::string saved = s.doc.SaveBytes();
        EXPECT_TRUE(ShipLayout::SameContent(s.Reread(saved), s.ship)) << "round " << round << "\n" << saved;
        for (const auto& line : SplitLines(script))  // comments never go
            if (line.rfind("--", 0) == 0) {
                EXPECT_TRUE(HasLine(saved, line)) << line;
            }
    }
}

// An ability's edit rewrites its last call, the one the game keeps; where that call is one the
// editor cannot rewrite, Save and Save As refuse the edit and name its line.
TEST(LayoutSave, AnAbilityEditRewritesItsLastCallOrIsRefused) {
    const std::string first = "addAbility(NewShipType, \"CanDock\", 1, 0)";
    Session s("NewShipType = StartShipConfig()\r\n" + first + "\r\nodd()\r\naddAbility(NewShipType, \"CanDock\", 1, 1)\r\n");
    EXPECT_TRUE(s.ship.CanDock_ByPlayer);
    s.ship.CanDock_IsActive = false;
    Change c = Middle(s.original, s.doc.SaveBytes());
    EXPECT_EQ(c.removed, std::vector<std::string>{"addAbility(NewShipType, \"CanDock\", 1, 1)\r\n"});
    EXPECT_EQ(c.added, std::vector<std::string>{"addAbility(NewShipType, \"CanDock\", 0, 1)\r\n"});
    EXPECT_TRUE(ShipLayout::SameContent(s.Reread(s.doc.SaveBytes()), s.ship));
    s.ship.bCanDock = false;  // removed: every call goes
    EXPECT_EQ(s.doc.SaveBytes(), "NewShipType = StartShipConfig()\r\nodd()\r\n");

    for (const char* last : {"if x then\r\n  addAbility(NewShipType, \"CanDock\", 1, 1)\r\nend",
                                    "addAbility(NewShipType, \"CanDock\", nil)"}) {
        Session b("NewShipType = StartShipConfig()\r\n" + first + "\r\n" + last + "\r\n");
        b.ship.CanDock_ByPlayer = true;
        EXPECT_NE(b.doc.EditRefusal().find("'CanDock' is added last on line 3"), std::string::npos) << b.doc.EditRefusal();
        EXPECT_FALSE(b.doc.SaveAs(b.dir / "copy.ship"));
        EXPECT_FALSE(fs::exists(b.dir.path() / "copy.ship"));
        b.ship.bCanDock = false;  // removed, yet that call still adds it
        EXPECT_NE(b.doc.EditRefusal().find("'CanDock' is also added on line 3"), std::string::npos) << b.doc.EditRefusal();
    }
}

// An assignment of several entries at once is kept as read: an edit of an entry it sets last is
// refused with its line, and the statements after it keep their place in Save As too.
TEST(LayoutSave, AnAssignmentOfSeveralEntriesIsNotRewritten) {
    Session s("NewShipType = StartShipConfig()\r\nNewShipType.mass = 5\r\n"
              "NewShipType.mass, NewShipType[\"maxhealth\"] = 6, 7\r\nNewShipType.buildCost = 1\r\n");
    const SR2ShipFile asRead = s.ship;
    for (auto edit : {+[](SR2ShipFile& d) { d.iMass = 9; }, +[](SR2ShipFile& d) { d.iMaxhealth = 9; }}) {
        s.ship = asRead;
        edit(s.ship);
        EXPECT_NE(s.doc.EditRefusal().find("is set last on line 3, by an assignment of several entries"), std::string::npos)
            << s.doc.EditRefusal();
    }
    s.ship = asRead;
    s.ship.iBuildCost = 2;
    EXPECT_TRUE(s.doc.EditRefusal().empty());
    const std::string canonical = s.ship.ScriptText();
    EXPECT_LT(LineIndex(canonical, "NewShipType.mass, NewShipType[\"maxhealth\"] = 6, 7"),
              LineIndex(canonical, "NewShipType.buildCost = 2"));
}

// A block that never closes runs to the end of the file: a line added at the end would be in it.
TEST(LayoutSave, ALineAddedGoesBeforeABlockThatNeverCloses) {
    Session s("if x then\r\n  y()\r\n");
    s.ship.iMaxhealth = 8;
    EXPECT_EQ(s.doc.SaveBytes(), "NewShipType.maxhealth = 8\r\nif x then\r\n  y()\r\n");
}

// A call that never closes was ended by the statement after it; taking that statement away must
// not let the call run on into the lines that follow.
TEST(LayoutSave, RemovingTheStatementAfterAnUnclosedCallKeepsItsEnd) {
    Session s(
        "NewShipType = StartShipConfig()\r\n"
        "LoadSharedModel(NewShipType, \"Tvk_Model\r\n"
        "StartShipWeaponConfig(NewShipType, \"gun\", \"hp\", \"fx\")\r\n"
        "attackfamily = {\r\n"
        "    { name = \"Fighter\", },\r\n"
        "}\r\n");
    ASSERT_EQ(s.ship.SSWC_Num, 0);
    s.ship.SSWC_RemoveItem(0);
    const std::string saved = s.doc.SaveBytes();
    EXPECT_TRUE(HasLine(saved, "--"));
    EXPECT_TRUE(ShipLayout::SameContent(s.Reread(saved), s.ship));
}
