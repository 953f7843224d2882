// The sheets that are mostly their table: each box edits its own field, plus what each has of
// its own (engagement ranges, the icon box, the sound patch viewer).
#include "sheettest.h"

namespace {

using ScalarSheetsTest = SheetTest;

struct BoxField {
    const char* box;
    const char* field;
};
struct SheetFields {
    const char* button;
    std::vector<BoxField> boxes;
};

const SheetFields kSheets[] = {
    {"cmdPropulsion",
     {{"Value(0)", "fThrusterMaxSpeed"}, {"Value(1)", "fMainEngineMaxSpeed"},
      {"Value(2)", "fRotationMaxSpeed"}, {"Value(3)", "fThrusterAccelTime"},
      {"Value(4)", "fThrusterBrakeTime"}, {"Value(5)", "fMainEngineAccelTime"},
      {"Value(6)", "fMainEngineBrakeTime"}, {"Value(7)", "fRotationAccelTime"},
      {"Value(8)", "fRotationBrakeTime"}, {"Value(9)", "fThrusterUsage"},
      {"Value(10)", "fAccelerationAngle"}, {"Value(11)", "fMirrorAngle"},
      {"Value(12)", "fSecondaryTurnAngle"}, {"Value(13)", "fTrailLinger"}}},
    {"cmdSensorsAndCombat",
     {{"Value(0)", "iVisualRange"}, {"Value(1)", "iPrmSensorRange"},
      {"Value(2)", "iSecSensorRange"}, {"Value(3)", "iDetectionStrength"},
      {"Value(4)", "iRetaliationRange"}, {"Value(5)", "iRetaliationDistanceFromGoal"}}},
    {"cmdAI",
     {{"Value(0)", "iFighterValue"}, {"Value(1)", "iCorvetteValue"},
      {"Value(2)", "iFrigateValue"}, {"Value(3)", "iNeutralValue"},
      {"Value(4)", "iAntiFighterValue"}, {"Value(5)", "iAntiCorvetteValue"},
      {"Value(6)", "iAntiFrigateValue"}, {"Value(7)", "iTotalValue"}}},
    {"cmdDeath",
     {{"Value(0)", "fSobDieTime"}, {"Value(1)", "fSobSpecialDieTime"},
      {"Value(2)", "iSpecialDeathSpeed"}, {"Value(3)", "fChanceOfSpecialDeath"},
      {"Value(4)", "fDeadSobFadeTime"}}},
    {"cmdUIVisibility",
     {{"Value(0)", "iHealthBarStyle"}, {"Value(2)", "fTOScale"}, {"Value(3)", "fTOGroupScale"},
      {"Value(4)", "iTOGroupMergeSize"}, {"Value(5)", "fMouseOverMinFadeSize"},
      {"Value(6)", "fMouseOverMaxFadeSize"}, {"Value(7)", "iTODistanceFade0"},
      {"Value(8)", "iTODistanceDisappear0"}, {"Value(9)", "iTODistanceFade1"},
      {"Value(10)", "iTODistanceDisappear1"}, {"Value(11)", "iTODistanceFade2"},
      {"Value(12)", "iTODistanceDisappear2"}}},
    {"cmdMeshVisibility",
     {{"Value(0)", "fNlips"}, {"Value(1)", "iNlipsRange"}, {"Value(2)", "fNlipsFar"},
      {"Value(3)", "iNlipsFarRange"}, {"Value(5)", "iMeshRenderLimit"},
      {"Value(6)", "iDotRenderLimit"}, {"Value(7)", "iVisibleInSecondary"},
      {"Value(8)", "iGoblinsStartFade"}, {"Value(9)", "iGoblinsOff"},
      {"Value(10)", "fMinimumZoomFactor"}, {"Value(11)", "iSelectionLimit"},
      {"Value(12)", "iPreciseATILimit"}, {"Value(13)", "iSelectionPriority"},
      {"Value(14)", "fMinLOD"}}},
};

TEST_F(ScalarSheetsTest, EveryBoxShowsAndStoresItsOwnField) {
    NewDocument();
    for (const SheetFields& s : kSheets) {
        SCOPED_TRACE(s.button);
        // A different number in every field, so that two boxes swapped would show.
        const std::vector<BoxField>& boxes = s.boxes;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            SetField(boxes[i].field, std::to_string(i + 1).c_str());
        Open(s.button);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(Text(boxes[i].box), QString::number(i + 1)) << boxes[i].box;
            Type(boxes[i].box, QString::number((i + 1) * 100));
        }
        Ok();
        ExpectClosed();
        for (std::size_t i = 0; i < boxes.size(); ++i)
            EXPECT_EQ(Field(boxes[i].field), std::to_string((i + 1) * 100)) << boxes[i].box;
    }
}

TEST_F(ScalarSheetsTest, EngagementRangesIsATrueFalseChoice) {
    NewDocument();
    Open("cmdSensorsAndCombat");
    EXPECT_EQ(Combo("cboUseEngRanges")->currentText(), "False");
    Combo("cboUseEngRanges")->setCurrentIndex(1);
    Type("Value(5)", "1.5e9x");
    Ok();
    EXPECT_EQ(prompter.messages.back(), "'1.5e9x' is not a valid value for Retaliation Distance.");
    EXPECT_EQ(Field("iUseEngagementRanges"), "0");
    Type("Value(5)", "160");
    Ok();
    EXPECT_EQ(Field("iUseEngagementRanges"), "1");

    SetField("iUseEngagementRanges", "-1");
    Open("cmdSensorsAndCombat");
    EXPECT_EQ(Combo("cboUseEngRanges")->currentIndex(), -1);
    Ok();
    EXPECT_EQ(Field("iUseEngagementRanges"), "-1");
}

TEST_F(ScalarSheetsTest, IconBoxOffersTheIconsAndKeepsAnyStoredName) {
    NewDocument();
    Open("cmdUIVisibility");
    auto* icon = Combo("cboTOIcon");
    EXPECT_EQ(icon->count(), 14);
    EXPECT_EQ(icon->itemText(0), "Arrow");
    EXPECT_EQ(icon->currentText(), "");
    Ok();
    EXPECT_EQ(Field("sTOIcon"), "");

    Open("cmdUIVisibility");
    Combo("cboTOIcon")->setCurrentIndex(Combo("cboTOIcon")->findText("Hexagon"));
    Ok();
    EXPECT_EQ(Field("sTOIcon"), "Hexagon");

    SetField("sTOIcon", "tvk_glyph");
    Open("cmdUIVisibility");
    EXPECT_EQ(Combo("cboTOIcon")->currentText(), "tvk_glyph");
    Ok();
    EXPECT_EQ(Field("sTOIcon"), "tvk_glyph");
}

TEST_F(ScalarSheetsTest, SoundsEditsThePatchListAndCancelPutsItBack) {
    NewDocument();
    const std::string defaultDir = "data:sound/sfx/ship/Hiigaran/Fighter/";
    Open("cmdSounds");
    auto* list = Get<QListWidget>("lstPatches");
    EXPECT_EQ(Text("txtDirectory"), QString::fromStdString(defaultDir));
    EXPECT_EQ(Items(list), QStringList{"0, \"HScoutEng\", \"\""});
    EXPECT_EQ(Get<QLabel>("lblDirectory")->text(), "Directory ");
    EXPECT_FALSE(Get<QPushButton>("cmdRemove")->isEnabled());

    // Selecting shows the item; Apply rewrites it, Add appends, Remove takes the selected one out.
    list->setCurrentRow(0);
    EXPECT_EQ(Text("txtUnknownValue"), "0");
    EXPECT_EQ(Text("txtEffect"), "HScoutEng");
    Type("txtUnknownValue", "3");
    Type("txtEffect", "HScoutIdle");
    Get<QPushButton>("cmdApply")->click();
    EXPECT_EQ(Items(list), QStringList{"3, \"HScoutIdle\", \"\""});
    EXPECT_EQ(list->currentRow(), 0);
    Type("txtUnknownValue", "many");
    Get<QPushButton>("cmdAdd")->click();
    EXPECT_EQ(prompter.messages.value(0), "'many' is not a valid value for Unknown Value.");
    EXPECT_EQ(prompter.messageKinds.value(0), MessageKind::Warning);
    Type("txtUnknownValue", "-2");
    Type("txtMarker", "M1");
    Get<QPushButton>("cmdAdd")->click();
    EXPECT_EQ(Items(list), (QStringList{"3, \"HScoutIdle\", \"\"", "-2, \"HScoutIdle\", \"M1\""}));
    list->setCurrentRow(0);
    Get<QPushButton>("cmdRemove")->click();
    EXPECT_EQ(Items(list), QStringList{"-2, \"HScoutIdle\", \"M1\""});

    // A double quote or comma would break the script line: the boxes do not take them.
    QTest::keyClicks(Get<QLineEdit>("txtEffect"), "a\",b");
    EXPECT_EQ(Text("txtEffect"), "abHScoutIdle");  // typed at the start, where the cursor is

    Type("txtDirectory", "data:sound/elsewhere/");
    Ok();
    ExpectClosed();
    EXPECT_EQ(Field("LSPL_Directory"), "data:sound/elsewhere/");
    EXPECT_EQ(Field("LSPL_Num"), "0");
    EXPECT_TRUE(Doc().ScriptText().find(
                    "loadShipPatchList(NewShipType, \"data:sound/elsewhere/\", -2, \"HScoutIdle\", \"M1\")") !=
                std::string::npos);

    // Cancel and the close box put list and directory back as they were.
    const std::string before = Doc().ScriptText();
    for (bool closeBox : {false, true}) {
        Open("cmdSounds");
        Get<QListWidget>("lstPatches")->setCurrentRow(0);
        Get<QPushButton>("cmdRemove")->click();
        Get<QPushButton>("cmdAdd")->click();
        Type("txtDirectory", "x/");
        closeBox ? CloseBox() : Cancel();
        ExpectClosed();
        EXPECT_EQ(Doc().ScriptText(), before) << closeBox;
    }
}

}  // namespace
