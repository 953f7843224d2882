// Opening a script without the dialog (a file named on the command line), and the logs of an
// editor installed where it cannot write.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include "guitestsupport.h"

namespace {

class OpenScriptTest : public GuiTest {
protected:
    QString WriteScript(const QString& name, const QByteArray& bytes) {
        const QString path = temp.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

TEST_F(OpenScriptTest, AScriptNamedOnTheCommandLineOpensAsOpenWouldWithoutTheDialog) {
    // No data directory: File > Open would stop at its message, a named file still opens.
    settings->setValue("Directories/Decompiled_Data", temp.filePath("no such folder"));
    StartMain();
    prompter.messages.clear();
    const QString path = WriteScript("Œuvre Ship.ship", "NewShipType.buildCost = 300\r\n");

    main->OpenScript(path);
    EXPECT_EQ(prompter.openDialogs, 0);
    EXPECT_EQ(main->FileIN, QDir::toNativeSeparators(path));
    EXPECT_EQ(main->windowTitle(), main->title() + " - Œuvre Ship.ship[*]");
    EXPECT_EQ(prompter.messages, QStringList{"Œuvre Ship.ship opened succesfully."});
    ASSERT_NE(main->ShipFile, nullptr);
    EXPECT_EQ(main->ShipFile->iBuildCost, 300);
    EXPECT_TRUE(main->findChild<QPushButton*>("cmdPropulsion")->isEnabled());

    main->OpenScript(temp.filePath("gone.ship"));
    EXPECT_EQ(prompter.messages.last(), "The program thinks the file gone.ship does not exist.");
    EXPECT_EQ(main->ShipFile, nullptr);
}

// Installed in a folder it cannot write (here one whose parent is a file, as root writes
// anywhere), the editor logs in the per-user folder and its message names that folder.
TEST_F(OpenScriptTest, LogsThatCannotGoBesideTheProgramGoToTheUserFolderAndTheMessageSaysSo) {
    const QByteArray oldState = qgetenv("XDG_STATE_HOME");
    const QByteArray oldLocal = qgetenv("LOCALAPPDATA");
    const QString user = temp.filePath("Jürgen");
    qputenv("XDG_STATE_HOME", user.toLocal8Bit());
    qputenv("LOCALAPPDATA", user.toLocal8Bit());
    const QString program = WriteScript("program", "not a folder");

    main = std::make_unique<frmFrontend>(SheetButtons(), &prompter, settings.get(), program + "/bin");
    main->OpenScript(WriteScript("Broken.ship", "NewShipType.buildCost = 300\r\nNewShipType.mass = heavy\r\n"));
    qputenv("XDG_STATE_HOME", oldState);
    qputenv("LOCALAPPDATA", oldLocal);

    ASSERT_NE(main->ShipFile, nullptr);
    const QString log = QString::fromStdString(main->ShipFile->ErrorLogPath());
    EXPECT_EQ(QFileInfo(QFileInfo(log).absolutePath()).absolutePath(), QFileInfo(user).absoluteFilePath());
    EXPECT_TRUE(QFile::exists(log));
    EXPECT_EQ(prompter.messages, QStringList{"Broken.ship opened, but 1 line(s) could not be read. They are listed in '" +
                                             QDir::toNativeSeparators(log) + "' and will be written back unchanged."});
}

}  // namespace
