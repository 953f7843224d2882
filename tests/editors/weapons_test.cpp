// The weapons editor: its entry list, Apply / Add / Remove, the restore on Cancel and the choices.
#include <QTest>

#include "builtinnames.h"
#include "datadirnames.h"
#include "editortest.h"

namespace {

class WeaponsTest : public EditorTest {
protected:
    QPointer<QDialog> sheet;
    QListWidget* list = nullptr;
    QComboBox *weapon = nullptr, *hardpoint = nullptr, *effect = nullptr;

    void Open() {
        sheet = OpenBy("cmdWeapons");
        ASSERT_NE(sheet, nullptr);
        list = Child<QListWidget>(sheet, "lstWeapons");
        weapon = Child<QComboBox>(sheet, "cboWeapon");
        hardpoint = Child<QComboBox>(sheet, "cboHardPoint");
        effect = Child<QComboBox>(sheet, "cboFiringEffect");
    }

    // Two weapons; the second line carries more than the document keeps and is kept as read.
    void LoadTwoWeapons() {
        LoadScript({R"(StartShipWeaponConfig(NewShipType, "hgn_pulsar", "HP_Nose", "Fire_Nose"))",
                    R"(StartShipWeaponConfig(NewShipType, "hgn_ioncannon", "HP_Top", "Fire_Top") -- kept)"});
    }
};

TEST_F(WeaponsTest, OpensBesideTheDisabledMainWindowAndTellsOfAShipWithoutWeapons) {
    Open();
    ExpectUsableBesideMain(sheet);
    EXPECT_EQ(sheet->windowTitle(), "Weapons");
    EXPECT_EQ(prompter.messages, QStringList{"Ship has no weapons."});
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(Child<QPushButton>(sheet, "cmdRemove")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(sheet, "cmdAdd")->isEnabled());
    EXPECT_TRUE(weapon->isEnabled());
    EXPECT_EQ(Child<QLabel>(sheet, "lblDesc")->text(), "<Weapon> ,<HardPoint>,  <Firing Effect>");
    EXPECT_EQ(Child<QLabel>(sheet, "lblWeapon")->buddy(), weapon);
    EXPECT_EQ(Child<QLabel>(sheet, "Label2")->buddy(), hardpoint);
    EXPECT_EQ(Child<QLabel>(sheet, "Label1")->buddy(), effect);
    EXPECT_EQ(weapon->currentIndex(), -1);  // nothing chosen yet

    sheet->close();
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(WeaponsTest, ListsTheEntriesWithoutSelectingAny) {
    LoadTwoWeapons();
    Open();
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(Items(list), (QStringList{"hgn_pulsar , HP_Nose , Fire_Nose",
                                         "hgn_ioncannon , HP_Top , Fire_Top"}));
    EXPECT_EQ(list->selectedItems().size(), 0);
    EXPECT_FALSE(Child<QPushButton>(sheet, "cmdRemove")->isEnabled());
    EXPECT_EQ(Items(hardpoint), (QStringList{"HP_Nose", "HP_Top"}));
    EXPECT_EQ(Items(effect), (QStringList{"Fire_Nose", "Fire_Top"}));
    EXPECT_EQ(hardpoint->currentText(), "");  // offering choices does not pick one

    list->setCurrentRow(1);
    EXPECT_EQ(weapon->currentText(), "hgn_ioncannon");
    EXPECT_EQ(hardpoint->currentText(), "HP_Top");
    EXPECT_EQ(effect->currentText(), "Fire_Top");
    EXPECT_EQ(list->toolTip(), "hgn_ioncannon , HP_Top , Fire_Top");
    EXPECT_TRUE(Child<QPushButton>(sheet, "cmdRemove")->isEnabled());
}

TEST_F(WeaponsTest, CancelPutsBackTheListExactlyAfterAddsRemovesAndApplies) {
    LoadTwoWeapons();
    const auto before = Doc().SSWC_GetList();
    ASSERT_TRUE(before[1].keptText.has_value());
    const std::string scriptBefore = Doc().ScriptText();
    Open();

    weapon->setCurrentIndex(3);
    hardpoint->setCurrentText("HP_New");
    Click(sheet, "cmdAdd");
    Click(sheet, "cmdAdd");
    list->setCurrentRow(0);
    hardpoint->setCurrentText("HP_Changed");
    Click(sheet, "cmdApply");
    list->setCurrentRow(1);
    Click(sheet, "cmdRemove");
    ASSERT_EQ(Doc().SSWC_Num, 2);

    Click(sheet, "cmdCancel");
    EXPECT_TRUE(SameEntries(Doc().SSWC_GetList(), before));
    EXPECT_EQ(Doc().SSWC_Num, 1);
    EXPECT_EQ(Doc().ScriptText(), scriptBefore);
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(WeaponsTest, TheCloseBoxAndEscapeActAsCancel) {
    LoadScript({R"(StartShipWeaponConfig(NewShipType, "hgn_pulsar", "HP", "FX"))"});
    const auto before = Doc().SSWC_GetList();

    Open();
    list->setCurrentRow(0);
    Click(sheet, "cmdRemove");
    EXPECT_EQ(Doc().SSWC_Num, -1);
    EXPECT_EQ(list->count(), 0);  // the only weapon: list cleared, no message, Remove off
    EXPECT_FALSE(Child<QPushButton>(sheet, "cmdRemove")->isEnabled());
    EXPECT_TRUE(prompter.messages.isEmpty());
    sheet->close();
    EXPECT_TRUE(SameEntries(Doc().SSWC_GetList(), before));
    EXPECT_TRUE(main->isEnabled());

    Open();
    Click(sheet, "cmdAdd");
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(SameEntries(Doc().SSWC_GetList(), before));
    EXPECT_TRUE(sheet.isNull() || !sheet->isVisible());
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(WeaponsTest, OkKeepsTheChangedListButNotUnappliedEdits) {
    LoadTwoWeapons();
    Open();
    weapon->setCurrentIndex(weapon->findText("vgr_laser"));
    hardpoint->setCurrentText("HP_Tail");
    effect->setCurrentText("Fire_Tail");
    Click(sheet, "cmdAdd");
    EXPECT_EQ(list->selectedItems().size(), 0);  // the new entry is not selected
    list->setCurrentRow(0);
    Click(sheet, "cmdRemove");
    // Edits of the selected entry without Apply are not stored by OK.
    ASSERT_EQ(list->currentRow(), 0);
    hardpoint->setCurrentText("HP_NotApplied");
    Click(sheet, "cmdOK");

    const auto after = Doc().SSWC_GetList();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].values, (SR2ShipFile::WeaponItem{"hgn_ioncannon", "HP_Top", "Fire_Top", {}}));
    EXPECT_TRUE(after[0].keptText.has_value());  // an untouched entry keeps its line
    EXPECT_EQ(after[1].values, (SR2ShipFile::WeaponItem{"vgr_laser", "HP_Tail", "Fire_Tail", {}}));
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(WeaponsTest, ApplyRewritesTheSelectedEntryAndKeepsItSelected) {
    LoadTwoWeapons();
    Open();
    list->setCurrentRow(1);
    hardpoint->setCurrentText("HP_Belly");
    Click(sheet, "cmdApply");

    EXPECT_EQ(list->item(1)->text(), "hgn_ioncannon , HP_Belly , Fire_Top");
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->item(1)->isSelected());
    EXPECT_EQ(hardpoint->currentText(), "HP_Belly");
    EXPECT_EQ(Items(hardpoint), (QStringList{"HP_Nose", "HP_Top", "HP_Belly"}));
    Doc().SSWC_LoadValues(1);
    EXPECT_EQ(Doc().SSWC_HardPointName, "HP_Belly");
    EXPECT_EQ(Doc().SSWC_Num, 1);

    // Apply with nothing selected does nothing.
    Click(sheet, "cmdAdd");
    const auto list3 = Doc().SSWC_GetList();
    hardpoint->setCurrentText("HP_Other");
    Click(sheet, "cmdApply");
    EXPECT_TRUE(SameEntries(Doc().SSWC_GetList(), list3));
}

TEST_F(WeaponsTest, RemoveWithoutSelectionDoesNothingAndRemoveSelectsTheFirstEntry) {
    LoadScript({R"(StartShipWeaponConfig(NewShipType, "hgn_pulsar", "A", "FA"))",
                R"(StartShipWeaponConfig(NewShipType, "hgn_pulsar", "B", "FB"))",
                R"(StartShipWeaponConfig(NewShipType, "hgn_pulsar", "C", "FC"))"});
    Open();
    list->setCurrentRow(2);
    Click(sheet, "cmdAdd");  // the list is rebuilt without a selection; Remove stays enabled
    ASSERT_TRUE(Child<QPushButton>(sheet, "cmdRemove")->isEnabled());
    Click(sheet, "cmdRemove");
    EXPECT_EQ(Doc().SSWC_Num, 3);

    list->setCurrentRow(1);
    Click(sheet, "cmdRemove");
    EXPECT_EQ(Doc().SSWC_Num, 2);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(hardpoint->currentText(), "A");
    Doc().SSWC_LoadValues(1);
    EXPECT_EQ(Doc().SSWC_HardPointName, "C");
}

TEST_F(WeaponsTest, HardpointChoicesCompareWithLetterCase) {
    LoadScript({R"(StartShipWeaponConfig(NewShipType, "hgn_pulsar", "HP_A", "FX"))",
                R"(StartShipWeaponConfig(NewShipType, "hgn_pulsar", "hp_a", "FX"))",
                R"(StartShipWeaponConfig(NewShipType, "hgn_pulsar", "HP_A", "fx"))"});
    Open();
    EXPECT_EQ(Items(hardpoint), (QStringList{"HP_A", "hp_a"}));
    EXPECT_EQ(Items(effect), (QStringList{"FX", "fx"}));
}

TEST_F(WeaponsTest, ChoicesAreTheBuiltInNamesThenTheWeaponFolder) {
    MakeDir("weapon/tvk_railgun");
    MakeDir("weapon/HGN_PULSAR");   // repeats a built-in name in other letters
    MakeDir("weapon/.hidden_gun");  // hidden entries are not listed
    MakeFile("weapon/tvk_beam.wepn");
    MakeFile("weapon/TVK_RAILGUN");  // repeats a name found before
    Open();
    const QStringList items = Items(weapon);
    ASSERT_EQ(items.size(), 96);
    EXPECT_EQ(items.mid(0, 94), datadir::FromFolderNames(builtinnames::Weapons()));
    EXPECT_EQ(items.mid(94), (QStringList{"tvk_beam.wepn", "tvk_railgun"}));
}

TEST_F(WeaponsTest, AMissingWeaponFolderLeavesTheBuiltInNames) {
    main->strDataDir = data.filePath("nowhere");
    Open();
    EXPECT_EQ(Items(weapon), datadir::FromFolderNames(builtinnames::Weapons()));
    EXPECT_EQ(prompter.messages, QStringList{"Ship has no weapons."});
}

TEST_F(WeaponsTest, AWeaponNamedNowhereElseBecomesALastChoiceAndIsKept) {
    LoadScript({R"(StartShipWeaponConfig(NewShipType, "Tvk_Secret", "HP", "FX"))"});
    Open();
    list->setCurrentRow(0);
    EXPECT_EQ(weapon->currentText(), "Tvk_Secret");
    EXPECT_EQ(weapon->itemText(weapon->count() - 1), "Tvk_Secret");
    Click(sheet, "cmdApply");
    Doc().SSWC_LoadValues(0);
    EXPECT_EQ(Doc().SSWC_WeaponName, "Tvk_Secret");
    // A name holding the separator still comes back whole.
    Click(sheet, "cmdOK");
    LoadScript({R"(StartShipWeaponConfig(NewShipType, "a , b", "HP , 2", "FX"))"});
    Open();
    list->setCurrentRow(0);
    EXPECT_EQ(weapon->currentText(), "a , b");
    EXPECT_EQ(hardpoint->currentText(), "HP , 2");
}

}  // namespace

namespace {

TEST_F(WeaponsTest, TabFollowsTheLayout) {
    LoadTwoWeapons();
    Open();
    list->setCurrentRow(0);
    EXPECT_EQ(TabOrder(sheet), (QStringList{"lstWeapons", "cmdApply", "cmdAdd", "cmdRemove",
                                            "cboWeapon", "cboHardPoint", "cboFiringEffect",
                                            "cmdOK", "cmdCancel"}));
}

}  // namespace
