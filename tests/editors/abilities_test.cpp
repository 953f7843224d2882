// The abilities editor: loading into the two lists, moving abilities, the parameter panel of each
// ability, the working copy that only OK writes, and the mandatory abilities left as read.
#include <QEvent>
#include <QTest>

#include "abilitytable.h"
#include "editortest.h"
#include "frmabilities.h"

namespace {

using abilities::Panel;
using abilities::ParamKind;

QStringList AllNames() {
    QStringList names;
    for (const auto& a : abilities::Table()) names << a.name;
    return names;
}

class AbilitiesTest : public EditorTest {
protected:
    QPointer<QDialog> sheet;
    QListWidget *current = nullptr, *possible = nullptr;

    void Open() {
        sheet = OpenBy("cmdEditAbilities");
        ASSERT_NE(sheet, nullptr);
        current = Child<QListWidget>(sheet, "lstCA");
        possible = Child<QListWidget>(sheet, "lstPA");
    }
    static void Select(QListWidget* list, const QString& name) {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found[0]);
    }
    void Move(const QString& name, bool toCurrent) {
        Select(toCurrent ? possible : current, name);
        Click(sheet, toCurrent ? "cmdAdd" : "cmdRemove");
    }
    QLineEdit* Value(int n) { return Child<QLineEdit>(sheet, QString("Value(%1)").arg(n)); }
    QLabel* PropLabel(int n) { return Child<QLabel>(sheet, QString("PropLabel(%1)").arg(n)); }
    QComboBox* Combo(const char* name) { return Child<QComboBox>(sheet, name); }

    // A ship with parameters of every kind, a kept mandatory ability and one unknown ability.
    void LoadShip() {
        LoadScript({R"(addAbility(NewShipType, "CanLaunch"))",
                    R"(addAbility(NewShipType, "CanDock", 1, 0))",
                    R"(addAbility(NewShipType, "CaptureCommand", 0, 12.5))",
                    R"(addAbility(NewShipType, "SensorPing", 1, 1, 2.5, 0.25))",
                    R"(addAbility(NewShipType, "DefenseFieldAbility", 1, 0, 400, 1000, 10, 2, 3, 4, "PowerField"))",
                    R"(addAbility(NewShipType, "SpecialAttack", 1, "Ram"))",
                    R"(addAbility(NewShipType, "ShipHold", 1, 2, "x"))"});
    }
};

TEST(AbilityTable, NamesDocumentFieldsOfTheRightTypes) {
    const auto table = abilities::Table();
    ASSERT_EQ(table.size(), 27u);
    for (const auto& a : table) {
        SCOPED_TRACE(a.name);
        const auto* presence = SR2ShipFile::FindField(a.presence);
        ASSERT_NE(presence, nullptr);
        EXPECT_EQ(presence->type, FieldType::Flag);
        EXPECT_EQ(std::string(a.presence), std::string("b") + a.name);
        if (a.isActive) {
            const auto* f = SR2ShipFile::FindField(a.isActive);
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->type, FieldType::Flag);
        }
        EXPECT_EQ(a.panel == Panel::Parameters, a.isActive != nullptr);
        for (const auto& p : a.params) {
            const auto* f = SR2ShipFile::FindField(p.field);
            ASSERT_NE(f, nullptr) << p.field;
            const FieldType expected = p.kind == ParamKind::Flag    ? FieldType::Flag
                                       : p.kind == ParamKind::Real  ? FieldType::Real
                                       : p.kind == ParamKind::Int32 ? FieldType::Int32
                                                                    : FieldType::String;
            EXPECT_EQ(f->type, expected) << p.field;
            EXPECT_TRUE(std::string(p.field).starts_with(std::string(a.name) + "_"));
        }
    }
    EXPECT_TRUE(table[23].Mandatory() && table[26].Mandatory() && !table[22].Mandatory());
}

TEST_F(AbilitiesTest, AShipWithoutAbilitiesListsAllAsPossibleAndIsWarned) {
    // The warning comes before the sheet is on the screen.
    struct SeeingPrompter : ScriptedPrompter {
        bool sheetShownAtWarning = true;
        void Message(QWidget* parent, const QString& text, MessageKind kind) override {
            sheetShownAtWarning = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "frmAbilities" && w->isVisible()) sheetShownAtWarning = true;
            ScriptedPrompter::Message(parent, text, kind);
        }
    } seeing;
    frmFrontend own(SheetButtons(), &seeing, settings.get(), temp.path());
    own.show();
    own.NewDocument();
    auto* b = own.findChild<QPushButton*>("cmdEditAbilities");
    ASSERT_NE(b, nullptr);
    b->click();
    QDialog* s = own.OpenSheet();
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(seeing.sheetShownAtWarning);
    EXPECT_EQ(seeing.messages,
              QStringList{"WARNING: Do not add/remove any of these abilities (or your ship file "
                          "won't work): CanAttack, CanBuildShips, RepairCommand, ShipHold"});
    EXPECT_EQ(Items(Child<QListWidget>(s, "lstCA")), QStringList{});
    EXPECT_EQ(Items(Child<QListWidget>(s, "lstPA")), AllNames());
    EXPECT_FALSE(own.isEnabled());
    EXPECT_TRUE(s->isEnabled());
    s->close();
    EXPECT_TRUE(own.isEnabled());
}

TEST_F(AbilitiesTest, LoadsThePresentAbilitiesInTableOrder) {
    LoadShip();
    Open();
    ExpectUsableBesideMain(sheet);
    EXPECT_EQ(sheet->windowTitle(), "Abilities");
    EXPECT_EQ(prompter.messages.size(), 1);  // the warning, every time
    EXPECT_EQ(Items(current), (QStringList{"CanLaunch", "CanDock", "SpecialAttack",
                                           "CaptureCommand", "SensorPing",
                                           "DefenseFieldAbility", "ShipHold"}));
    EXPECT_EQ(possible->count(), 20);
    EXPECT_EQ(possible->item(0)->text(), "CanBeRepaired");
    EXPECT_EQ(Child<QLabel>(sheet, "PermDesc")->text(),
              "Note: Abilities may be modified by selecting them after moving them to the "
              "Current Abilities list.");
    for (const char* family : {"lstCF", "lstPF", "cmdAddF", "cmdRemoveF", "lstCF2", "lstPF2",
                               "cmdAddF2", "cmdRemoveF2", "cmdUp", "cmdDown"}) {
        EXPECT_TRUE(Child<QWidget>(sheet, family)->isVisible()) << family;
        EXPECT_FALSE(Child<QWidget>(sheet, family)->isEnabled()) << family;
    }
    EXPECT_FALSE(Combo("cboIsActive")->isVisible());
    EXPECT_TRUE(current->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(sheet, "cmdAdd")->isEnabled());
}

TEST_F(AbilitiesTest, ThePanelShowsEachAbilityAsItsTableSays) {
    // Every ability present, each field holding a number of its own.
    SR2ShipFile& doc = Doc();
    double n = 1;
    for (const auto& a : abilities::Table()) {
        doc.SetField(a.presence, true);
        for (const auto& p : a.params) {
            if (p.kind == ParamKind::Real) doc.SetField(p.field, n += 0.5);
            if (p.kind == ParamKind::Int32) doc.SetField(p.field, std::int32_t{42});
            if (p.kind == ParamKind::Flag) doc.SetField(p.field, true);
            if (p.kind == ParamKind::String) doc.SetField(p.field, std::string(p.caption));
        }
        if (a.isActive) doc.SetField(a.isActive, true);
    }
    Open();
    ASSERT_EQ(current->count(), 27);
    for (const auto& a : abilities::Table()) {
        SCOPED_TRACE(a.name);
        Child<QLabel>(sheet, "Desc")->setText("before");
        Select(current, a.name);
        const bool panel = a.panel == Panel::Parameters;
        EXPECT_EQ(Combo("cboIsActive")->isVisible(), panel);
        EXPECT_EQ(Child<QLabel>(sheet, "lblIsActive")->isVisible(), panel);
        if (panel) {
            EXPECT_EQ(Combo("cboIsActive")->currentIndex(), 1);
        }
        EXPECT_EQ(Child<QLabel>(sheet, "Desc")->text(),
                  a.panel == Panel::NotEditable ? "Cannot edit this ability yet." : "before");
        const int rows = panel ? a.RowCount() : 0;
        const bool flagRow = panel && a.FirstRowIsFlag();
        EXPECT_EQ(Combo("cboBool")->isVisible(), flagRow);
        EXPECT_EQ(Combo("cboBool")->isEnabled(), flagRow);
        for (int r = 0; r < frmAbilities::kPanelRows; ++r) {
            EXPECT_EQ(PropLabel(r)->isVisible(), r < rows) << r;
            EXPECT_EQ(Value(r)->isVisible(), r < rows && !(r == 0 && flagRow)) << r;
            if (r >= rows) {
                EXPECT_TRUE(PropLabel(r)->text().isEmpty()) << r;
            }
        }
        bool stringRow = false;
        for (const auto& p : a.params) {
            if (p.kind == ParamKind::String) {
                stringRow = true;
                EXPECT_EQ(Child<QLabel>(sheet, "lblStringDropList")->text(), p.caption);
                EXPECT_EQ(Combo("cboDropList")->currentText(), p.caption);
                continue;
            }
            EXPECT_EQ(PropLabel(p.row)->text(), p.caption);
            if (p.kind == ParamKind::Flag) {
                EXPECT_EQ(Combo("cboBool")->currentIndex(), 1);
                EXPECT_EQ(PropLabel(0)->buddy(), Combo("cboBool"));
            } else {
                EXPECT_EQ(Value(p.row)->text(),
                          QString::fromStdString(doc.GetFieldText(p.field)));
                EXPECT_TRUE(Value(p.row)->isEnabled());
                EXPECT_EQ(PropLabel(p.row)->buddy(), Value(p.row));
            }
        }
        EXPECT_EQ(Combo("cboDropList")->isVisible(), stringRow);
        EXPECT_EQ(Combo("cboDropList")->isEnabled(), stringRow);
    }
}

TEST_F(AbilitiesTest, AddingAnAbsentAbilityWritesZerosOnOk) {
    Doc().CloakAbility_CloakRadius = 7;  // left from an earlier removal: not shown, not written
    Open();
    Move("CloakAbility", true);
    EXPECT_EQ(current->item(current->count() - 1)->text(), "CloakAbility");
    EXPECT_TRUE(possible->findItems("CloakAbility", Qt::MatchExactly).isEmpty());
    EXPECT_FALSE(Doc().bCloakAbility);  // nothing before OK
    Select(current, "CloakAbility");
    EXPECT_EQ(Combo("cboIsActive")->currentIndex(), 0);
    EXPECT_EQ(Value(1)->text(), "0");
    Click(sheet, "cmdOK");
    EXPECT_TRUE(Doc().bCloakAbility);
    EXPECT_FALSE(Doc().CloakAbility_IsActive);
    EXPECT_EQ(Doc().CloakAbility_CloakStrength, 0);
    EXPECT_EQ(Doc().CloakAbility_CloakRadius, 0);
    EXPECT_EQ(Doc().CloakAbility_EnergyMinimum, 0);
}

TEST_F(AbilitiesTest, RemovingWritesOnlyThePresenceAndReAddingKeepsTheValues) {
    LoadShip();
    Open();
    Move("SensorPing", false);
    Move("CaptureCommand", false);
    EXPECT_EQ(possible->item(possible->count() - 1)->text(), "CaptureCommand");
    Move("CaptureCommand", true);
    Select(current, "CaptureCommand");
    EXPECT_EQ(Value(0)->text(), "12.5");
    Click(sheet, "cmdOK");
    EXPECT_FALSE(Doc().bSensorPing);
    EXPECT_TRUE(Doc().SensorPing_IsActive);
    EXPECT_TRUE(Doc().SensorPing_InfinitePing);
    EXPECT_EQ(Doc().SensorPing_PingDuration, 2.5);
    EXPECT_TRUE(Doc().bCaptureCommand);
    EXPECT_EQ(Doc().CaptureCommand_LatchOffset, 12.5);
}

TEST_F(AbilitiesTest, MovesWithoutSelectionDoNothingAndTheRemovedAbilityLeavesThePanel) {
    LoadShip();
    Open();
    Click(sheet, "cmdAdd");
    Click(sheet, "cmdRemove");
    EXPECT_EQ(current->count(), 7);
    EXPECT_EQ(possible->count(), 20);
    Select(current, "SensorPing");
    ASSERT_TRUE(Combo("cboBool")->isVisible());
    Click(sheet, "cmdRemove");
    EXPECT_FALSE(Combo("cboBool")->isVisible());
    EXPECT_FALSE(Combo("cboIsActive")->isVisible());
    EXPECT_EQ(current->selectedItems().size(), 0);
}

TEST_F(AbilitiesTest, TheMandatoryAbilitiesKeepTheFlagsRead) {
    LoadShip();
    const std::string before = Doc().ScriptText();
    Open();
    Move("ShipHold", false);
    Move("CanAttack", true);
    Click(sheet, "cmdOK");
    EXPECT_TRUE(Doc().bShipHold);
    EXPECT_FALSE(Doc().bCanAttack);
    // Nothing else changed either: the kept lines come back as read.
    EXPECT_EQ(Doc().ScriptText(), before);
}

TEST_F(AbilitiesTest, CancelLeavesTheDocumentAsItWas) {
    LoadShip();
    const std::string before = Doc().ScriptText();
    Open();
    Move("CanDock", false);
    Move("Harvest", true);
    Select(current, "CaptureCommand");
    QTest::keyClicks(Value(0), "7");
    Click(sheet, "cmdCancel");
    EXPECT_EQ(Doc().ScriptText(), before);
    EXPECT_TRUE(Doc().bCanDock);
    EXPECT_FALSE(Doc().bHarvest);
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(AbilitiesTest, PanelEditsReachTheDocumentOnlyOnOk) {
    LoadShip();
    Open();
    Select(current, "DefenseFieldAbility");
    Combo("cboIsActive")->setCurrentIndex(0);
    Combo("cboBool")->setCurrentIndex(1);
    Value(2)->selectAll();
    QTest::keyClicks(Value(2), "2048.5");
    Combo("cboDropList")->setEditText("StrongField");
    Select(current, "CaptureCommand");  // edits are kept per ability
    Value(0)->selectAll();
    QTest::keyClicks(Value(0), "-3");
    Select(current, "DefenseFieldAbility");
    EXPECT_EQ(Value(2)->text(), "2048.5");
    EXPECT_EQ(Combo("cboDropList")->currentText(), "StrongField");
    EXPECT_EQ(Combo("cboIsActive")->currentIndex(), 0);

    EXPECT_TRUE(Doc().DefenseFieldAbility_IsActive);
    EXPECT_EQ(Doc().DefenseFieldAbility_EnergyMax, 1000);
    EXPECT_EQ(Doc().CaptureCommand_LatchOffset, 12.5);

    Click(sheet, "cmdOK");
    EXPECT_FALSE(Doc().DefenseFieldAbility_IsActive);
    EXPECT_TRUE(Doc().DefenseFieldAbility_IsEngaged);
    EXPECT_EQ(Doc().DefenseFieldAbility_EnergyMax, 2048.5);
    EXPECT_EQ(Doc().DefenseFieldAbility_FieldRadius, 400);
    EXPECT_EQ(Doc().DefenseFieldAbility_EffectName, "StrongField");
    EXPECT_EQ(Doc().CaptureCommand_LatchOffset, -3);
}

TEST_F(AbilitiesTest, ANumberThatDoesNotConvertIsRefusedOnOk) {
    LoadShip();
    Open();
    Move("CloakAbility", true);
    Select(current, "CloakAbility");
    Value(0)->selectAll();
    QTest::keyClicks(Value(0), "2.5");  // an integer: a fraction rounds, ties to even
    Select(current, "CaptureCommand");
    Value(0)->selectAll();
    QTest::keyClicks(Value(0), "abc");
    Select(current, "CanDock");
    Click(sheet, "cmdOK");
    EXPECT_EQ(prompter.messages.last(), "'abc' is not a valid value for Latch Offset.");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(current->currentItem()->text(), "CaptureCommand");  // shown again to put right
    EXPECT_FALSE(Doc().bCloakAbility);                              // nothing stored
    EXPECT_EQ(Doc().CaptureCommand_LatchOffset, 12.5);

    // A removed ability is not written, so its text is not checked.
    Move("CaptureCommand", false);
    Click(sheet, "cmdOK");
    EXPECT_FALSE(Doc().bCaptureCommand);
    EXPECT_EQ(Doc().CaptureCommand_LatchOffset, 12.5);
    EXPECT_EQ(Doc().CloakAbility_CloakStrength, 2);
}

TEST_F(AbilitiesTest, TabFollowsTheLayout) {
    LoadShip();
    Open();
    Select(current, "DefenseFieldAbility");
    QStringList expected{"lstCA", "cmdAdd", "cmdRemove", "lstPA", "cboIsActive", "cboBool"};
    for (int n = 1; n < 7; ++n) expected << QString("Value(%1)").arg(n);
    expected << "cboDropList" << "cmdOK" << "cmdCancel";
    EXPECT_EQ(TabOrder(sheet), expected);
}

TEST_F(AbilitiesTest, TheIsActiveLabelExplainsItself) {
    LoadShip();
    Open();
    Select(current, "CanDock");
    const QString help =
        "If set to False, the ability must be enabled via research.  If set to True, the "
        "ability is available as soon as the ship is built.";
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(Child<QLabel>(sheet, "lblIsActive"), &enter);
    EXPECT_EQ(Child<QLabel>(sheet, "Desc")->text(), help);
    // Arriving in its box by keyboard shows the same text.
    Child<QLabel>(sheet, "Desc")->clear();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(Combo("cboIsActive"), &focusIn);
    EXPECT_EQ(Child<QLabel>(sheet, "Desc")->text(), help);
    EXPECT_EQ(Child<QLabel>(sheet, "lblIsActive")->buddy(), Combo("cboIsActive"));
    // Nothing else sets a help text: the text stays.
    Select(current, "CanLaunch");
    EXPECT_FALSE(Child<QLabel>(sheet, "Desc")->text().isEmpty());
}

}  // namespace
