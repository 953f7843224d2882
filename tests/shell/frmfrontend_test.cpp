// The main window: its menus and buttons, the two document states, start-up with and without a
// data directory, and New, Open and Save As with their messages.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QWindow>

#include <vector>

#include "guitestsupport.h"

namespace {

const QString kTitle = "Tarvisk 2.5.2 [Beta]";

// The fifteen sheet buttons, as the user sees them.
const std::vector<std::pair<QString, QString>> kSheetButtons = {
    {"cmdBasicProperties", "Basic Properties"},
    {"cmdPropulsion", "Propulsion"},
    {"cmdFormationsAndMovement", "Formations and Movement"},
    {"cmdDocking", "Docking"},
    {"cmdClassification", "Classification"},
    {"cmdSensorsAndCombat", "Sensors and Combat"},
    {"cmdAI", "AI"},
    {"cmdDeath", "Death"},
    {"cmdUIVisibility", "UI Visibility"},
    {"cmdMeshVisibility", "Mesh Visibility"},
    {"cmdMiscMovement", "Misc Movement"},
    {"cmdSounds", "Sounds"},
    {"cmdWeapons", "Weapons"},
    {"cmdSalvageChunks", "Salvage Chunks"},
    {"cmdEditAbilities", "Abilities"},
};

const char* kCleanScript =
    "-- a small ship for the main window's tests\r\n"
    "NewShipType = StartShipConfig()\r\n"
    "NewShipType.displayedName = \"Test Cutter\"\r\n"
    "NewShipType.buildCost = 300\r\n"
    "NewShipType.maxhealth = 900\r\n"
    "\r\n"
    "StartShipWeaponConfig(NewShipType, \"tst_gun\", \"Weapon_Front\", \"Fire_Front\")\r\n"
    "setTacticsMask(NewShipType, \"Aggressive\")\r\n";

class FrontendTest : public GuiTest {
protected:
    QPushButton* Button(const QString& name) { return main->findChild<QPushButton*>(name); }

    void Open(const QString& path) {
        prompter.openReplies << path;
        Action("Open")->trigger();
    }
    void SetDataDir(const QString& path) {
        settings->setValue("Directories/Decompiled_Data", path);
    }

    // Checks the whole of one of the two states.
    void ExpectDocumentState(bool open, const QString& caption) {
        // The caption as shown: Qt puts the modified marker where the title holds "[*]".
        EXPECT_EQ(main->windowHandle()->title(), caption);
        EXPECT_EQ(Action("Save")->isEnabled(), open);
        EXPECT_EQ(Action("SaveAs")->isEnabled(), open);
        EXPECT_EQ(main->ShipFile != nullptr, open);
        for (const auto& [name, caption] : kSheetButtons) {
            QPushButton* button = Button(name);
            ASSERT_NE(button, nullptr) << name.toStdString();
            EXPECT_EQ(button->isEnabled(), open) << name.toStdString();
        }
        // It never does anything.
        EXPECT_FALSE(Button("cmdHardpoints")->isEnabled());
    }
};

// ----- The window as it starts -----

TEST_F(FrontendTest, StartsWithNoDocumentAndTheButtonsAndMenusAsLaidOut) {
    StartMain();
    EXPECT_TRUE(prompter.messages.isEmpty());
    ExpectDocumentState(false, kTitle);
    EXPECT_EQ(main->title(), kTitle);

    for (const auto& [name, caption] : kSheetButtons)
        EXPECT_EQ(Button(name)->text(), caption) << name.toStdString();
    EXPECT_EQ(Button("cmdHardpoints")->text(), "Hardpoints");

    struct Row {
        const char* menu;
        std::vector<const char*> items;  // object names, "" for a separator
    };
    const Row menus[] = {{"File", {"New", "Open", "OpenRecent", "Save", "SaveAs", "", "Exit"}},
                         {"Edit", {"Undo", "Redo", "", "OtherEntries"}},
                         {"Settings", {"ManageDirectories", "Preferences"}},
                         {"Help", {"ReadMe", "", "About"}}};
    const QList<QAction*> bar = main->menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    for (int m = 0; m < 4; ++m) {
        QMenu* menu = bar[m]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), menus[m].menu);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(menus[m].items.size())) << menus[m].menu;
        for (int i = 0; i < items.size(); ++i) {
            const QString expected = menus[m].items[i];
            if (expected.isEmpty())
                EXPECT_TRUE(items[i]->isSeparator());
            else if (items[i]->menu())
                EXPECT_EQ(items[i]->menu()->objectName(), expected);
            else
                EXPECT_EQ(items[i]->objectName(), expected);
        }
    }
    EXPECT_EQ(bar[0]->text(), "&File");
    EXPECT_EQ(bar[1]->text(), "&Edit");
    EXPECT_EQ(bar[2]->text(), "&Settings");
    EXPECT_EQ(bar[3]->text(), "&Help");

    struct ActionRow {
        const char* name;
        QString caption;
        QKeySequence shortcut;
        bool enabled;
    };
    const ActionRow actions[] = {
        {"New", "&New", QKeySequence("Ctrl+N"), true},
        {"Open", "&Open", QKeySequence("Ctrl+O"), true},
        {"Save", "&Save", QKeySequence("Ctrl+S"), false},
        {"SaveAs", "Save &As ...", {}, false},
        {"Exit", "E&xit", {}, true},
        {"DecompiledData", "&Decompiled Data", {}, true},
        {"Preferences", "&Preferences", QKeySequence("Ctrl+P"), true},
        {"ReadMe", "&ReadMe", {}, false},
        {"About", "&About Tarvisk...", {}, true},
    };
    for (const ActionRow& row : actions) {
        SCOPED_TRACE(row.name);
        QAction* action = Action(row.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), row.caption);
        EXPECT_EQ(action->shortcut(), row.shortcut);
        EXPECT_EQ(action->isEnabled(), row.enabled);
    }
    auto* directories = main->findChild<QMenu*>("ManageDirectories");
    EXPECT_EQ(directories->title(), "Manage &Directories");
    EXPECT_EQ(directories->actions(), QList<QAction*>{Action("DecompiledData")});
}

TEST_F(FrontendTest, AMissingDataDirectoryIsReportedAtStartAndTheProgramStaysUsable) {
    const QString missing = temp.filePath("no such data");
    SetDataDir(missing);
    StartMain();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0], "The directory '" + missing +
                                        "' does not exist, please use the Settings menu to "
                                        "select your SR2 Data Directory.");
    EXPECT_EQ(prompter.messageKinds[0], MessageKind::Warning);  // the box shows a warning icon
    EXPECT_EQ(main->strDataDir, missing);
    Action("New")->trigger();
    ExpectDocumentState(true, kTitle + " - New.ship");
}

TEST_F(FrontendTest, SettingsReadAtStartFallBackToTheirDefaults) {
    settings->clear();
    settings->setValue("Preferences/LoadDefaultWeapons", "0");
    settings->setValue("Preferences/LoadDefaultFamilies", "not a number");
    StartMain();
    EXPECT_EQ(main->strDataDir, "C:\\Program Files\\Meridane\\Starreach 2\\Data");
    EXPECT_EQ(main->intDefWep, 0);
    EXPECT_EQ(main->intDefFam, 1);  // unreadable: the default, and the program starts
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(
        "The directory 'C:\\Program Files\\Meridane\\Starreach 2\\Data' does not exist"));

    settings->clear();
    main.reset();
    StartMain();
    EXPECT_EQ(main->intDefWep, 1);
    EXPECT_EQ(main->intDefFam, 1);
}

// ----- New -----

TEST_F(FrontendTest, NewOpensAFreshDocumentAndReplacesAnOpenFileSilently) {
    StartMain();
    Action("New")->trigger();
    ExpectDocumentState(true, kTitle + " - New.ship");
    EXPECT_TRUE(prompter.messages.isEmpty());

    Open(WriteFile("MyShip.ship", kCleanScript));
    ASSERT_EQ(main->ShipFile->sDisplayedName, "Test Cutter");
    prompter.messages.clear();

    Action("New")->trigger();
    ExpectDocumentState(true, kTitle + " - New.ship");
    EXPECT_TRUE(prompter.messages.isEmpty());
    SR2ShipFile fresh;
    fresh.Initialize();
    EXPECT_EQ(main->ShipFile->sDisplayedName, fresh.sDisplayedName);
    EXPECT_EQ(main->ShipFile->iBuildCost, fresh.iBuildCost);
    EXPECT_EQ(main->ShipFile->ScriptText(), fresh.ScriptText());
}

// ----- Open -----

TEST_F(FrontendTest, OpenReadsTheChosenScriptAndSaysSo) {
    StartMain();
    const QString path = WriteFile("MyShip.ship", kCleanScript);
    Open(path);

    EXPECT_EQ(prompter.openDialogs, 1);
    EXPECT_EQ(prompter.lastTitle, "Open Ship File");
    EXPECT_EQ(prompter.lastDirectory, QDir::toNativeSeparators(SampleDataDir()));
    EXPECT_EQ(prompter.lastFilter, "SR2 Ship Files (*.ship)");
    EXPECT_EQ(prompter.lastSuffix, "ship");

    EXPECT_EQ(main->FileIN, QDir::toNativeSeparators(path));
    ExpectDocumentState(true, kTitle + " - MyShip.ship");
    EXPECT_EQ(prompter.messages, QStringList{"MyShip.ship opened succesfully."});
    EXPECT_EQ(prompter.messageKinds.value(0), MessageKind::Information);
    EXPECT_EQ(main->ShipFile->sDisplayedName, "Test Cutter");
    EXPECT_EQ(main->ShipFile->iBuildCost, 300);
    // The reader's logs go to the folder the window was given.
    EXPECT_EQ(QFileInfo(QString::fromStdString(main->ShipFile->DebugLogPath())).absolutePath(),
              QFileInfo(temp.path()).absoluteFilePath());
}

TEST_F(FrontendTest, OpenOfTheSampleScript) {
    const QString sample = ExamplesDir() + "/tvk_scout.ship";
    if (!QFile::exists(sample)) GTEST_SKIP() << "no examples/tvk_scout.ship";
    StartMain();
    Open(sample);
    ExpectDocumentState(true, kTitle + " - tvk_scout.ship");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith("tvk_scout.ship opened")) << prompter.messages[0].toStdString();
    EXPECT_EQ(main->ShipFile->sDisplayedName, "Tarvish Pathfinder");
}

TEST_F(FrontendTest, OpenOfAScriptWithBadLinesNamesTheCountAndTheErrorLog) {
    StartMain();
    Open(WriteFile("Broken.ship", QByteArray(kCleanScript) +
                                      "NewShipType.buildTime = twelve\r\n"
                                      "NewShipType.mass = 1.2.3\r\n"));
    ASSERT_NE(main->ShipFile, nullptr);
    const int errors = main->ShipFile->ErrorCount();
    ASSERT_GE(errors, 1);
    const QString log = QDir::toNativeSeparators(
        QString::fromStdString(main->ShipFile->ErrorLogPath()));
    EXPECT_TRUE(log.endsWith("errors.txt"));
    EXPECT_EQ(prompter.messages,
              QStringList{"Broken.ship opened, but " + QString::number(errors) +
                          " line(s) could not be read. They are listed in '" + log +
                          "' and will be written back unchanged."});
    // The document is open as after a clean Open.
    ExpectDocumentState(true, kTitle + " - Broken.ship");
    EXPECT_EQ(main->ShipFile->iBuildCost, 300);
}

TEST_F(FrontendTest, OpenOfAMissingFileDropsTheOpenDocument) {
    StartMain();
    Open(WriteFile("MyShip.ship", kCleanScript));
    prompter.messages.clear();

    Open(temp.filePath("gone.ship"));
    EXPECT_EQ(prompter.messages, QStringList{"The program thinks the file gone.ship does not exist."});
    EXPECT_EQ(prompter.messageKinds.last(), MessageKind::Error);
    ExpectDocumentState(false, kTitle);

    // A Windows path gives its file name just the same on every platform.
    Open("C:\\Ships\\Scout Mk2.ship");
    EXPECT_EQ(prompter.messages.last(), "The program thinks the file Scout Mk2.ship does not exist.");
}

TEST_F(FrontendTest, OpenOfAnUnreadableFileShowsTheGenericError) {
    StartMain();
    // Over 256 MiB, so refused before it is read whoever runs the test (sparse: no disc space).
    const QString path = WriteFile("Huge.ship", kCleanScript);
    ASSERT_TRUE(QFile(path).resize((qint64(256) << 20) + 1));

    Action("New")->trigger();
    Open(path);
    EXPECT_EQ(prompter.messages,
              QStringList{"An unknown error ocurred while opening the *.ship file."});
    ExpectDocumentState(false, kTitle);
    // The Problems dock says why.
    const auto* problems = main->findChild<QListWidget*>("lstProblems");
    ASSERT_TRUE(problems && problems->count() == 1);
    EXPECT_TRUE(problems->item(0)->text().contains("it is larger than 256 MiB")) << problems->item(0)->text().toStdString();
}

TEST_F(FrontendTest, ACompiledScriptIsRefusedAndTheOpenDocumentStays) {
    StartMain();
    Open(WriteFile("MyShip.ship", kCleanScript));
    prompter.messages.clear();
    const QString compiled = WriteFile("Compiled.ship", QByteArray("\x1bLuaQ\0\1\4\x08\4", 11));
    Open(compiled);
    EXPECT_EQ(prompter.messages, QStringList{"'Compiled.ship' is a compiled script, not a text script: edit its "
                                             "source file instead."});
    EXPECT_EQ(prompter.messageKinds.last(), MessageKind::Error);
    ExpectDocumentState(true, kTitle + " - MyShip.ship");
    EXPECT_EQ(main->ShipFile->sDisplayedName, "Test Cutter");
    QFile file(compiled);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().size(), 11);

    // A text file that is no ship script opens, with a warning.
    Open(WriteFile("Weapon.ship", "StartWeaponConfig(NewWeaponType, \"Gun\")\r\n"));
    EXPECT_EQ(prompter.messages.last(),
              "Weapon.ship opened, but it has no StartShipConfig line: it may be no ship script.");
    EXPECT_EQ(prompter.messageKinds.last(), MessageKind::Warning);
}

TEST_F(FrontendTest, WhenNoLogCanBeWrittenTheMessageSaysSo) {
    // A file where the log folder should be, and no per-user folder to fall back on.
    const QString blocked = WriteFile("blocked", "x");
    const char* names[] = {"HOME", "XDG_STATE_HOME", "LOCALAPPDATA"};
    std::vector<std::pair<bool, QByteArray>> saved;
    for (const char* n : names) {
        saved.emplace_back(qEnvironmentVariableIsSet(n), qgetenv(n));
        qputenv(n, "");
    }
    main = std::make_unique<frmFrontend>(SheetButtons(), &prompter, settings.get(), blocked);
    main->show();
    Open(WriteFile("Broken.ship", QByteArray(kCleanScript) + "NewShipType.buildTime = twelve\r\n"));
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i].first) qputenv(names[i], saved[i].second);
        else qunsetenv(names[i]);
    }
    ASSERT_NE(main->ShipFile, nullptr);
    EXPECT_EQ(main->ShipFile->ErrorLogPath(), "");
    EXPECT_EQ(prompter.messages,
              QStringList{"Broken.ship opened, but 1 line(s) could not be read. The logs could not be "
                          "written; they will be written back unchanged."});
}

TEST_F(FrontendTest, ACancelledOpenChangesNothingButFileIN) {
    StartMain();
    Open(WriteFile("MyShip.ship", kCleanScript));
    SR2ShipFile* before = main->ShipFile;
    prompter.messages.clear();

    Open(QString());  // the dialog is cancelled
    EXPECT_TRUE(main->FileIN.isEmpty());
    EXPECT_EQ(main->ShipFile, before);
    ExpectDocumentState(true, kTitle + " - MyShip.ship");
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(FrontendTest, WithoutADataDirectoryOpenAndSaveAsShowTheMessageInsteadOfTheDialog) {
    StartMain();
    Open(WriteFile("MyShip.ship", kCleanScript));
    SR2ShipFile* before = main->ShipFile;
    prompter.messages.clear();
    prompter.openReplies.clear();
    prompter.openDialogs = 0;

    const QString missing = temp.filePath("moved away");
    main->strDataDir = missing;
    const QString message = "The directory '" + missing +
                            "' does not exist, please use the Settings menu to select your SR2 "
                            "Data Directory.";
    prompter.openReplies << temp.filePath("MyShip.ship");
    Action("Open")->trigger();
    prompter.saveReplies << temp.filePath("out.ship");
    Action("SaveAs")->trigger();

    EXPECT_EQ(prompter.openDialogs, 0);
    EXPECT_EQ(prompter.saveDialogs, 0);
    EXPECT_EQ(prompter.messages, (QStringList{message, message}));
    EXPECT_EQ(main->ShipFile, before);
    ExpectDocumentState(true, kTitle + " - MyShip.ship");
    EXPECT_FALSE(QFile::exists(temp.filePath("out.ship")));
}

// ----- Save As -----

TEST_F(FrontendTest, SaveAsWritesTheCanonicalScriptAndConfirms) {
    StartMain();
    Open(WriteFile("MyShip.ship", kCleanScript));
    prompter.messages.clear();

    const QString out = temp.filePath("Saved.ship");
    prompter.saveReplies << out;
    Action("SaveAs")->trigger();

    EXPECT_EQ(prompter.saveDialogs, 1);
    EXPECT_EQ(prompter.lastTitle, "Open Ship File");
    EXPECT_EQ(prompter.lastDirectory, QDir::toNativeSeparators(SampleDataDir()));
    EXPECT_EQ(prompter.lastFilter, "SR2 Ship Files (*.ship)");
    EXPECT_EQ(prompter.lastSuffix, "ship");
    EXPECT_EQ(main->FileOUT, QDir::toNativeSeparators(out));
    EXPECT_EQ(prompter.messages,
              QStringList{"Successfully saved to the file '" + QDir::toNativeSeparators(out) + "'."});

    const QByteArray written = ReadFile(out);
    EXPECT_EQ(written.toStdString(), main->ShipFile->ScriptText());
    EXPECT_TRUE(written.contains("NewShipType.buildCost = 300\r\n"));
    EXPECT_TRUE(written.contains("setTacticsMask(NewShipType, \"Aggressive\")"));

    // What was written reads back to the same script.
    Open(out);
    EXPECT_EQ(prompter.messages.last(), "Saved.ship opened succesfully.");
    EXPECT_EQ(main->ShipFile->ScriptText(), written.toStdString());
}

TEST_F(FrontendTest, AFailedSaveAsSaysWhy) {
    StartMain();
    Action("New")->trigger();
    WriteFile("plain.txt", "not a folder");
    const QString out = temp.filePath("plain.txt") + "/Saved.ship";
    prompter.saveReplies << out;
    Action("SaveAs")->trigger();

    ASSERT_EQ(prompter.messages.size(), 1);
    const QString message = prompter.messages[0];
    const QString start = "The file '" + QDir::toNativeSeparators(out) + "' could not be saved: ";
    EXPECT_TRUE(message.startsWith(start)) << message.toStdString();
    EXPECT_TRUE(message.endsWith('.'));
    EXPECT_FALSE(message.endsWith(".."));
    EXPECT_GT(message.size(), start.size() + 1) << "the reason is given";
    EXPECT_EQ(ReadFile(temp.filePath("plain.txt")), "not a folder");
    ExpectDocumentState(true, kTitle + " - New.ship");
}

TEST_F(FrontendTest, ASaveThatWouldChangeWhatTheGameReadsIsRefusedInAMessage) {
    StartMain();
    // The expression is kept as written and goes to the end of the written script, after the
    // later assignment of the entry it reads: the game would read maxhealth 18 instead of 14.
    const QString path = WriteFile("Reordered.ship",
                                   "NewShipType = StartShipConfig()\n"
                                   "NewShipType.buildCost = 7\n"
                                   "NewShipType.maxhealth = NewShipType.buildCost * 2\n"
                                   "NewShipType.buildCost = 9\n");
    Open(path);
    prompter.messages.clear();
    const QString out = temp.filePath("Saved.ship");
    prompter.saveReplies << out;
    Action("SaveAs")->trigger();

    EXPECT_EQ(prompter.messages,
              QStringList{"The file '" + QDir::toNativeSeparators(out) + "' could not be saved: it would change "
                          "what the game reads: maxhealth would be 18 instead of 14."});
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(FrontendTest, ACancelledSaveAsEndsWithoutAMessage) {
    StartMain();
    Action("New")->trigger();
    prompter.saveReplies << temp.filePath("First.ship");
    Action("SaveAs")->trigger();
    prompter.messages.clear();

    Action("SaveAs")->trigger();  // no reply queued: cancelled
    EXPECT_EQ(prompter.saveDialogs, 2);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(main->FileOUT, QDir::toNativeSeparators(temp.filePath("First.ship")));
}

// ----- The program's directory and Exit -----

TEST_F(FrontendTest, WithoutALogFolderTheLogsGoNextToTheProgram) {
    main = std::make_unique<frmFrontend>(SheetButtons(), &prompter, settings.get());
    const QString path = WriteFile("MyShip.ship", kCleanScript);
    prompter.openReplies << path;
    main->findChild<QAction*>("Open")->trigger();
    ASSERT_NE(main->ShipFile, nullptr);
    const QString folder =
        QFileInfo(QString::fromStdString(main->ShipFile->DebugLogPath())).absolutePath();
    // The program's directory when it can be written, else the document's per-user folder.
    const QString fallback =
        QFileInfo(QString::fromStdString(SR2ShipFile::FallbackLogFolder())).absoluteFilePath();
    EXPECT_TRUE(folder == QFileInfo(QCoreApplication::applicationDirPath()).absoluteFilePath() ||
                folder == fallback)
        << folder.toStdString();
}

TEST_F(FrontendTest, ExitClosesTheWindowWithoutAsking) {
    StartMain();
    Action("New")->trigger();
    Action("Exit")->trigger();
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

}  // namespace
