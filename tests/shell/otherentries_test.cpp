// The whole ship in the editor: statements no sheet shows in Other Entries, values kept as written
// shown as written in the sheets, and the Problems dock where the modder looks.
#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "gamevalues.h"
#include "guitestsupport.h"
#include "propertysheet.h"
#include "scriptformat.h"
#include "problemsview.h"
#include "sheetbuttons.h"
#include "sheetcontext.h"

namespace {

const QByteArray kScript =
    "NewShipType = StartShipConfig()\n"                                       // 1
    "NewShipType.buildCost = 300\n"                                           // 2
    "NewShipType.maxhealth = 79*1.1\n"                                        // 3
    "NewShipType.defaultROE = \"Aggressive\"\n"                               // 4
    "setEngineBurn(NewShipType, 12, 1.5)\n"                                   // 5
    "StartShipWeaponConfig(NewShipType, \"tvk_needlegn\", \"hp\", \"fx\")\n"   // 6
    "SpawnSalvageOnDeath(NewShipType, \"chunk\")\n";                          // 7

class EntriesTest : public GuiTest {
protected:
    QString path;
    void Open(const QByteArray& bytes = kScript) {
        StartMain();
        path = WriteFile("Frigate.ship", bytes);
        main->OpenScript(path);
        prompter.messages.clear();
    }
    QDialog* Entries() {
        Action("OtherEntries")->trigger();
        return main->OpenSheet();
    }
    QTableWidget* Table(QDialog* sheet) { return sheet->findChild<QTableWidget*>("lstEntries"); }
    QStringList Column(QTableWidget* t, int c) {
        QStringList out;
        for (int r = 0; r < t->rowCount(); ++r)
            if (!t->isRowHidden(r)) out << t->item(r, c)->text();
        return out;
    }
    ProblemsView* Problems() { return main->findChild<ProblemsView*>("lstProblems"); }
    static bool LuaBuiltIn() { return GameValues(std::string_view("NewShipType = StartShipConfig()")).Known(); }
    QStringList ProblemRows() {
        QStringList out;
        for (int i = 0; i < Problems()->count(); ++i) out << Problems()->item(i)->text();
        return out;
    }
};

}  // namespace

TEST_F(EntriesTest, OtherEntriesListsEditsAndSavesOnlyTheChangedLines) {
    Open();
    // The Edit menu follows File and holds the sheet under Ctrl+E.
    const auto menus = main->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[1]->text(), "&Edit");
    EXPECT_EQ(Action("OtherEntries")->text(), "Other &Entries...");
    EXPECT_EQ(Action("OtherEntries")->shortcut(), QKeySequence("Ctrl+E"));

    QDialog* sheet = Entries();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->windowTitle(), "Other Entries");
    QTableWidget* table = Table(sheet);
    EXPECT_EQ(table->accessibleName(), "Other Entries");
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "Line");
    EXPECT_EQ(Column(table, 0), (QStringList{"4", "5", "7"}));
    EXPECT_EQ(Column(table, 1), (QStringList{"defaultROE", "setEngineBurn", "SpawnSalvageOnDeath"}));
    EXPECT_EQ(Column(table, 2), (QStringList{"\"Aggressive\"", "12, 1.5", "\"chunk\""}));
    sheet->findChild<QLineEdit*>("txtFilter")->setText("engine");
    EXPECT_EQ(Column(table, 1), QStringList{"setEngineBurn"});
    sheet->findChild<QLineEdit*>("txtFilter")->clear();

    // A value the game could not read is refused and the cell goes back.
    table->item(0, 2)->setText("Defensive");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(table->item(0, 2)->text(), "\"Aggressive\"");
    table->item(0, 2)->setText("\"Defensive\"");
    table->item(1, 2)->setText("14, 1.5");
    // Cancel puts everything back.
    sheet->findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_FALSE(main->isWindowModified());

    sheet = Entries();
    table = Table(sheet);
    table->item(0, 2)->setText("\"Defensive\"");
    table->selectRow(2);
    sheet->findChild<QPushButton*>("cmdRemove")->click();
    sheet->findChild<QLineEdit*>("txtNew")->setText("setTargetBox(1, 2)");
    sheet->findChild<QPushButton*>("cmdAdd")->click();
    EXPECT_EQ(Column(table, 1), (QStringList{"defaultROE", "setEngineBurn", "setTargetBox"}));
    sheet->findChild<QPushButton*>("cmdOK")->click();
    EXPECT_TRUE(main->isWindowModified());
    EXPECT_EQ(Action("Undo")->text(), "&Undo Edit, Remove and Add Other Entries");

    Action("Save")->trigger();
    QByteArray expected = kScript;
    expected.replace("\"Aggressive\"", "\"Defensive\"");
    expected.replace("SpawnSalvageOnDeath(NewShipType, \"chunk\")\n", "setTargetBox(NewShipType, 1, 2)\n");
    EXPECT_EQ(ReadFile(path), expected);
}

TEST_F(EntriesTest, ABlockIsEditedAsText) {
    Open("NewShipType = StartShipConfig()\naddCustomCode(NewShipType,\n  \"a.lua\")\n");
    QDialog* sheet = Entries();
    QTableWidget* table = Table(sheet);
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_FALSE(table->item(0, 2)->flags() & Qt::ItemIsEditable);
    table->selectRow(0);
    auto* box = sheet->findChild<QPlainTextEdit*>("txtBlock");
    EXPECT_EQ(box->toPlainText(), "addCustomCode(NewShipType,\n  \"a.lua\")");
    box->setPlainText("addCustomCode(NewShipType,\n  \"b.lua\"");  // does not close: refused
    sheet->findChild<QPushButton*>("cmdOK")->click();
    EXPECT_TRUE(sheet->isVisible());
    box->setPlainText("addCustomCode(NewShipType,\n  \"b.lua\")");
    sheet->findChild<QPushButton*>("cmdOK")->click();
    Action("Save")->trigger();
    EXPECT_EQ(ReadFile(path), "NewShipType = StartShipConfig()\naddCustomCode(NewShipType,\n  \"b.lua\")\n");
}

TEST_F(EntriesTest, AValueKeptAsWrittenShowsAsWrittenAndStaysUnlessChanged) {
    Open();
    main->findChild<QPushButton*>("cmdBasicProperties")->click();
    QDialog* sheet = main->OpenSheet();
    auto* health = sheet->findChild<QLineEdit*>("Value(6)");
    EXPECT_EQ(health->text(), "79*1.1");
    EXPECT_TRUE(health->font().italic());
    EXPECT_FALSE(sheet->findChild<QLineEdit*>("Value(2)")->font().italic());
    // Beside it, what the game makes of it (where this build has the game's Lua), until the box
    // says something else.
    auto* game = sheet->findChild<QLabel*>("lblGameValue(6)");
    if (LuaBuiltIn()) {
        EXPECT_EQ(health->toolTip(), "As written in the script: 79*1.1\nThe game reads it as 86.9");
        ASSERT_NE(game, nullptr);
        EXPECT_EQ(game->text(), "= 86.9");
        health->setText("90");
        EXPECT_EQ(game->text(), "");
        health->setText("79*1.1");
        EXPECT_EQ(game->text(), "= 86.9");
    } else {
        EXPECT_EQ(health->toolTip(), "As written in the script: 79*1.1");
        EXPECT_EQ(game, nullptr);
    }
    EXPECT_EQ(sheet->findChild<QLabel*>("lblGameValue(2)"), nullptr);
    sheet->findChild<QLineEdit*>("Value(2)")->setText("450");
    sheet->findChild<QPushButton*>("cmdOK")->click();
    EXPECT_FALSE(sheet->isVisible());  // the unchanged expression is no bad number
    Action("Save")->trigger();
    QByteArray expected = kScript;
    expected.replace("buildCost = 300", "buildCost = 450");
    EXPECT_EQ(ReadFile(path), expected);
}

TEST_F(EntriesTest, TheProblemsDockFollowsEditsAndLeadsToTheEntry) {
    if (!LuaBuiltIn()) GTEST_SKIP() << "the game's Lua judges which lines are problems";
    // Lines kept as written that Lua loads (79*1.1, a short salvage call) are no problem; a line
    // Lua refuses is, with Lua's message.
    QByteArray script = kScript;
    script.replace("SpawnSalvageOnDeath(NewShipType, \"chunk\")", "NewShipType.tvkOdd = = 3");
    Open(script);
    auto* dock = main->findChild<QDockWidget*>("dockProblems");
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->windowTitle(), "Problems");
    EXPECT_EQ(Problems()->accessibleName(), "Problems");
    EXPECT_EQ(ProblemRows(),
              (QStringList{"6: unknown weapon 'tvk_needlegn' (did you mean 'tvk_needlegun'?) in "
                           "StartShipWeaponConfig(NewShipType, \"tvk_needlegn\", \"hp\", \"fx\")",
                           "7: unexpected symbol near '=' in NewShipType.tvkOdd = = 3"}));

    // Double-click leads to the editor holding the entry, with the entry selected ...
    emit Problems()->itemActivated(Problems()->item(0));
    QDialog* sheet = main->OpenSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->objectName(), "frmWeapons");
    EXPECT_EQ(sheet->findChild<QListWidget*>("lstWeapons")->currentRow(), 0);
    sheet->reject();
    // ... and to Other Entries at its row for a line no window holds.
    emit Problems()->itemActivated(Problems()->item(1));
    sheet = main->OpenSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->objectName(), "frmOtherEntries");
    EXPECT_EQ(Table(sheet)->currentRow(), 2);
    sheet->findChild<QPushButton*>("cmdRemove")->click();
    sheet->findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(Problems()->count(), 1);  // after the edit, before any save

    // Apply suggestion puts the known name in place.
    main->ApplyProblemSuggestion(Problems()->Problems()[0]);
    EXPECT_EQ(Problems()->count(), 0);
    Action("Save")->trigger();
    EXPECT_TRUE(ReadFile(path).contains("\"tvk_needlegun\""));
    EXPECT_EQ(Problems()->count(), 0);

    // A file that cannot be read is a problem of its own.
    main->OpenScript(temp.filePath("missing.ship"));
    ASSERT_EQ(Problems()->count(), 1);
    EXPECT_TRUE(Problems()->item(0)->text().contains("missing.ship"));
}

TEST_F(EntriesTest, KnownEntriesNoSheetShowsAreEditedInOtherEntries) {
    Open("NewShipType = StartShipConfig()\n"
         "NewShipType.paradeData = \"tvk_parade\"\n"
         "NewShipType.buildBatch = 2*3\n"
         "LoadSharedModel(NewShipType, \"Tvk_Warden\")\n");
    QDialog* sheet = Entries();
    QTableWidget* table = Table(sheet);
    EXPECT_EQ(Column(table, 1), (QStringList{"paradeData", "buildBatch", "LoadSharedModel"}));
    // The game's value of an expression, in the value's tooltip.
    EXPECT_EQ(table->item(1, 2)->toolTip(), LuaBuiltIn() ? "The game reads it as 6" : "");
    EXPECT_EQ(table->item(0, 2)->toolTip(), "");
    // A known entry's line is edited, never removed.
    table->selectRow(0);
    EXPECT_FALSE(sheet->findChild<QPushButton*>("cmdRemove")->isEnabled());
    table->item(0, 2)->setText("\"tvk_march\"");
    table->item(1, 2)->setText("7");
    EXPECT_EQ(table->item(1, 2)->toolTip(), "");  // the game's value was that of the old text
    sheet->findChild<QPushButton*>("cmdOK")->click();
    Action("Save")->trigger();
    EXPECT_EQ(ReadFile(path), "NewShipType = StartShipConfig()\n"
                              "NewShipType.paradeData = \"tvk_march\"\n"
                              "NewShipType.buildBatch = 7\n"
                              "LoadSharedModel(NewShipType, \"Tvk_Warden\")\n");
}

TEST_F(EntriesTest, EveryKnownEntryHasOneWindowThatShowsIt) {
    // A field of the key table, or the model, that no sheet and not Other Entries showed would be
    // a line the user cannot see; one shown in both would be edited in two places.
    Open();
    std::map<std::string, int> shownBy;
    for (const SheetButton& row : SheetButtons()) {
        if (!row.factory) continue;
        std::unique_ptr<QDialog> sheet(row.factory(SheetContext{main->Session(), &prompter, QString(), main.get()}));
        if (auto* p = qobject_cast<PropertySheet*>(sheet.get()))
            for (const auto& f : p->FieldNames()) ++shownBy[f];
    }
    for (std::size_t f : OtherEntries::HeldFields()) ++shownBy[SR2ShipFile::Fields()[f].name];
    std::vector<std::string> known{"sLoadSharedModel"};
    for (const auto& key : scriptformat::AssignmentKeys())
        if (key.kind == scriptformat::KeyKind::Field) known.push_back(key.field);
    for (const auto& field : known) EXPECT_EQ(shownBy[field], 1) << field;
}
