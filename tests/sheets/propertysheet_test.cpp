// The sheet pattern, shown on Basic Properties, and what every sheet shares: opened by its
// button, usable while the main window is disabled, labels as buddies in tab order.
#include <QApplication>

#include <functional>

#include "sheettest.h"

namespace {

using PatternTest = SheetTest;

TEST_F(PatternTest, LoadsEveryNumberInItsPlainForm) {
    NewDocument();
    SetField("sDisplayedName", "Tarvish Pathfinder");
    SetField("iBuildCost", "-75");
    SetField("fRegentime", "0.25");
    SetField("fMinRegenTime", "0.00001");
    SetField("fSideArmourDamage", "2");
    Open("cmdBasicProperties");
    EXPECT_EQ(Text("Value(0)"), "Tarvish Pathfinder");
    EXPECT_EQ(Text("Value(1)"), "");
    EXPECT_EQ(Text("Value(2)"), "-75");
    EXPECT_EQ(Text("Value(3)"), "0");
    EXPECT_EQ(Text("Value(7)"), "0.25");
    EXPECT_EQ(Text("Value(8)"), "1E-05");
    EXPECT_EQ(Text("Value(9)"), "2");
}

TEST_F(PatternTest, OkStoresTheRowsWithTheReadersConversionAndCloses) {
    NewDocument();
    Open("cmdBasicProperties");
    Type("Value(0)", "Needle");
    Type("Value(2)", "750");
    Type("Value(3)", " 2.5 ");  // a fraction rounds to the even neighbour
    Type("Value(7)", "1.5E-3");
    Ok();
    ExpectClosed();
    EXPECT_EQ(Field("sDisplayedName"), "Needle");
    EXPECT_EQ(Field("iBuildCost"), "750");
    EXPECT_EQ(Field("iBuildTime"), "2");
    EXPECT_EQ(Field("fRegentime"), "0.0015");
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(PatternTest, OkKeepsEveryDigitOfAnUnchangedReal) {
    NewDocument();
    const double precise = 0.12345678901234567;  // more digits than a box shows
    Doc().SetField("fRegentime", precise);
    Open("cmdBasicProperties");
    EXPECT_EQ(Text("Value(7)"), "0.123456789012346");
    Ok();
    EXPECT_EQ(std::get<double>(Doc().GetField("fRegentime")), precise);
}

TEST_F(PatternTest, CancelEscapeAndTheCloseBoxStoreNothing) {
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Cancel", [this] { Cancel(); }},
        {"close box", [this] { CloseBox(); }},
    };
    NewDocument();
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        Open("cmdBasicProperties");
        EXPECT_FALSE(main->isEnabled());
        Type("Value(0)", "Changed");
        Type("Value(2)", "999");
        close();
        ExpectClosed();
        EXPECT_EQ(Field("sDisplayedName"), "");
        EXPECT_EQ(Field("iBuildCost"), "0");
    }
    Open("cmdBasicProperties");
    Type("Value(2)", "999");
    QTest::keyClick(sheet, Qt::Key_Escape);
    ExpectClosed();
    EXPECT_EQ(Field("iBuildCost"), "0");
}

TEST_F(PatternTest, RefusesTextThatDoesNotConvertAndStoresNoRow) {
    const std::pair<const char*, const char*> bad[] = {
        {"Value(2)", ""},           {"Value(2)", "abc"},        {"Value(2)", "12abc"},
        {"Value(2)", "2147483648"}, {"Value(2)", "1.5.2"},      {"Value(7)", "1e400"},
        {"Value(7)", "0,25"},       {"Value(12)", "--3"},
    };
    NewDocument();
    for (const auto& [box, text] : bad) {
        SCOPED_TRACE(std::string(box) + " '" + text + "'");
        prompter.messages.clear();
        Open("cmdBasicProperties");
        Type("Value(0)", "Kept back");  // a good row before the bad one
        Type(box, text);
        Ok();
        ASSERT_EQ(prompter.messages.size(), 1);
        const QString caption = Get<QLabel>(QString(box).replace("Value", "PropLabel"))->text();
        EXPECT_EQ(prompter.messages[0], QString("'%1' is not a valid value for %2.")
                                            .arg(text, caption.chopped(1)));
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_EQ(sheet->focusWidget(), Get(box));
        EXPECT_EQ(Field("sDisplayedName"), "");
        Cancel();
        ExpectClosed();
    }
    EXPECT_EQ(prompter.messages.back(), "'--3' is not a valid value for Nebula Dmg Time.");
}

TEST_F(PatternTest, HelpTextFollowsTheMouseAndStaysWhenItLeaves) {
    NewDocument();
    Open("cmdBasicProperties");
    EXPECT_EQ(Desc(), "");
    Hover("Value(4)");
    EXPECT_EQ(Desc(),
              "Determines where this ship will appear in the build-list.  You might want an "
              "experienced modder to tinker with this, since extensive rearranging requires the "
              "modification of several *.ship files.");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(Get("Value(4)"), &leave);
    Hover("cmdOK");  // no help text of its own
    EXPECT_TRUE(Desc().startsWith("Determines where"));
    Hover("Value(0)");
    EXPECT_EQ(Desc(), "The ship's displayed name in SR2.");
    Hover("Value(8)");
    EXPECT_EQ(Desc(), "(?)");
}

TEST_F(PatternTest, HelpTextFollowsTheKeyboardFocus) {
    NewDocument();
    Open("cmdBasicProperties");
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
    Get("Value(3)")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Desc(), "How long it takes to build the ship, measured in seconds.");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Get("Value(4)"));
    EXPECT_TRUE(Desc().startsWith("Determines where"));
}

TEST_F(PatternTest, PropulsionSharesHelpTextsBetweenBoxes) {
    NewDocument();
    Open("cmdPropulsion");
    Hover("Value(3)");
    const QString accel = Desc();
    EXPECT_EQ(accel, "How long it takes for the ship to reach its max speed, starting at 0 meters "
                     "per second.");
    Hover("Value(13)");
    EXPECT_EQ(Desc(), "(?)");
    Hover("Value(5)");
    EXPECT_EQ(Desc(), accel);
    Hover("Value(2)");
    EXPECT_EQ(Desc(), "The ship's max turning speed in degrees per second.)");
}

// Every sheet: its button opens it beside the disabled main window, usable, with its caption;
// each label is its box's buddy and Tab walks the boxes in row order before OK and Cancel.
struct SheetCase {
    const char* button;
    const char* objectName;
    const char* caption;
    int labels;
};
constexpr SheetCase kSheets[] = {
    {"cmdBasicProperties", "frmBasicProperties", "Basic Properties & Physical Stats", 13},
    {"cmdPropulsion", "frmPropulsion", "Propulsion", 14},
    {"cmdFormationsAndMovement", "frmFormationsAndMovement", "Formations & Movement", 10},
    {"cmdDocking", "frmDocking", "Docking", 10},
    {"cmdClassification", "frmClassification", "Classification", 13},
    {"cmdSensorsAndCombat", "frmSensorsAndCombat", "Sensors and Combat", 7},
    {"cmdAI", "frmAI", "AI Values", 8},
    {"cmdDeath", "frmDeath", "Death", 5},
    {"cmdUIVisibility", "frmUIVisibility", "UI Visibility", 13},
    {"cmdMeshVisibility", "frmMeshVisibility", "Mesh Visibility", 15},
    {"cmdMiscMovement", "frmMiscMovement", "Misc. Movement", 8},
    {"cmdSounds", "frmSounds", "Sounds", 0},
};

TEST_F(PatternTest, EverySheetOpensUsableFromItsButtonWithBuddiesInTabOrder) {
    NewDocument();
    for (const SheetCase& c : kSheets) {
        SCOPED_TRACE(c.objectName);
        Open(c.button);
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->objectName(), c.objectName);
        EXPECT_STREQ(sheet->metaObject()->className(), c.objectName);
        EXPECT_EQ(sheet->windowTitle(), c.caption);
        EXPECT_FALSE(main->isEnabled());
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_TRUE(sheet->isEnabled());
        // Remove waits for a selection (Sounds); everything else is usable at once.
        for (QWidget* child : sheet->findChildren<QWidget*>()) {
            if (child->objectName() == "cmdRemove") continue;
            EXPECT_TRUE(child->isEnabled()) << child->objectName().toStdString();
        }
        EXPECT_EQ(Get<QGroupBox>("DescriptionFrame")->title(), "Property Description");
        EXPECT_EQ(Get<QPushButton>("cmdOK")->text(), "&OK");
        EXPECT_EQ(Get<QPushButton>("cmdCancel")->text(), "&Cancel");

        // Every label of the sheet names a control.
        for (QLabel* label : sheet->findChildren<QLabel*>()) {
            const QString name = label->objectName();
            if (name == "Desc" || name.startsWith("Label")) continue;  // help text, X Y Z
            EXPECT_NE(label->buddy(), nullptr) << name.toStdString();
        }
        QWidget* expected = nullptr;
        QWidget* w = sheet->findChild<QLabel*>("PropLabel(0)")
                         ? sheet->findChild<QLabel*>("PropLabel(0)")->buddy()
                         : nullptr;
        for (int i = 0; i < c.labels; ++i) {
            auto* label = Get<QLabel>(QString("PropLabel(%1)").arg(i));
            ASSERT_TRUE(label);
            expected = label->buddy();
            // Walk the tab chain from the previous row's box to this row's first box.
            while (w && w != expected && w != Get("cmdOK")) w = w->nextInFocusChain();
            EXPECT_EQ(w, expected) << "row " << i << " out of tab order";
        }
        Cancel();
        ExpectClosed();
    }
}

}  // namespace
