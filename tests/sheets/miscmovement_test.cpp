// Misc Movement: the manoeuvre choices (built-in, then scripts\flightmaneuvers.lua), the mirror
// lists edited with "==>" and "X", the X Y Z rows and the transferable drop-down.
#include "builtinnames.h"
#include "datadirnames.h"
#include "frmmiscmovement.h"
#include "sheettest.h"

namespace {

class MiscMovementTest : public SheetTest {
protected:
    QListWidget* Mirror(int i) { return Get<QListWidget>(QString("lstMirror(%1)").arg(i)); }
    QComboBox* Maneuvers(int i) { return Combo(QString("cboMirrorManeuver(%1)").arg(i)); }
    void Add(int i, const QString& name) {
        Maneuvers(i)->setCurrentText(name);
        Get<QPushButton>(QString("cmdAdd(%1)").arg(i))->click();
    }
    std::vector<std::string> Above() {
        std::vector<std::string> v;
        for (int i = 0; i <= Doc().MAM_Num; ++i) v.push_back(Doc().MAM_GetValue(i));
        return v;
    }
};

TEST_F(MiscMovementTest, ManeuverFileAddsNewNamesInFileOrderToBothBoxes) {
    WriteData("scripts/flightmaneuvers.lua",
              "Maneuvers = {\n"
              "  { name = \"TvkCorkscrew\" },\n"
              "  { name = \"barrelroll\" },\n"         // a built-in in another case
              "  { name = \"BarrelRoll\" },\n"
              "  { name = Unquoted },\n"               // no name to take
              "  { NAME = \"TvkSlip\", duration = 1 },\n"
              "}\n"
              "last = { name = \"TvkLast\" }");        // the last line, without a line end
    NewDocument(DataDir());
    Open("cmdMiscMovement");
    const QStringList expected =
        datadir::FromFolderNames(builtinnames::Maneuvers()) + QStringList{"TvkCorkscrew", "TvkSlip", "TvkLast"};
    EXPECT_EQ(datadir::FromFolderNames(builtinnames::Maneuvers()).size(), 23);
    EXPECT_EQ(Items(Maneuvers(0)), expected);
    EXPECT_EQ(Items(Maneuvers(1)), expected);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(MiscMovementTest, MissingManeuverFileOffersTheBuiltInsWithoutAMessage) {
    NewDocument(DataDir());
    Open("cmdMiscMovement");
    EXPECT_EQ(Items(Maneuvers(1)), datadir::FromFolderNames(builtinnames::Maneuvers()));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(MiscMovementTest, MirrorListsShowEntriesWithoutBlanksAndOkStoresTheEditedLists) {
    NewDocument();
    Doc().MAM_AddValue("Loop, RollCW");
    Doc().MAM_AddValue("Split_S");
    Open("cmdMiscMovement");
    EXPECT_EQ(Items(Mirror(0)), (QStringList{"Loop,RollCW", "Split_S"}));
    EXPECT_EQ(Mirror(1)->count(), 0);

    Add(0, "TvkCorkscrew");  // from the sample data directory
    Mirror(0)->setCurrentRow(1);
    Get<QPushButton>("cmdDelete(0)")->click();
    Get<QPushButton>("cmdDelete(1)")->click();  // nothing selected: nothing happens
    EXPECT_EQ(Items(Mirror(0)), (QStringList{"Loop,RollCW", "TvkCorkscrew"}));
    Ok();
    EXPECT_EQ(Above(), (std::vector<std::string>{"Loop,RollCW", "TvkCorkscrew"}));
    EXPECT_EQ(Doc().MBM_Num, 0);  // an empty list is stored as one empty entry
    EXPECT_EQ(Doc().MBM_GetValue(0), "");
}

TEST_F(MiscMovementTest, CancelLeavesTheMirrorListsAsTheyWere) {
    NewDocument();
    Doc().MAM_AddValue("Loop");
    Open("cmdMiscMovement");
    Add(0, "Empty");
    Add(1, "Loop");
    CloseBox();
    ExpectClosed();
    EXPECT_EQ(Above(), std::vector<std::string>{"Loop"});
    EXPECT_EQ(Doc().MBM_Num, -1);
}

TEST_F(MiscMovementTest, AxisRowsAndTransferableDropDownLoadAndStore) {
    NewDocument();
    SetField("iTumbleStaticY", "20");
    SetField("iSwayOffsetRandomZ", "-4");
    SetField("iIsTransferable", "3");
    SetField("fSwayBobbingFactor", "0.05");
    Open("cmdMiscMovement");
    EXPECT_EQ(Get<QLabel>("Label1")->text(), "X");
    EXPECT_EQ(Text("TS_Y"), "20");
    EXPECT_EQ(Text("SOR_Z"), "-4");
    EXPECT_EQ(Text("Value(1)"), "0.05");
    EXPECT_EQ(Combo("cboTransferrable")->currentIndex(), -1);
    Type("TD_X", "7");
    Type("TSD_Z", "8");
    Ok();
    EXPECT_EQ(Field("iTumbleDynamicX"), "7");
    EXPECT_EQ(Field("iTumbleSpecialDynamicZ"), "8");
    EXPECT_EQ(Field("iIsTransferable"), "3");

    Open("cmdMiscMovement");
    Type("TS_Z", "x");
    Ok();
    EXPECT_EQ(prompter.messages.back(), "'x' is not a valid value for Tumble Static.");
    EXPECT_EQ(sheet->focusWidget(), Get("TS_Z"));
}

}  // namespace
