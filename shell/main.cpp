// Tarvisk: the ship script editor. The main window does everything; this only starts it.
#include <QApplication>

#include "appinfo.h"
#include "frmfrontend.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(appinfo::ProgramName());
    QApplication::setApplicationVersion(appinfo::VersionText());
    QApplication::setWindowIcon(appinfo::ProgramIcon());

    frmFrontend window;
    window.show();
    return app.exec();
}
