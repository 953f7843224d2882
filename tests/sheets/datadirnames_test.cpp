// The data-directory name lists: merging with a built-in table, formation file names, the
// "name = " lines, and text files read one byte a character.
#include "datadirnames.h"
#include "sheettest.h"

namespace {

TEST(DataDirNames, MergeAppendsOnlyNamesNoEntryEqualsInAnyLetterCase) {
    QStringList names{"claw", "delta"};
    datadir::MergeNames(names, {"DELTA", "My_Wall", "my_wall", "Claw", "", "x", ""});
    EXPECT_EQ(names, (QStringList{"claw", "delta", "My_Wall", "", "x"}));
}

TEST(DataDirNames, FormationNamesAreLuaFilesWithoutTheirEnding) {
    EXPECT_EQ(datadir::FormationName("my_wall.lua"), "my_wall");
    EXPECT_EQ(datadir::FormationName("Dockline.LUA"), "Dockline");
    EXPECT_EQ(datadir::FormationName(".lua"), "");
    EXPECT_EQ(datadir::FormationName("wall.lua.bak"), std::nullopt);
    EXPECT_EQ(datadir::FormationName("lua"), std::nullopt);
    EXPECT_EQ(datadir::FormationName("notes.txt"), std::nullopt);
}

TEST(DataDirNames, QuotedNameNeedsTwoDoubleQuotes) {
    EXPECT_TRUE(datadir::IsNameLine("  { NAME = \"Loop\", },"));
    EXPECT_FALSE(datadir::IsNameLine("name=\"Loop\""));
    EXPECT_EQ(datadir::QuotedName("{ name = \"Tvk Roll\", x = \"y\" }"), "Tvk Roll");
    EXPECT_EQ(datadir::QuotedName("{ name = \"\" }"), "");
    EXPECT_EQ(datadir::QuotedName("{ name = \"Unclosed }"), std::nullopt);
    EXPECT_EQ(datadir::QuotedName("{ name = Bare }"), std::nullopt);
}

using DataDirFiles = SheetTest;

TEST_F(DataDirFiles, TextLinesSplitAtEveryLineEndAndKeepEveryByte) {
    WriteData("mixed.lua", QByteArray("one\r\ntwo\nthree\rcaf\xE9  \r\n\r\nlast"));
    const datadir::TextLines read = datadir::ReadTextLines(DataDir() + "/mixed.lua");
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.lines, (QStringList{"one", "two", "three", QString::fromLatin1("caf\xE9  "), "",
                                       "last"}));
    EXPECT_FALSE(datadir::ReadTextLines(DataDir() + "/missing.lua").ok);
}

TEST_F(DataDirFiles, FormationFolderListsVisiblePlainLuaFilesOnly) {
    WriteData("scripts/formations/b_wall.lua", "");
    WriteData("scripts/formations/A_Wedge.LUA", "");
    WriteData("scripts/formations/old.lua.bak", "");
    WriteData("scripts/formations/readme.txt", "");
    WriteData("scripts/formations/.hidden.lua", "");
    WriteData("scripts/formations/folder.lua/inside.lua", "");
    EXPECT_EQ(datadir::FormationsInFolder(DataDir() + "/scripts/formations"),
              (QStringList{"A_Wedge", "b_wall"}));
    EXPECT_TRUE(datadir::FormationsInFolder(DataDir() + "/no/such/folder").isEmpty());
}

}  // namespace
