// The data-directory dialog, the preferences and the About box: what they show, what they store
// and when, and that they fit their content.
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "guitestsupport.h"

namespace {

const QString kDefaultDataDir = "C:\\Program Files\\Meridane\\Starreach 2\\Data";

class SettingsDialogTest : public GuiTest {
protected:
    // Opens a dialog from its menu item, as the user does.
    QDialog* OpenFromMenu(const char* action) {
        if (!main) StartMain();
        main->findChild<QAction*>(action)->trigger();
        QDialog* dialog = main->OpenSheet();
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    template <class T>
    T* Child(QDialog* dialog, const char* name) {
        T* child = dialog->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static void CloseBox(QDialog* dialog) {
        QCloseEvent event;
        QCoreApplication::sendEvent(dialog, &event);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void Click(QDialog* dialog, const char* button) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // What a later start of the program would read.
    QString Stored(const char* key) {
        QSettings reread(temp.filePath("settings.ini"), QSettings::IniFormat);
        return reread.value(key, "<none>").toString();
    }
};

// Every control has room for its text, and nothing lies outside the window.
void ExpectFitsContent(QDialog* dialog) {
    dialog->layout()->activate();
    const QRect inside = dialog->rect();
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog)) continue;
        const std::string name = w->objectName().toStdString();
        const QRect r(w->mapTo(dialog, QPoint(0, 0)), w->size());
        EXPECT_TRUE(inside.contains(r)) << name;
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->wordWrap()) {
            EXPECT_GE(w->height(), label->heightForWidth(w->width())) << name;
        } else if (label || qobject_cast<QAbstractButton*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name;
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name;
        }
    }
}

// ----- Manage Directories -----

TEST_F(SettingsDialogTest, DataDirectoryDialogShowsTheCurrentFolderOrTheDefault) {
    QDialog* dialog = OpenFromMenu("DecompiledData");
    EXPECT_EQ(dialog->windowTitle(), "Manage Directories");
    EXPECT_EQ(Child<QLabel>(dialog, "lblInstructions")->text(),
              "Please type in the location of your Starreach 2\\Data directory, e.g. "
              "C:\\Program Files\\Meridane\\Starreach 2\\Data, and then click OK.");
    auto* text = Child<QLineEdit>(dialog, "txtDataDir");
    EXPECT_EQ(text->text(), SampleDataDir());
    EXPECT_EQ(Child<QPushButton>(dialog, "cmdOK")->text(), "&OK");
    EXPECT_EQ(Child<QPushButton>(dialog, "cmdBrowse")->text(), "&Browse...");
    EXPECT_EQ(Child<QLabel>(dialog, "lblInstructions")->buddy(), text);
    EXPECT_EQ(text->nextInFocusChain(), Child<QPushButton>(dialog, "cmdBrowse"));
    EXPECT_EQ(Child<QPushButton>(dialog, "cmdBrowse")->nextInFocusChain(),
              Child<QPushButton>(dialog, "cmdOK"));
    ExpectFitsContent(dialog);
    CloseBox(dialog);

    main->strDataDir = temp.filePath("gone");
    dialog = OpenFromMenu("DecompiledData");
    EXPECT_EQ(Child<QLineEdit>(dialog, "txtDataDir")->text(), kDefaultDataDir);
}

TEST_F(SettingsDialogTest, DataDirectoryDialogRefusesAMissingFolder) {
    QDialog* dialog = OpenFromMenu("DecompiledData");
    auto* text = Child<QLineEdit>(dialog, "txtDataDir");
    const QString missing = temp.filePath("not there");
    text->setText(missing);
    Click(dialog, "cmdOK");

    EXPECT_EQ(prompter.messages, QStringList{"That folder does not exist, please try again."});
    EXPECT_EQ(main->OpenSheet(), dialog) << "the dialog stays open";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(text->text(), missing);
    EXPECT_FALSE(main->isEnabled());
    EXPECT_EQ(main->strDataDir, SampleDataDir());
    EXPECT_EQ(Stored("Directories/Decompiled_Data"), SampleDataDir());
}

TEST_F(SettingsDialogTest, DataDirectoryDialogStoresAnExistingFolderThatIsUsedAtOnce) {
    QDialog* dialog = OpenFromMenu("DecompiledData");
    const QString typed = temp.path() + "/";  // stored as typed, separator and all
    QTest::keyClick(Child<QLineEdit>(dialog, "txtDataDir"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Child<QLineEdit>(dialog, "txtDataDir"), typed);
    QPointer<QDialog> guard = dialog;
    Click(dialog, "cmdOK");

    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(main->strDataDir, typed);
    EXPECT_EQ(Stored("Directories/Decompiled_Data"), typed);

    // The next Open starts in the new folder without a restart.
    main->findChild<QAction*>("Open")->trigger();
    EXPECT_EQ(prompter.openDialogs, 1);
    EXPECT_EQ(prompter.lastDirectory, QDir::toNativeSeparators(typed));

    // And a new start reads it.
    main.reset();
    settings = std::make_unique<QSettings>(temp.filePath("settings.ini"), QSettings::IniFormat);
    StartMain();
    EXPECT_EQ(main->strDataDir, typed);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(SettingsDialogTest, DataDirectoryDialogStoresNothingWhenClosedByItsCloseBox) {
    QDialog* dialog = OpenFromMenu("DecompiledData");
    Child<QLineEdit>(dialog, "txtDataDir")->setText(temp.path());
    CloseBox(dialog);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(main->strDataDir, SampleDataDir());
    EXPECT_EQ(Stored("Directories/Decompiled_Data"), SampleDataDir());
}

TEST_F(SettingsDialogTest, BrowseFillsTheBoxAndOnlyOKStores) {
    QDialog* dialog = OpenFromMenu("DecompiledData");
    auto* text = Child<QLineEdit>(dialog, "txtDataDir");
    prompter.folderReplies << QDir::toNativeSeparators(temp.path());
    Click(dialog, "cmdBrowse");
    EXPECT_EQ(prompter.folderDialogs, 1);
    EXPECT_EQ(prompter.lastDirectory, QDir::toNativeSeparators(SampleDataDir()));
    EXPECT_EQ(text->text(), QDir::toNativeSeparators(temp.path()));
    EXPECT_EQ(Stored("Directories/Decompiled_Data"), SampleDataDir());
    EXPECT_EQ(main->strDataDir, SampleDataDir());

    Click(dialog, "cmdBrowse");  // cancelled: the box keeps its text
    EXPECT_EQ(text->text(), QDir::toNativeSeparators(temp.path()));

    Click(dialog, "cmdOK");
    EXPECT_EQ(main->strDataDir, QDir::toNativeSeparators(temp.path()));
    EXPECT_EQ(Stored("Directories/Decompiled_Data"), QDir::toNativeSeparators(temp.path()));
}

// ----- Preferences -----

TEST_F(SettingsDialogTest, PreferencesShowTheCurrentValues) {
    settings->setValue("Preferences/LoadDefaultWeapons", "0");
    StartMain();
    QDialog* dialog = OpenFromMenu("Preferences");
    EXPECT_EQ(dialog->windowTitle(), "Preferences");
    auto* weapons = Child<QCheckBox>(dialog, "chkLoadDefaultWeapons");
    auto* families = Child<QCheckBox>(dialog, "chkLoadDefaultFamilies");
    EXPECT_EQ(weapons->text(), "Load Default Weapons");
    EXPECT_EQ(families->text(), "Load Default Families");
    EXPECT_EQ(Child<QPushButton>(dialog, "cmdOK")->text(), "OK");
    EXPECT_FALSE(weapons->isChecked());
    EXPECT_TRUE(families->isChecked());
    EXPECT_EQ(weapons->nextInFocusChain(), families);
    ExpectFitsContent(dialog);
}

TEST_F(SettingsDialogTest, PreferencesAreStoredByOKAndByTheCloseBox) {
    StartMain();
    main->intDefWep = 0;
    QDialog* dialog = OpenFromMenu("Preferences");
    QTest::mouseClick(Child<QCheckBox>(dialog, "chkLoadDefaultWeapons"), Qt::LeftButton);
    CloseBox(dialog);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(Stored("Preferences/LoadDefaultWeapons"), "1");
    EXPECT_EQ(Stored("Preferences/LoadDefaultFamilies"), "1");
    EXPECT_EQ(main->intDefWep, 1);

    dialog = OpenFromMenu("Preferences");
    Child<QCheckBox>(dialog, "chkLoadDefaultWeapons")->setChecked(false);
    Child<QCheckBox>(dialog, "chkLoadDefaultFamilies")->setChecked(false);
    Click(dialog, "cmdOK");
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(Stored("Preferences/LoadDefaultWeapons"), "0");
    EXPECT_EQ(Stored("Preferences/LoadDefaultFamilies"), "0");
    EXPECT_EQ(main->intDefWep, 0);
    EXPECT_EQ(main->intDefFam, 0);

    dialog = OpenFromMenu("Preferences");  // Escape saves too: there is no leaving without it
    Child<QCheckBox>(dialog, "chkLoadDefaultFamilies")->setChecked(true);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_EQ(Stored("Preferences/LoadDefaultFamilies"), "1");
    EXPECT_EQ(main->intDefFam, 1);
}

// ----- About -----

TEST_F(SettingsDialogTest, AboutShowsTheProgramAndItsVersion) {
    QDialog* dialog = OpenFromMenu("About");
    EXPECT_EQ(dialog->windowTitle(), "About Tarvisk");
    EXPECT_EQ(Child<QLabel>(dialog, "lblTitle")->text(), "Tarvisk");
    EXPECT_EQ(Child<QLabel>(dialog, "lblVersion")->text(), "Version 2.5.2");
    EXPECT_EQ(Child<QLabel>(dialog, "lblDescription")->text(),
              "Tarvisk is designed to help make the Starreach 2-modding experience easier and "
              "more enjoyable by taking much of the grunt-work out of ship-scripting.");
    EXPECT_FALSE(Child<QLabel>(dialog, "picIcon")->pixmap().isNull());
    ExpectFitsContent(dialog);

    QPointer<QDialog> guard = dialog;
    Click(dialog, "cmdOK");
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(main->isEnabled());
}

}  // namespace
