// Classification: the family choices read from scripts\familylist.lua, its messages, the typed
// family names, and the military-unit drop-down.
#include "customfso.h"
#include "sheettest.h"

namespace {

class ClassificationTest : public SheetTest {
protected:
    QStringList Choices(int box) { return Items(Combo(QString("cboFamily(%1)").arg(box))); }
};

TEST_F(ClassificationTest, SampleFamilyListFillsEachBoxFromItsSection) {
    NewDocument();
    SetField("sAttackFamily", "Fighter");
    Open("cmdClassification");
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(Choices(0), (QStringList{"Unarmoured", "LightArmour", "HeavyArmour", "MediumArmour"}));
    EXPECT_EQ(Choices(3), (QStringList{"Tiny", "Small", "Big", "Strikecraft", "Frigate", "MotherShip"}));
    EXPECT_EQ(Choices(8), Choices(3));  // no section of its own: the avoidance families
    EXPECT_EQ(Choices(9), (QStringList{"Fighter", "Capital", "Frigate"}));
    EXPECT_EQ(Combo("cboFamily(1)")->currentText(), "Fighter");
}

TEST_F(ClassificationTest, ReadsSectionsAsTheGameWritesThemAndReportsUnknownOnes) {
    WriteData("scripts/familylist.lua",
              "{ name = \"Early\", },\r\n"            // before any section: armour
              "-- every family of the game\r\n"       // mentions family: shown, section stays
              "AttackFamily = {\r\n"                  // key in another letter case
              "  { name = \"Fighter\", },\r\n"
              "  { name = \"Broken, },\r\n"           // one double quote: skipped
              "  { NAME = \"Gunship\" },\r\n"
              "  dockfamily = {\r\n"                  // indented: unknown, names stay in attack
              "  { name = \"Strike\" },\r\n"
              "MinimalFamilyToFindPathAround\r\n"     // the key alone on its line
              "  { name = \"Mothership\" },\r\n"
              "avoidancefamily = {\r\n"
              "  { name = \"Small\" },\r\n"
              "  { name = \"Big\" },\r\n");
    NewDocument(DataDir());
    Open("cmdClassification");
    EXPECT_EQ(prompter.messages,
              (QStringList{"-- every family of the game", "  dockfamily = {"}));
    EXPECT_EQ(Choices(0), QStringList{"Early"});
    EXPECT_EQ(Choices(1), (QStringList{"Fighter", "Gunship", "Strike"}));
    EXPECT_EQ(Choices(7), QStringList{});
    EXPECT_EQ(Choices(8), (QStringList{"Mothership", "Small", "Big"}));
}

TEST_F(ClassificationTest, MissingFamilyListIsReportedAndTypedNamesStillSave) {
    NewDocument(DataDir());
    Open("cmdClassification");
    const QString scripts = QString::fromStdString(
        CustomFSO::NativePath(DataDir().toStdString() + "\\scripts"));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0],
              "Familylist.lua could not be found in '" + scripts +
                  "', you will have to type in the Family names manually or copy the "
                  "Familylist.lua file into the aforementioned directory, then reload this "
                  "property sheet.");
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Combo(QString("cboFamily(%1)").arg(i))->count(), 0);
    Combo("cboFamily(5)")->setEditText("Typed");
    Type("txtSquadSize", "3");
    Ok();
    EXPECT_EQ(Field("sCollisionFamily"), "Typed");
    EXPECT_EQ(Field("iSquadronSize"), "3");
}

TEST_F(ClassificationTest, TypedNamesKeepTheirCaseAndCancelDropsThem) {
    NewDocument();
    SetField("sAttackFamily", "Corvette");
    Open("cmdClassification");
    Combo("cboFamily(1)")->setEditText("NewAttackers");
    Cancel();
    EXPECT_EQ(Field("sAttackFamily"), "Corvette");

    Open("cmdClassification");
    auto* box = Combo("cboFamily(1)");
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), "fighter");  // a choice spelt "Fighter" exists
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box->count(), 4);
    Ok();
    EXPECT_EQ(Field("sAttackFamily"), "fighter");
}

TEST_F(ClassificationTest, MilitaryUnitShowsTrueFalseAndKeepsOtherNumbers) {
    NewDocument();
    SetField("iMilitaryUnit", "1");
    Open("cmdClassification");
    EXPECT_EQ(Combo("cboMilitaryUnit")->currentText(), "True");
    Combo("cboMilitaryUnit")->setCurrentIndex(0);
    Ok();
    EXPECT_EQ(Field("iMilitaryUnit"), "0");

    SetField("iMilitaryUnit", "-1");
    Open("cmdClassification");
    EXPECT_EQ(Combo("cboMilitaryUnit")->currentIndex(), -1);
    Type("txtUnitCapsNum", "40000");
    Ok();
    EXPECT_EQ(Field("iMilitaryUnit"), "-1");
    EXPECT_EQ(Field("iUnitCapsNumber"), "40000");
}

}  // namespace
