// The open ship's session through the real window: undo and redo of sheet edits, the file changed
// on disk by another program, recent files, and a script dropped on the window.
#include <QAction>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QUrl>

#include "guitestsupport.h"
#include "safewrite.h"
#include "shipsession.h"

namespace {

const QByteArray kScript =
    "-- the modder's own notes\r\n"
    "NewShipType = StartShipConfig()\r\n"
    "NewShipType.buildCost = 300\r\n"
    "NewShipType.maxhealth = 900 -- tough\r\n";

int safeWrites = 0;
void CountWrite(const std::string&) { ++safeWrites; }

class SessionTest : public GuiTest {
protected:
    QString path;

    void SetUp() override {
        GuiTest::SetUp();
        safeWrites = 0;
        SetSafeWriteHookForTesting(&CountWrite);
        StartMain();
        path = Open("MyShip.ship");
    }
    void TearDown() override {
        SetSafeWriteHookForTesting(nullptr);
        GuiTest::TearDown();
    }

    QString Open(const QString& name, const QByteArray& bytes = kScript) {
        const QString p = WriteFile(name, bytes);
        prompter.openReplies << p;
        Action("Open")->trigger();
        prompter.messages.clear();
        return p;
    }
    // Basic Properties opened from its button, the build cost changed, closed with OK or Cancel.
    void EditBuildCost(const QString& text, const char* button = "cmdOK") {
        main->findChild<QPushButton*>("cmdBasicProperties")->click();
        QDialog* sheet = main->OpenSheet();
        ASSERT_NE(sheet, nullptr);
        sheet->findChild<QLineEdit*>("Value(2)")->setText(text);
        sheet->findChild<QPushButton*>(button)->click();
    }
    // Another program replaces the file, and the window has heard of it.
    void ChangeOutside(const QByteArray& bytes) {
        QSignalSpy heard(main->Session(), &ShipSession::changedOnDisk);
        ASSERT_TRUE(SafeWriteFile(path.toStdString(), bytes.toStdString()));
        ASSERT_TRUE(heard.wait(5000));
    }
    static QByteArray WithCost(const char* cost) {
        QByteArray bytes = kScript;
        return bytes.replace("buildCost = 300", QByteArray("buildCost = ") + cost);
    }
};

TEST_F(SessionTest, TwentyEditsUndoneLeaveTheSavedDocumentAndSaveWritesNothing) {
    QList<QMenu*> menus;
    for (QAction* a : main->menuBar()->actions()) menus << a->menu();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[1]->title(), "&Edit");
    EXPECT_EQ(menus[1]->actions().value(0), Action("Undo"));
    EXPECT_EQ(menus[1]->actions().value(1), Action("Redo"));
    EXPECT_EQ(Action("Undo")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(Action("Redo")->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
    EXPECT_FALSE(Action("Undo")->isEnabled());

    // A cancelled sheet and an OK that changed nothing are no steps.
    EditBuildCost("5", "cmdCancel");
    EditBuildCost("300");
    EXPECT_FALSE(Action("Undo")->isEnabled());

    for (int i = 1; i <= 20; ++i) EditBuildCost(QString::number(i));
    EXPECT_EQ(main->ShipFile->iBuildCost, 20);
    EXPECT_TRUE(main->isWindowModified());
    EXPECT_EQ(Action("Undo")->text(), "&Undo Basic Properties");

    for (int i = 19; i >= 1; --i) {
        Action("Undo")->trigger();
        ASSERT_EQ(main->ShipFile->iBuildCost, i);
        EXPECT_TRUE(main->isWindowModified());
    }
    Action("Undo")->trigger();
    EXPECT_EQ(main->ShipFile->iBuildCost, 300);
    EXPECT_FALSE(main->isWindowModified());
    EXPECT_FALSE(Action("Undo")->isEnabled());
    EXPECT_EQ(Action("Redo")->text(), "&Redo Basic Properties");

    Action("Save")->trigger();
    EXPECT_EQ(safeWrites, 0);
    EXPECT_EQ(ReadFile(path), kScript);

    // Redo brings the edits back, and an edit after an undo drops the steps undone.
    Action("Redo")->trigger();
    Action("Redo")->trigger();
    EXPECT_EQ(main->ShipFile->iBuildCost, 2);
    EXPECT_TRUE(main->isWindowModified());
    EditBuildCost("77");
    EXPECT_FALSE(Action("Redo")->isEnabled());
    Action("Save")->trigger();
    EXPECT_EQ(safeWrites, 1);
    EXPECT_EQ(ReadFile(path), WithCost("77"));
    Action("Undo")->trigger();
    EXPECT_TRUE(main->isWindowModified());  // the saved state is 77 now
}

TEST_F(SessionTest, AListEditorsStepIsNamedAfterWhatItsOkKept) {
    auto weapons = [this](const std::vector<const char*>& clicks) {
        main->findChild<QPushButton*>("cmdWeapons")->click();
        QDialog* sheet = main->OpenSheet();
        ASSERT_NE(sheet, nullptr);
        sheet->findChild<QComboBox*>("cboWeapon")->setCurrentIndex(0);
        for (const char* button : clicks) {
            sheet->findChild<QListWidget*>("lstWeapons")->setCurrentRow(0);
            sheet->findChild<QPushButton*>(button)->click();
        }
        sheet->findChild<QPushButton*>("cmdOK")->click();
    };
    weapons({"cmdAdd"});
    EXPECT_EQ(Action("Undo")->text(), "&Undo Add Weapon");
    weapons({"cmdAdd", "cmdAdd"});
    EXPECT_EQ(Action("Undo")->text(), "&Undo Add 2 Weapons");
    weapons({"cmdRemove", "cmdAdd", "cmdRemove"});
    EXPECT_EQ(Action("Undo")->text(), "&Undo Remove and Add Weapons");
    Action("Undo")->trigger();
    EXPECT_EQ(Action("Redo")->text(), "&Redo Remove and Add Weapons");
    EXPECT_EQ(Action("Undo")->text(), "&Undo Add 2 Weapons");
    EXPECT_EQ(main->ShipFile->SSWC_Num, 2);  // three weapons, counted from 0
}

TEST_F(SessionTest, AChangeOnDiskReloadsAnUnmodifiedDocumentAndAsksForAModifiedOne) {
    ChangeOutside(WithCost("999"));
    EXPECT_EQ(main->ShipFile->iBuildCost, 999);
    EXPECT_TRUE(prompter.choices.isEmpty());
    EXPECT_TRUE(main->statusBar()->currentMessage().startsWith("Reloaded MyShip.ship"));

    // Modified: the user is asked, and Keep keeps the edit.
    EditBuildCost("5");
    ChangeOutside(WithCost("777"));
    ASSERT_EQ(prompter.choices.size(), 1);
    EXPECT_TRUE(prompter.choices[0].contains("changed by another program"));
    EXPECT_EQ(main->ShipFile->iBuildCost, 5);
    EXPECT_TRUE(main->isWindowModified());

    // Save over the other program's file asks first: Cancel writes nothing, Overwrite writes.
    prompter.choiceReplies << "Cancel";
    Action("Save")->trigger();
    EXPECT_EQ(prompter.choices.size(), 2);
    EXPECT_EQ(ReadFile(path), WithCost("777"));
    prompter.choiceReplies << "Overwrite";
    Action("Save")->trigger();
    EXPECT_EQ(ReadFile(path), WithCost("5"));
    EXPECT_FALSE(main->isWindowModified());

    // The editor's own save is no change on disk.
    QSignalSpy heard(main->Session(), &ShipSession::changedOnDisk);
    EditBuildCost("6");
    Action("Save")->trigger();
    EXPECT_FALSE(heard.wait(500));
    EXPECT_EQ(prompter.choices.size(), 3);

    // Modified again, and the answer is Reload: the other program's values win.
    EditBuildCost("8");
    prompter.choiceReplies << "Reload";
    ChangeOutside(WithCost("111"));
    EXPECT_EQ(main->ShipFile->iBuildCost, 111);
    EXPECT_FALSE(main->isWindowModified());
}

TEST_F(SessionTest, RecentFilesDroppedScriptsAndTheFullPath) {
    EXPECT_EQ(main->windowFilePath(), path);
    EXPECT_EQ(main->findChild<QLabel*>("FilePath")->text(), path);

    const QString second = Open("Second.ship");
    EXPECT_EQ(main->RecentFiles(), (QStringList{second, path}));
    EXPECT_EQ(settings->value("RecentFiles/Files").toStringList(), (QStringList{second, path}));
    auto* recent = main->findChild<QMenu*>("OpenRecent");
    ASSERT_NE(recent, nullptr);
    EXPECT_TRUE(recent->actions().value(0)->text().endsWith(second));

    // A file that is gone leaves the list with a message.
    QFile::remove(path);
    main->findChild<QAction*>("RecentFile2")->trigger();
    EXPECT_EQ(prompter.messages,
              QStringList{"The file '" + path + "' no longer exists; it has been removed from the list."});
    EXPECT_EQ(main->RecentFiles(), QStringList{second});

    // Ten at most, the newest first; Clear List empties it.
    for (int i = 0; i < 11; ++i) Open(QString("Ship%1.ship").arg(i));
    EXPECT_EQ(main->RecentFiles().size(), 10);
    EXPECT_TRUE(main->RecentFiles().front().endsWith("Ship10.ship"));
    Action("ClearRecent")->trigger();
    EXPECT_TRUE(main->RecentFiles().isEmpty());

    // A dropped script opens as Open would, asking first about unsaved edits.
    const QString dropped = WriteFile("Dropped.ship", WithCost("12"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dropped)});
    auto drop = [&] {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main.get(), &event);
    };
    EditBuildCost("1");
    drop();  // the question is answered Cancel
    EXPECT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(main->ShipFile->iBuildCost, 1);
    prompter.questionReplies << Prompter::SaveAnswer::Discard;
    drop();
    EXPECT_EQ(main->ShipFile->iBuildCost, 12);
    EXPECT_EQ(main->windowFilePath(), dropped);
}

}  // namespace
