// Statements no sheet shows are listed as written, and editing, adding or removing them changes
// only their own lines when the file is saved.
#include <gtest/gtest.h>

#include "docsupport.h"
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
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, o.IdOf("defaultROE"), "\"Defensive\""));
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, o.IdOf("setEngineBurn"), "14, 2, \"burn\""));
    ASSERT_TRUE(OtherEntries::SetValue(o.ship, o.IdOf("addCustomCode"),
                                       "addCustomCode(NewShipType,\n    \"data:scripts/y.lua\", 2)"));
    OtherEntries::Remove(o.ship, o.IdOf("SpawnSalvageOnDeath"));
    std::size_t added = 0;
    ASSERT_TRUE(OtherEntries::Add(o.ship, "setTacticsMults(\"ENGINEACCEL\", 1.1)", &added));
    ASSERT_TRUE(OtherEntries::Add(o.ship, "battleScarCoverage = 2"));
    EXPECT_TRUE(o.doc.IsModified());

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
