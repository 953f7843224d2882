// Tarvisk: the ship script editor. The main window does everything; this only starts it, with
// the script named on the command line, if any.
#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include "appinfo.h"
#include "frmfrontend.h"
#include "logfolder.h"
#include "sheetbuttons.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(appinfo::ProgramName());
    QApplication::setApplicationVersion(appinfo::VersionText());
    QApplication::setWindowIcon(appinfo::ProgramIcon());

    frmFrontend window(SheetButtons(), nullptr, nullptr,
                       QString::fromStdString(LogFolderFor(
                           QCoreApplication::applicationDirPath().toStdString())));
    window.show();
    // A script given as the only argument (a file manager opening a .ship file) is opened as
    // File > Open would open it; a relative path is taken from the current folder, as a shell
    // user means it.
    const QStringList args = QApplication::arguments();
    if (args.size() == 2) window.OpenScript(QFileInfo(args[1]).absoluteFilePath());
    return app.exec();
}
