// The game-data library: merging rules, the files and folders of a data directory, suggestions.
#include <gtest/gtest.h>

#include <fstream>

#include "builtinnames.h"
#include "gamedata.h"
#include "u8path.h"

namespace fs = std::filesystem;
using gamedata::GameData;
using gamedata::NameList;
using Names = std::vector<std::string>;

namespace {

class DataDir : public ::testing::Test {
protected:
    fs::path root;
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("tarvisk-gamedata-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    void Write(const std::string& relative, const std::string& bytes) {
        const fs::path p = root / U8Path(relative);
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    void Folder(const std::string& relative) { fs::create_directories(root / U8Path(relative)); }
    GameData Read(unsigned parts = gamedata::kAll) { return GameData::Read(U8String(root), parts); }
};

TEST(NameLists, MergeAppendsOnlyNamesNoEntryEqualsInAnyLetterCase) {
    NameList names(Names{"claw", "delta"});
    names.Merge({"DELTA", "My_Wall", "my_wall", "Claw", "", "x", ""});
    EXPECT_EQ(names.Names(), (Names{"claw", "delta", "My_Wall", "", "x"}));
    EXPECT_TRUE(names.Contains("MY_WALL"));
    EXPECT_TRUE(names.Contains(""));
    EXPECT_FALSE(names.Contains("my_wal"));
    // Through many growths of the set: every name found in any case, once.
    NameList many;
    for (int i = 0; i < 3000; ++i) EXPECT_TRUE(many.Add("Hgn_Gun_" + std::to_string(i)));
    for (int i = 0; i < 3000; ++i) {
        EXPECT_FALSE(many.Add("HGN_GUN_" + std::to_string(i)));
        EXPECT_TRUE(many.Contains("hgn_gun_" + std::to_string(i)));
    }
    EXPECT_FALSE(many.Contains("hgn_gun_3000"));
    EXPECT_EQ(many.Size(), 3000u);
}

TEST(NameLists, SuggestsTheNearestNameWithinTwoEdits) {
    NameList names(Names{"hgn_ionturret", "hgn_ioncannon", "Claw"});
    EXPECT_EQ(names.Suggest("hgn_iontorret"), "hgn_ionturret");  // one substitution
    EXPECT_EQ(names.Suggest("HGN_IONCANON"), "hgn_ioncannon");   // one deletion, any case
    EXPECT_EQ(names.Suggest("clw_"), "Claw");                    // two edits
    EXPECT_EQ(names.Suggest("cl"), "Claw");
    EXPECT_EQ(names.Suggest("c"), std::nullopt);                 // three
    EXPECT_EQ(names.Suggest("hgn_minelayer"), std::nullopt);
    EXPECT_EQ(gamedata::BoundedDistance("kitten", "sitting", 2), 3);
    EXPECT_EQ(gamedata::BoundedDistance("kitten", "sitting", 3), 3);
    EXPECT_EQ(gamedata::BoundedDistance("", "ab", 2), 2);
    EXPECT_EQ(gamedata::BoundedDistance("abcd", "badc", 2), 3);
}

TEST(NameFiles, LinesSplitAtEveryLineEndAndKeepEveryByte) {
    const fs::path p = fs::temp_directory_path() / "tarvisk-gamedata-lines.lua";
    std::ofstream(p, std::ios::binary) << "one\r\ntwo\nthree\rcaf\xE9  \r\n\r\nlast";
    const gamedata::TextFile read = gamedata::ReadTextLines(p);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.lines, (Names{"one", "two", "three", "caf\xE9  ", "", "last"}));
    fs::remove(p);
    EXPECT_FALSE(gamedata::ReadTextLines(p).found);
}

TEST(NameFiles, NameLinesAndFormationFileNames) {
    EXPECT_TRUE(gamedata::IsNameLine("  { NAME = \"Loop\", },"));
    EXPECT_FALSE(gamedata::IsNameLine("name=\"Loop\""));
    EXPECT_EQ(gamedata::QuotedName("{ name = \"Tvk Roll\", x = \"y\" }"), "Tvk Roll");
    EXPECT_EQ(gamedata::QuotedName("{ name = \"Unclosed }"), std::nullopt);
    EXPECT_EQ(gamedata::FormationName("Dockline.LUA"), "Dockline");
    EXPECT_EQ(gamedata::FormationName(".lua"), "");
    EXPECT_EQ(gamedata::FormationName("wall.lua.bak"), std::nullopt);
    EXPECT_EQ(gamedata::FormationName("lua"), std::nullopt);
}

TEST_F(DataDir, MissingDirectoryGivesTheBuiltInNamesAndNoFamilies) {
    const GameData data = GameData::Read(U8String(root / "no-such-dir"));
    EXPECT_EQ(data.formations.Names(), builtinnames::Formations());
    EXPECT_EQ(data.maneuvers.Names(), builtinnames::Maneuvers());
    EXPECT_EQ(data.weapons.Names(), builtinnames::Weapons());
    EXPECT_EQ(data.salvageChunks.Names(), builtinnames::SalvageChunks());
    EXPECT_FALSE(data.familyFileFound);
    EXPECT_EQ(builtinnames::Formations().size(), 26u);
    EXPECT_EQ(builtinnames::Maneuvers().size(), 23u);
    EXPECT_EQ(builtinnames::Weapons().size(), 94u);
    EXPECT_EQ(builtinnames::SalvageChunks().size(), 18u);
}

TEST_F(DataDir, EachListAppendsNewNamesAfterItsBuiltInTable) {
    Write("scripts/formations/b_wall.lua", "");
    Write("scripts/formations/A_Wedge.LUA", "");
    Write("scripts/formations/DELTA.lua", "");          // built in, in another case
    Write("scripts/formations/old.lua.bak", "");
    Write("scripts/formations/.hidden.lua", "");
    Folder("scripts/formations/folder.lua");
    Write("scripts/flightmaneuvers.lua",
          "{ name = \"barrelroll\" },\n{ name = \"TvkCork\" }\nname=\"x\"\n{ name = \"TvkLast\" }");
    Folder("weapon/Tvk_Laser");
    Folder("weapon/HGN_IONCANNON");
    Write("weapon/tvk_plain", "");
    Folder("resource/salvage/tvk_plate");
    Write("resource/salvage/tvk_note.txt", "");
    Write("resource/salvage/Container", "");
    const GameData data = Read();

    auto tail = [](const NameList& list, std::size_t builtIn) {
        return Names(list.Names().begin() + static_cast<long>(builtIn), list.Names().end());
    };
    EXPECT_EQ(tail(data.formations, 26), (Names{"A_Wedge", "b_wall"}));
    EXPECT_EQ(tail(data.maneuvers, 23), (Names{"TvkCork", "TvkLast"}));
    EXPECT_EQ(tail(data.weapons, 94), (Names{"Tvk_Laser", "tvk_plain"}));
    EXPECT_EQ(tail(data.salvageChunks, 18), (Names{"tvk_note.txt", "tvk_plate"}));
}

TEST_F(DataDir, FamilySectionsFollowTheirKeysAndMinimalTakesTheAvoidanceNames) {
    Write("scripts/familylist.lua",
          "{ name = \"BeforeAny\" }\n"
          "AttackFamily = {\n"
          "  { name = \"Fighter\" },\n"
          "  { name = \"Fighter\" },\n"
          "-- a family comment\n"
          "  { name = \"Corvette\" },\n"
          "avoidancefamily = {\n"
          "  { name = \"SmallRock\" },\n"
          "MinimalFamilyToFindPathAround = {\n"
          "  { name = \"Capital\" },\n"
          "  unitcapsfamily = {\n"
          "  { name = \"Stray\" },\n");
    const GameData data = Read(gamedata::kFamilies);
    ASSERT_TRUE(data.familyFileRead);
    const auto& s = data.families.sections;
    EXPECT_EQ(s[gamedata::kArmour], (Names{"BeforeAny"}));
    EXPECT_EQ(s[gamedata::kAttack], (Names{"Fighter", "Fighter", "Corvette"}));
    EXPECT_EQ(s[gamedata::kAvoidance], (Names{"SmallRock"}));
    // The indented key is no key: its names go to the section before.
    EXPECT_EQ(s[gamedata::kMinimalToFindPathAround], (Names{"Capital", "Stray", "SmallRock"}));
    EXPECT_EQ(data.unknownFamilySections,
              (Names{"-- a family comment", "  unitcapsfamily = {"}));
    EXPECT_TRUE(data.families.Contains(gamedata::kAttack, "FIGHTER"));
    EXPECT_FALSE(data.families.Contains(gamedata::kArmour, "Fighter"));
    // Only the parts asked for are read.
    EXPECT_EQ(data.formations.Size(), 26u);
}

}  // namespace

// The base game's data and then a mod's: names from both, the later family list and manoeuvre
// file in place of the earlier ones, even when the later one holds fewer names.
TEST_F(DataDir, SeveralDirectoriesInLoadOrder) {
    Write("base/scripts/familylist.lua", "attackfamily = {\n{ name = \"Bomber\", },\n}\n");
    Write("base/scripts/flightmaneuvers.lua", "{ name = \"BaseRoll\", },\n");
    Write("base/scripts/formations/base_wedge.lua", "");
    Folder("base/weapon/base_gun");
    Write("mod/scripts/familylist.lua", "attackfamily = {\n{ name = \"Raider\", },\n}\n");
    Folder("mod/weapon/mod_rail");
    Folder("mod/resource/salvage/mod_plate");
    const std::string base = U8String(root / "base"), mod = U8String(root / "mod");
    const GameData data = GameData::Read(std::vector<std::string>{base, mod});
    EXPECT_TRUE(data.weapons.Contains("base_gun"));
    EXPECT_TRUE(data.weapons.Contains("MOD_RAIL"));
    EXPECT_TRUE(data.formations.Contains("base_wedge"));
    EXPECT_TRUE(data.salvageChunks.Contains("mod_plate"));
    EXPECT_TRUE(data.maneuvers.Contains("BaseRoll"));  // the mod has no manoeuvre file of its own
    EXPECT_TRUE(data.families.Contains(gamedata::kAttack, "Raider"));
    EXPECT_FALSE(data.families.Contains(gamedata::kAttack, "Bomber"));
    // Reversed, the base game's list is the later one.
    const GameData reversed = GameData::Read(std::vector<std::string>{mod, base});
    EXPECT_TRUE(reversed.families.Contains(gamedata::kAttack, "Bomber"));
    EXPECT_FALSE(reversed.families.Contains(gamedata::kAttack, "Raider"));
}
