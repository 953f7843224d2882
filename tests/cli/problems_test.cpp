// The Problems list of the editor: what check reports, found in the script as it would be saved
// now, each placed where its entry is edited, and suggestions put in place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gamelua.h"
#include "shipproblems.h"

namespace {

const std::string kScript =
    "NewShipType = StartShipConfig()\n"                                      // 1
    "NewShipType.passiveFormation = \"delta\"\n"                             // 2
    "StartShipWeaponConfig(NewShipType, \"tvk_needlegn\", \"hp\", \"fx\")\n"  // 3
    "StartShipWeaponConfig(NewShipType, \"hgn_ioncannon\", \"hp\", \"fx\")\n" // 4
    "NewShipType.mass = = 3\n";                                               // 5

struct Opened {
    // A folder of each test's own: CTest runs the tests of this program side by side, and one
    // removing a shared folder took the other's script away.
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                (std::string("tarvisk-problems-") +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                                 std::to_string(++count));
    static inline int count = 0;
    SR2ShipFile ship;
    ShipDocument doc{ship};
    gamedata::GameData data;
    explicit Opened(const std::string& bytes) {
        std::filesystem::create_directories(dir);
        const auto path = (dir / "probe.ship").string();
        std::ofstream(path, std::ios::binary) << bytes;
        ship.SetWriteLogs(false);
        EXPECT_EQ(doc.Open(path), 0);
        data = gamedata::GameData::Read(TARVISK_DATA_DIR);
    }
    ~Opened() { std::filesystem::remove_all(dir); }
};

}  // namespace

TEST(ShipProblems, UnreadableLinesAndUnknownNamesInLineOrderWithTheirPlaces) {
    Opened o(kScript);
    auto problems = FindProblems(o.doc, &o.data);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 3);
    EXPECT_EQ(problems[0].message, "unknown weapon 'tvk_needlegn' (did you mean 'tvk_needlegun'?)");
    EXPECT_EQ(problems[0].statement, "StartShipWeaponConfig(NewShipType, \"tvk_needlegn\", \"hp\", \"fx\")");
    ASSERT_TRUE(problems[0].origin);
    EXPECT_EQ(problems[0].origin->kind, SR2ShipFile::LineOrigin::Kind::Weapon);
    EXPECT_EQ(problems[1].line, 5);
    EXPECT_EQ(problems[1].kind, ShipProblem::Kind::Unreadable);
    EXPECT_EQ(problems[1].field, "iMass");  // the sheet that holds the entry is where to mend it
    EXPECT_EQ(FindProblems(o.doc, nullptr).size(), 1u);  // names only with a data directory

    // Putting the suggestion in place and mending the unreadable line leaves a clean ship; the
    // problems follow the edits before any save.
    ASSERT_TRUE(ApplySuggestion(o.ship, problems[0]));
    EXPECT_EQ(o.ship.SSWC_GetList()[0].values.name, "tvk_needlegun");
    EXPECT_FALSE(ApplySuggestion(o.ship, problems[0]));  // the name is gone now
    ASSERT_TRUE(o.ship.SetFieldText("iMass", "30"));
    EXPECT_TRUE(FindProblems(o.doc, &o.data).empty());

    // Where Lua judges, a line kept as written in a script it loads is no problem.
    Opened kept("NewShipType = StartShipConfig()\nNewShipType.maxhealth = 79*1.1\n");
    EXPECT_EQ(FindProblems(kept.doc, nullptr).size(), gamelua::Available() ? 0u : 1u);
}

TEST(ShipProblems, FormationsAndManeuversTakeTheirSuggestion) {
    Opened o("NewShipType = StartShipConfig()\n"
             "NewShipType.passiveFormation = \"tvk_arow\"\n"
             "NewShipType.mirrorAboveManeuver = \"Loop, TvkCorkscrw\"\n");
    const auto problems = FindProblems(o.doc, &o.data);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].field, "sPassiveFormation");
    for (const auto& p : problems) {
        ASSERT_TRUE(p.suggestion) << p.message;
        EXPECT_TRUE(ApplySuggestion(o.ship, p)) << p.message;
    }
    EXPECT_EQ(o.ship.sPassiveFormation, "tvk_arrow");
    EXPECT_EQ(o.ship.MAM_GetValue(1), "TvkCorkscrew");
    EXPECT_TRUE(FindProblems(o.doc, &o.data).empty());
}
