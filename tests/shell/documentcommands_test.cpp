// Save keeps the opened file as the modder wrote it, the caption marks unsaved changes, and New,
// Open, Exit and the close box ask before changes are lost.
#include <QAction>
#include <functional>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "guitestsupport.h"

namespace {

const QString kTitle = "Tarvisk 2.5.2 [Beta]";
using Answer = Prompter::SaveAnswer;

const QByteArray kScript =
    "-- the modder's own notes\r\n"
    "NewShipType = StartShipConfig()\r\n"
    "NewShipType.buildCost = 300\r\n"
    "NewShipType.maxhealth = 900 -- tough\r\n"
    "--NewShipType.mass = 5\r\n"
    "\r\n"
    "StartShipWeaponConfig(NewShipType, \"tst_gun\", \"Weapon_Front\", \"Fire_Front\")\r\n";

class DocumentCommandsTest : public GuiTest {
protected:
    QString Shown() { return main->windowHandle()->title(); }

    QString OpenScript(const QString& name = "MyShip.ship") {
        const QString path = WriteFile(name, kScript);
        prompter.openReplies << path;
        Action("Open")->trigger();
        prompter.messages.clear();
        return path;
    }
    // Basic Properties opened from its button, one box changed, closed with OK.
    void EditBuildCost(const QString& text) {
        main->findChild<QPushButton*>("cmdBasicProperties")->click();
        QDialog* sheet = main->OpenSheet();
        ASSERT_NE(sheet, nullptr);
        sheet->findChild<QLineEdit*>("Value(2)")->setText(text);
        sheet->findChild<QPushButton*>("cmdOK")->click();
    }
};

TEST_F(DocumentCommandsTest, SaveRewritesOnlyTheEditedLineOfTheOpenedFile) {
    StartMain();
    const QString path = OpenScript();
    EXPECT_EQ(Shown(), kTitle + " - MyShip.ship");
    EXPECT_FALSE(main->isWindowModified());

    // The value kept with its comment says so in the box's tooltip.
    main->findChild<QPushButton*>("cmdBasicProperties")->click();
    QDialog* sheet = main->OpenSheet();
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Value(6)")->toolTip(), "As written in the script: 900 -- tough");
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Value(2)")->toolTip(), "");
    sheet->findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_FALSE(main->isWindowModified());

    EditBuildCost("450");
    EXPECT_TRUE(main->isWindowModified());
    EXPECT_EQ(Shown(), kTitle + " - MyShip.ship*");

    Action("Save")->trigger();
    EXPECT_EQ(prompter.saveDialogs, 0);
    EXPECT_EQ(prompter.messages, QStringList{"Successfully saved to the file '" + path + "'."});
    QByteArray expected = kScript;
    expected.replace("buildCost = 300", "buildCost = 450");
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_FALSE(main->isWindowModified());
    EXPECT_EQ(Shown(), kTitle + " - MyShip.ship");

    // Setting the value back marks the document again: it differs from what was saved.
    EditBuildCost("300");
    EXPECT_TRUE(main->isWindowModified());
}

TEST_F(DocumentCommandsTest, SaveOfANewDocumentRunsSaveAsThenSavesThatFile) {
    StartMain();
    Action("New")->trigger();
    EXPECT_EQ(Shown(), kTitle + " - New.ship");
    const QString out = QDir::toNativeSeparators(temp.filePath("Fresh.ship"));
    prompter.saveReplies << out;
    Action("Save")->trigger();
    EXPECT_EQ(prompter.saveDialogs, 1);
    EXPECT_EQ(prompter.messages, QStringList{"Successfully saved to the file '" + out + "'."});
    EXPECT_EQ(ReadFile(out).toStdString(), main->ShipFile->ScriptText());
    EXPECT_EQ(Shown(), kTitle + " - Fresh.ship");

    EditBuildCost("75");
    Action("Save")->trigger();
    EXPECT_EQ(prompter.saveDialogs, 1);  // no second dialog: Save writes Fresh.ship
    std::string expected = main->ShipFile->ScriptText();
    EXPECT_EQ(ReadFile(out).toStdString(), expected);
    EXPECT_NE(expected.find("NewShipType.buildCost = 75\r\n"), std::string::npos);
}

// New, Open, Exit and the close box, each with the three answers.
TEST_F(DocumentCommandsTest, UnsavedChangesAreNeverLostSilently) {
    struct Command {
        const char* name;
        std::function<void()> run;
        bool closes;  // the window goes away when the command goes through
    };
    const QString other = WriteFile("Other.ship", "NewShipType.buildCost = 9\r\n");
    const Command commands[] = {
        {"New", [this] { Action("New")->trigger(); }, false},
        {"Open", [&] {
             prompter.openReplies << other;
             Action("Open")->trigger();
         }, false},
        {"Exit", [this] { Action("Exit")->trigger(); }, true},
        {"close box", [this] { main->close(); }, true},
    };
    for (const Command& c : commands) {
        for (Answer answer : {Answer::Cancel, Answer::Discard, Answer::Save}) {
            const std::string what = std::string(c.name) + " answered " +
                                     (answer == Answer::Cancel ? "Cancel" : answer == Answer::Discard ? "Discard" : "Save");
            prompter = ScriptedPrompter();
            StartMain();
            const QString path = OpenScript();
            EditBuildCost("450");
            const SR2ShipFile* before = main->ShipFile;
            prompter.questionReplies << answer;
            c.run();

            ASSERT_EQ(prompter.questions.size(), 1) << what;
            EXPECT_EQ(prompter.questions[0],
                      "The ship file MyShip.ship has been changed. Do you want to save the changes?") << what;
            const bool saved = ReadFile(path).contains("buildCost = 450");
            EXPECT_EQ(saved, answer == Answer::Save) << what;
            if (answer == Answer::Cancel) {
                EXPECT_EQ(main->ShipFile, before) << what;
                EXPECT_EQ(main->ShipFile->iBuildCost, 450) << what;
                EXPECT_TRUE(main->isVisible()) << what;
                EXPECT_TRUE(main->isWindowModified()) << what;
            } else if (c.closes) {
                EXPECT_FALSE(main->isVisible()) << what;
            } else {
                EXPECT_NE(main->ShipFile, before) << what;
                EXPECT_FALSE(main->isWindowModified()) << what;
            }
            main.reset();
        }
    }

    // Without changes every command goes through silently.
    prompter = ScriptedPrompter();
    StartMain();
    OpenScript();
    Action("New")->trigger();
    Action("Exit")->trigger();
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_FALSE(main->isVisible());
}

}  // namespace
