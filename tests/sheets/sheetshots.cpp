// Manual check, not a test: shows the main window on the sample script with one sheet open
// beside it (the button's object name is the argument), for a screenshot of the whole screen.
//   sheetshots cmdDocking [seconds [box to hover, to show its help text]]
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "frmfrontend.h"
#include "prompter.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    QTemporaryDir temp;
    QSettings settings(temp.filePath("settings.ini"), QSettings::IniFormat);
    settings.setValue("Directories/Decompiled_Data", QStringLiteral(TARVISK_EXAMPLES_DIR "/Data"));
    ScriptedPrompter prompter;
    prompter.openReplies << QStringLiteral(TARVISK_EXAMPLES_DIR "/tvk_scout.ship");

    frmFrontend main(&prompter, &settings, temp.path());
    main.move(10, 10);
    main.show();
    main.OpenDocument();
    auto* button = main.findChild<QPushButton*>(QString::fromLatin1(argv[1]));
    if (!button) return 3;
    button->click();
    if (argc > 3 && main.OpenSheet()) {
        if (QWidget* box = main.OpenSheet()->findChild<QWidget*>(QString::fromLatin1(argv[3]))) {
            QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
            QApplication::sendEvent(box, &enter);
        }
    }
    QTimer::singleShot((argc > 2 ? atoi(argv[2]) : 4) * 1000, &app, &QApplication::quit);
    return app.exec();
}
