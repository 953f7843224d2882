// Mesh Visibility: the LOD frame's list chooses a level whose Up and Down values the two boxes
// edit; edits are kept per level while the sheet is open and checked and stored on OK.
#include "sheettest.h"

namespace {

class MeshVisibilityTest : public SheetTest {
protected:
    QListWidget* Levels() { return Get<QListWidget>("List1"); }
    void SetLevels() {
        const char* values[] = {"600", "1200", "2400", "610", "1210", "2410"};
        const char* fields[] = {"iUpLOD0", "iUpLOD1", "iUpLOD2",
                                "iDownLOD0", "iDownLOD1", "iDownLOD2"};
        for (int i = 0; i < 6; ++i) SetField(fields[i], values[i]);
    }
};

TEST_F(MeshVisibilityTest, ChoosingALevelShowsItsUpAndDownValues) {
    NewDocument();
    SetLevels();
    Open("cmdMeshVisibility");
    EXPECT_EQ(Items(Levels()), (QStringList{"LOD 0", "LOD 1", "LOD 2"}));
    EXPECT_EQ(Levels()->currentRow(), 0);
    EXPECT_EQ(Text("txtUPLOD"), "600");
    EXPECT_EQ(Text("txtDOWNLOD"), "610");
    Levels()->setCurrentRow(2);
    EXPECT_EQ(Text("txtUPLOD"), "2400");
    EXPECT_EQ(Text("txtDOWNLOD"), "2410");
    EXPECT_TRUE(Get<QGroupBox>("Frame1")->isAncestorOf(Get("Value(14)")));
}

TEST_F(MeshVisibilityTest, EditsAreKeptPerLevelAndStoredOnOkOnly) {
    NewDocument();
    SetLevels();
    Open("cmdMeshVisibility");
    Levels()->setCurrentRow(1);
    Type("txtUPLOD", "1300");
    Levels()->setCurrentRow(0);
    Type("txtDOWNLOD", "620");
    Levels()->setCurrentRow(1);
    EXPECT_EQ(Text("txtUPLOD"), "1300");
    Cancel();
    EXPECT_EQ(Field("iUpLOD1"), "1200");

    Open("cmdMeshVisibility");
    Levels()->setCurrentRow(1);
    Type("txtUPLOD", "1300");
    Levels()->setCurrentRow(2);
    Ok();
    ExpectClosed();
    EXPECT_EQ(Field("iUpLOD0"), "600");
    EXPECT_EQ(Field("iUpLOD1"), "1300");
    EXPECT_EQ(Field("iDownLOD2"), "2410");
}

TEST_F(MeshVisibilityTest, BadLevelValueShowsItsLevelAndStoresNothing) {
    NewDocument();
    SetLevels();
    Open("cmdMeshVisibility");
    Type("Value(4)", "HardDot");
    Levels()->setCurrentRow(1);
    Type("txtDOWNLOD", "far");
    Levels()->setCurrentRow(0);
    Type("txtUPLOD", "650");
    Ok();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0], "'far' is not a valid value for Down.");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(Levels()->currentRow(), 1);
    EXPECT_EQ(Text("txtDOWNLOD"), "far");
    EXPECT_EQ(sheet->focusWidget(), Get("txtDOWNLOD"));
    EXPECT_EQ(Field("sSMRepresentation"), "");
    EXPECT_EQ(Field("iUpLOD0"), "600");

    Type("txtDOWNLOD", "1250");
    Ok();
    EXPECT_EQ(Field("iDownLOD1"), "1250");
    EXPECT_EQ(Field("iUpLOD0"), "650");
    EXPECT_EQ(Field("sSMRepresentation"), "HardDot");
}

}  // namespace
