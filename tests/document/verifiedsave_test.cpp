// Saves prove with Lua that they change only the edit: a save that would change what the game
// reads anywhere else writes nothing and names the entry.
#include <gtest/gtest.h>

#include "docsupport.h"
#include "gamelua.h"
#include "shipdocument.h"

using namespace docsupport;

namespace {

// A value the editor keeps as an expression goes to the end of a canonical script, after the later
// assignment of the entry it reads: Save As would make maxhealth 18 instead of 14.
const std::string kReordered =
    "NewShipType = StartShipConfig()\n"
    "NewShipType.mass = 30\n"
    "NewShipType.buildCost = 7\n"
    "NewShipType.maxhealth = NewShipType.buildCost * 2\n"
    "NewShipType.buildCost = 9\n";

}  // namespace

TEST(VerifiedSave, AChangeBeyondTheEditIsRefusedAndNothingIsWritten) {
    if (!gamelua::Available()) GTEST_SKIP() << gamelua::kNoLua;
    TempDir dir;
    const std::string path = dir / "ship.ship", copy = dir / "copy.ship";
    WriteBytes(path, kReordered);
    SR2ShipFile ship;
    ship.SetLogFolder(dir.path().string());
    ShipDocument doc(ship);
    ASSERT_EQ(doc.Open(path), 0);

    const Result r = doc.SaveAs(copy);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.reason, "it would change what the game reads: maxhealth would be 18 instead of 14");
    EXPECT_FALSE(fs::exists(U8Path(copy)));
    EXPECT_EQ(doc.FilePath(), path);  // the document stays with its own file

    // Save keeps that line where it stands: the edit alone changes, and is written.
    ship.iMass = 40;
    ASSERT_TRUE(doc.Save()) << doc.Save().reason;
    std::string expected = kReordered;
    expected.replace(expected.find("= 30"), 4, "= 40");
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST(VerifiedSave, ScriptsLuaCannotLoadAreSavedAsBefore) {
    TempDir dir;
    const std::string path = dir / "ship.ship";
    WriteBytes(path, kReordered + "NewShipType.maxhealth 100\n");
    SR2ShipFile ship;
    ship.SetLogFolder(dir.path().string());
    ShipDocument doc(ship);
    ASSERT_EQ(doc.Open(path), 0);
    EXPECT_TRUE(doc.SaveAs(dir / "copy.ship"));
}
