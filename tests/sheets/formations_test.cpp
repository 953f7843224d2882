// Formations and Movement, and Docking: the formation lists (built-in names, then the data
// directory's formation scripts), stored names that are no choice, and the race drop-down.
#include "builtinnames.h"
#include "datadirnames.h"
#include "sheettest.h"

namespace {

const QStringList kFormationBoxes{"cboFormation(0)", "cboFormation(1)", "cboFormation(2)"};
const QStringList kDockingBoxes{"cboDockFormation", "cboQueueFormation", "cboLaunchFormation"};

class FormationsTest : public SheetTest {
protected:
    void ExpectChoices(const QStringList& boxes, const QStringList& added) {
        const QStringList expected = datadir::FromFolderNames(builtinnames::Formations()) + added;
        ASSERT_EQ(datadir::FromFolderNames(builtinnames::Formations()).size(), 26);
        for (const QString& box : boxes)
            EXPECT_EQ(Items(Combo(box)), expected) << box.toStdString();
    }
};

TEST_F(FormationsTest, SampleDataAddsItsNewFormationsToAllBoxesOfBothSheets) {
    NewDocument();  // examples/Data: DELTA.lua repeats a built-in, notes.txt is no formation
    Open("cmdFormationsAndMovement");
    ExpectChoices(kFormationBoxes, {"tvk_arrow", "tvk_picket"});
    Cancel();
    Open("cmdDocking");
    ExpectChoices(kDockingBoxes, {"tvk_arrow", "tvk_picket"});
}

TEST_F(FormationsTest, DataDirectoryNamesRepeatingBuiltInsInAnyCaseAddNothing) {
    WriteData("scripts/formations/Dockline.LUA", "");
    WriteData("scripts/formations/CLAW.lua", "");
    WriteData("scripts/formations/my_wall.lua", "");
    WriteData("scripts/formations/My_Wall.lua.bak", "");
    WriteData("scripts/formations/Zig.Lua", "");
    NewDocument(DataDir());
    Open("cmdDocking");
    ExpectChoices(kDockingBoxes, {"my_wall", "Zig"});
}

TEST_F(FormationsTest, MissingFolderOrDataDirectoryOffersTheBuiltInsOnly) {
    WriteData("scripts/familylist.lua", "");  // a data directory without formations
    NewDocument(DataDir());
    Open("cmdFormationsAndMovement");
    ExpectChoices(kFormationBoxes, {});
    Cancel();
    main->strDataDir = DataDir() + "/missing";
    Open("cmdDocking");
    ExpectChoices(kDockingBoxes, {});
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(FormationsTest, SelectsTheStoredNamesAndOkStoresTheChosenOnesAndTheValues) {
    NewDocument();
    SetField("sPassiveFormation", "claw");
    SetField("sDefensiveFormation", "tvk_arrow");
    SetField("iGoalReachEpsilon", "30");
    Open("cmdFormationsAndMovement");
    EXPECT_EQ(Combo("cboFormation(0)")->currentText(), "claw");
    EXPECT_EQ(Combo("cboFormation(1)")->currentText(), "tvk_arrow");
    EXPECT_EQ(Combo("cboFormation(2)")->currentIndex(), -1);  // nothing stored
    EXPECT_EQ(Text("Value(3)"), "30");

    Combo("cboFormation(0)")->setCurrentText("spear");
    Cancel();
    EXPECT_EQ(Field("sPassiveFormation"), "claw");

    Open("cmdFormationsAndMovement");
    Combo("cboFormation(0)")->setCurrentText("spear");
    Type("Value(6)", "7");
    Ok();
    ExpectClosed();
    EXPECT_EQ(Field("sPassiveFormation"), "spear");
    EXPECT_EQ(Field("sDefensiveFormation"), "tvk_arrow");
    EXPECT_EQ(Field("sAggressiveFormation"), "");
    EXPECT_EQ(Field("iCollisionMultiplier"), "7");
}

TEST_F(FormationsTest, StoredNameThatIsNoChoiceBecomesTheLastChoiceAndIsKept) {
    NewDocument();
    SetField("sPassiveFormation", "Tvk_Custom");
    SetField("sAggressiveFormation", "CLAW");  // another case than the built-in "claw"
    Open("cmdFormationsAndMovement");
    ExpectChoices(kFormationBoxes, {"tvk_arrow", "tvk_picket", "Tvk_Custom", "CLAW"});
    EXPECT_EQ(Combo("cboFormation(0)")->currentText(), "Tvk_Custom");
    EXPECT_EQ(Combo("cboFormation(2)")->currentText(), "CLAW");
    Ok();
    EXPECT_EQ(Field("sPassiveFormation"), "Tvk_Custom");
    EXPECT_EQ(Field("sAggressiveFormation"), "CLAW");

    SetField("sDockFormation", "tvk_dockfan");
    Open("cmdDocking");
    EXPECT_EQ(Combo("cboDockFormation")->currentText(), "tvk_dockfan");
    EXPECT_EQ(Items(Combo("cboLaunchFormation")).back(), "tvk_dockfan");
    Ok();
    EXPECT_EQ(Field("sDockFormation"), "tvk_dockfan");
}

TEST_F(FormationsTest, DockingRaceDropDownKeepsAStoredNumberOtherThanZeroOrOne) {
    NewDocument();
    Open("cmdDocking");
    EXPECT_EQ(Combo("cboIgnoreRace")->currentText(), "False");
    Cancel();

    SetField("iIgnoreRaceWhenDocking", "2");
    Open("cmdDocking");
    EXPECT_EQ(Combo("cboIgnoreRace")->currentIndex(), -1);
    EXPECT_EQ(Items(Combo("cboIgnoreRace")), (QStringList{"False", "True"}));
    Ok();
    EXPECT_EQ(Field("iIgnoreRaceWhenDocking"), "2");

    Open("cmdDocking");
    Combo("cboIgnoreRace")->setCurrentIndex(1);
    Ok();
    EXPECT_EQ(Field("iIgnoreRaceWhenDocking"), "1");
}

}  // namespace
