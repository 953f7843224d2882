// Statements no sheet shows are listed as written, and editing, adding or removing them changes
// only their own lines when the file is saved.
#include <gtest/gtest.h>

#include "docsupport.h"
#include "gamevalues.h"
#include "otherentries.h"
#include "shipdocument.h"

using namespace docsupport;
using Form = OtherEntries::Form;

namespace {

const std::string kScript =
    "-- a frigate\n"                                                 // 1
    "NewShipType = StartShipConfig()\n"                              // 2
    "NewShipType.buildCost = 500\n"                                  // 3
    "NewShipType.defaultROE = \"Aggressive\"\n"                      // 4
    "setEngineBurn(NewShipType, 12, 1.5, \"burn\")\n"                // 5
    "StartShipWeaponConfig(NewShipType, \"gun\", \"hp\", \"fx\")\n"  // 6
    "addCustomCode(NewShipType,\n"                                   // 7
    "    \"data:scripts/x.lua\", 1)\n"                               // 8
    "NewShipType.buildBatch = 3 -- per batch\n"                      // 9
    "SpawnSalvageOnDeath(NewShipType, \"chunk\")\n";                 // 10: too few arguments

struct Opened {
    TempDir dir;
    std::string path;
    SR2ShipFile ship;
    ShipDocument doc{ship};
    explicit Opened(const std::string& bytes) {
        path = dir / "frigate.ship";
        WriteBytes(path, bytes);
        ship.SetWriteLogs(false);
        EXPECT_EQ(doc.Open(path), 0);
    }
    std::vector<OtherEntries::Row> Rows() const { return OtherEntries::List(ship, doc.LineOrigins()); }
    std::size_t IdOf(const std::string& entry) const {
        for (const auto& r : Rows())
            if (r.entry == entry) return r.id;
        ADD_FAILURE() << "no row " << entry;
        return 0;
    }
};

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

}  // namespace

TEST(OtherEntries, ListsWhatNoSheetHoldsInFileOrderAsWritten) {
    Opened o(kScript);
    const auto rows = o.Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].line, 4);
    EXPECT_EQ(rows[0].form, Form::Assignment);
    EXPECT_EQ(rows[0].entry, "defaultROE");
    EXPECT_EQ(rows[0].value, "\"Aggressive\"");
    EXPECT_EQ(rows[1].line, 5);
    EXPECT_EQ(rows[1].form, Form::Call);
    EXPECT_EQ(rows[1].entry, "setEngineBurn");
    EXPECT_EQ(rows[1].value, "12, 1.5, \"burn\"");
    EXPECT_EQ(rows[2].line, 7);  // a call over two lines is one statement, edited as a block
    EXPECT_EQ(rows[2].form, Form::Block);
    EXPECT_EQ(rows[2].entry, "addCustomCode");
    EXPECT_EQ(rows[3].value, "3 -- per batch");
    EXPECT_EQ(rows[4].line, 10);  // a line that could not be read is there too
    EXPECT_EQ(rows[4].entry, "SpawnSalvageOnDeath");

    // Bracket keys and calls on other tables.
    const auto p = OtherEntries::Parse("NewShipType[\"odd key\"] = 1");
    EXPECT_EQ(p.form, Form::Assignment);
    EXPECT_EQ(p.value, "1");
    EXPECT_EQ(OtherEntries::Parse("setTargetBox(NewShipType)").value, "");
    EXPECT_EQ(OtherEntries::Parse("if x then y() end").form, Form::Block);
}

TEST(OtherEntries, EditsAddsAndRemovesRewriteOnlyTheirOwnLines) {
    Opened o(kScript);
    // A copy of the document (an undo's state) shares its kept lines until one of them changes.
    const SR2ShipFile copy = o.ship;
    const std::string copyScript = copy.ScriptText();
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, o.IdOf("defaultROE"), "\"Defensive\""));
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, o.IdOf("setEngineBurn"), "14, 2, \"burn\""));
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, o.IdOf("addCustomCode"),
                                       "addCustomCode(NewShipType,\n    \"data:scripts/y.lua\", 2)"));
    OtherEntries::Remove(o.ship, o.IdOf("SpawnSalvageOnDeath"));
    std::size_t added = 0;
    ASSERT_TRUE(OtherEntries::Add(o.ship, "setTacticsMults(\"ENGINEACCEL\", 1.1)", &added));
    ASSERT_TRUE(OtherEntries::Add(o.ship, "battleScarCoverage = 2"));
    EXPECT_TRUE(o.doc.IsModified());
    EXPECT_EQ(copy.ScriptText(), copyScript);

    std::string want = kScript;
    want = Replaced(want, "\"Aggressive\"", "\"Defensive\"");
    want = Replaced(want, "12, 1.5, \"burn\"", "14, 2, \"burn\"");
    want = Replaced(want, "x.lua\", 1)", "y.lua\", 2)");
    want = Replaced(want, "SpawnSalvageOnDeath(NewShipType, \"chunk\")\n",
                    "setTacticsMults(NewShipType, \"ENGINEACCEL\", 1.1)\n"
                    "NewShipType.battleScarCoverage = 2\n");
    EXPECT_EQ(o.doc.SaveBytes(), want);
    ASSERT_TRUE(o.doc.Save());
    EXPECT_EQ(ReadBytes(o.path), want);
    EXPECT_FALSE(o.doc.IsModified());

    // After the save the records follow the new file: the added rows have lines, and a second
    // edit lands on its own line.
    const auto rows = o.Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[4].line, 10);
    EXPECT_EQ(rows[4].id, added);
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, added, "\"ENGINEACCEL\", 1.2"));
    EXPECT_EQ(o.doc.SaveBytes(), Replaced(want, "1.1)", "1.2)"));

    // The canonical script carries the same statements.
    const std::string script = o.ship.ScriptText();
    EXPECT_NE(script.find("NewShipType.defaultROE = \"Defensive\"\r\n"), std::string::npos);
    EXPECT_EQ(script.find("SpawnSalvageOnDeath(NewShipType, \"chunk\")"), std::string::npos);
}

TEST(OtherEntries, LineEndsOfTheFileAreKept) {
    std::string crlf;
    for (char c : kScript) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Opened o(crlf);
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, o.IdOf("addCustomCode"), "addCustomCode(NewShipType,\n \"z\", 3)"));
    ASSERT_TRUE(OtherEntries::Add(o.ship, "setSupplyValue(\"Frigate\", 1)"));
    EXPECT_EQ(o.doc.SaveBytes(), Replaced(crlf, "    \"data:scripts/x.lua\", 1)", " \"z\", 3)") +
                                     "setSupplyValue(NewShipType, \"Frigate\", 1)\r\n");
}

TEST(OtherEntries, ValuesTheGameCouldNotReadAreRefused) {
    Opened o(kScript);
    const std::size_t roe = o.IdOf("defaultROE");
    EXPECT_FALSE(OtherEntries::SetValue(o.ship, roe, "Defensive"));      // no quotes
    EXPECT_FALSE(OtherEntries::SetValue(o.ship, roe, "\"Defensive"));    // does not close
    EXPECT_FALSE(OtherEntries::SetValue(o.ship, roe, ""));
    EXPECT_FALSE(OtherEntries::SetValue(o.ship, o.IdOf("setEngineBurn"), "12, 1..5"));
    EXPECT_FALSE(OtherEntries::SetValue(o.ship, o.IdOf("addCustomCode"), "addCustomCode(NewShipType, 1"));
    EXPECT_FALSE(o.doc.IsModified());
    for (const char* good : {"-1.5e3", "0x1F", "true", "'single'", "7 -- note"})
        EXPECT_TRUE(OtherEntries::SetValue(o.ship, roe, good)) << good;
    // The value as it stands is taken even where it is no literal.
    Opened e("NewShipType = StartShipConfig()\nNewShipType.buildBatch = 79*1.1\n");
    EXPECT_TRUE(OtherEntries::SetValue(e.ship, e.IdOf("buildBatch"), "79*1.1"));
    EXPECT_FALSE(e.doc.IsModified());

    // Entries and calls that a window holds are not added here.
    EXPECT_FALSE(OtherEntries::Add(o.ship, "maxhealth = 5"));
    EXPECT_FALSE(OtherEntries::Add(o.ship, "NewShipType.BuildCost = 5"));
    EXPECT_FALSE(OtherEntries::Add(o.ship, "StartShipWeaponConfig(\"a\", \"b\", \"c\")"));
    EXPECT_FALSE(OtherEntries::Add(o.ship, "just words"));
    EXPECT_FALSE(OtherEntries::Add(o.ship, ""));
    EXPECT_EQ(o.Rows().size(), 5u);
}

TEST(OtherEntries, KnownEntriesNoSheetShowsAreRowsThatEditTheirField) {
    const std::string script =
        "NewShipType = StartShipConfig()\n"                     // 1
        "NewShipType.paradeData = \"tvk_parade\" -- parade\n"   // 2
        "NewShipType.controllerType = \"Ship\"\n"               // 3
        "NewShipType.defaultROE = \"Aggressive\"\n"             // 4
        "NewShipType.SMHighlightDistMin = 100\n"                // 5
        "LoadSharedModel(NewShipType, \"Tvk_Warden\")\n";       // 6
    Opened o(script);
    const auto rows = o.Rows();
    ASSERT_EQ(rows.size(), 5u);  // in file order, among the statements kept as written
    EXPECT_EQ(rows[0].entry, "paradeData");
    EXPECT_EQ(rows[0].line, 2);
    EXPECT_EQ(rows[0].value, "\"tvk_parade\" -- parade");  // as written while its line is kept
    EXPECT_NE(rows[0].field, OtherEntries::kNoField);
    EXPECT_EQ(rows[1].entry, "controllerType");
    EXPECT_EQ(rows[2].field, OtherEntries::kNoField);
    EXPECT_EQ(rows[3].value, "100");
    EXPECT_EQ(rows[4].form, Form::Call);
    EXPECT_EQ(rows[4].entry, "LoadSharedModel");
    EXPECT_EQ(rows[4].value, "\"Tvk_Warden\"");

    // A value the field cannot hold is refused; the value as it stands keeps the line as written.
    EXPECT_FALSE(OtherEntries::SetValue(o.ship, rows[0].id, "tvk_parade"));
    EXPECT_FALSE(OtherEntries::SetValue(o.ship, rows[0].id, "\"a\\\"b\""));
    EXPECT_FALSE(OtherEntries::SetValue(o.ship, rows[3].id, "79*1.1"));
    EXPECT_TRUE(OtherEntries::SetValue(o.ship, rows[0].id, rows[0].value));
    EXPECT_FALSE(o.doc.IsModified());
    // The row stays: a known entry's line is not removed from here.
    OtherEntries::Remove(o.ship, rows[1].id);
    EXPECT_EQ(o.Rows().size(), 5u);

    ASSERT_TRUE(OtherEntries::SetValue(o.ship, rows[0].id, "'tvk_march'"));
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, rows[3].id, "250"));
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, rows[4].id, "\"Tvk_Keeper\""));
    // Adding a known entry sets it, here one the script did not have.
    std::size_t id = 0;
    ASSERT_TRUE(OtherEntries::Add(o.ship, "UnitCapsShipType = \"Frigate\"", &id));
    EXPECT_FALSE(OtherEntries::Add(o.ship, "dontDockWithOtherRaceShips = \"yes\""));
    const auto after = o.Rows();
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(after[5].id, id);
    EXPECT_EQ(after[5].value, "\"Frigate\"");
    // Each line rewritten in the file's own form (its comment stays), the new entry after the
    // last assignment.
    EXPECT_EQ(o.doc.SaveBytes(),
              "NewShipType = StartShipConfig()\n"
              "NewShipType.paradeData = \"tvk_march\" -- parade\n"
              "NewShipType.controllerType = \"Ship\"\n"
              "NewShipType.defaultROE = \"Aggressive\"\n"
              "NewShipType.SMHighlightDistMin = 250\n"
              "NewShipType.UnitCapsShipType = \"Frigate\"\n"
              "LoadSharedModel(NewShipType,\"Tvk_Keeper\")\n");
}

TEST(GameValues, TheGamesValuesOfEntriesFromOneRun) {
    const GameValues v(
        "NewShipType = StartShipConfig()\n"
        "NewShipType.MainEngineMaxSpeed = 79*1.1\n"
        "NewShipType.maxhealth = getShipNum(NewShipType, \"maxhealth\", 160000)\n"
        "NewShipType.buildBatch = 2 * 3\n"
        "LoadSharedModel(NewShipType, \"Tvk_\" .. \"Warden\")\n"
        "addShield(NewShipType, \"EMP\", 400 * 2)\n"
        "setTacticsMults(NewShipType, \"A\", 1)\n"
        "if true then setTacticsMults(NewShipType, \"B\", 2) end\n");
    if (!v.Known()) GTEST_SKIP() << "this build has no Lua";
    EXPECT_EQ(v.OfField("fMainEngineMaxSpeed"), "86.9");  // the key in another case is the same entry
    EXPECT_EQ(v.OfField("iMaxhealth"), "160000");
    EXPECT_EQ(v.OfField("sLoadSharedModel"), "\"Tvk_Warden\"");
    EXPECT_EQ(v.OfField("iMass"), std::nullopt);  // not set

    OtherEntries::Row batch{1, 4, Form::Assignment, "buildBatch", "2 * 3", "NewShipType.buildBatch = 2 * 3"};
    OtherEntries::Row shield{2, 6, Form::Call, "addShield", "\"EMP\", 400 * 2", "addShield(NewShipType, \"EMP\", 400 * 2)"};
    // A call whose function is called elsewhere too (in a block) is not matched to a row.
    OtherEntries::Row tactics{3, 7, Form::Call, "setTacticsMults", "\"A\", 1", "setTacticsMults(NewShipType, \"A\", 1)"};
    const auto values = v.OfRows({batch, shield, tactics});
    EXPECT_EQ(values[0], "6");
    EXPECT_EQ(values[1], "\"EMP\", 800");
    EXPECT_EQ(values[2], std::nullopt);

    EXPECT_FALSE(GameValues::TellsMore("900 -- tough", "900"));
    EXPECT_FALSE(GameValues::TellsMore("\"a -- b\";", "\"a -- b\""));
    EXPECT_TRUE(GameValues::TellsMore("79*1.1", "86.9"));

    // A script that stops before its end tells nothing.
    EXPECT_FALSE(GameValues("NewShipType = StartShipConfig()\nNewShipType.mass = 1 + nil\n").Known());
}
