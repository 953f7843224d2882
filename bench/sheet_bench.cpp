// Times the opening of each of the fifteen sheets, offscreen, by CPU time: the first opening of
// each in this process, as the user would first open it after starting the editor.
//
//   sheet_bench SCRIPT DATA_DIR
//
// mod_bench generate writes a data directory of the size worth measuring (400 weapon folders,
// 300 salvage chunks, 60 formations, 200 family names). Each time covers the button's click, the
// sheet's construction and showing, and the events that lay it out; closing is not timed.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "frmfrontend.h"
#include "prompter.h"
#include "sheetbuttons.h"

namespace {

// The offscreen platform warns on every window it places; the times are what is wanted here.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sheet_bench SCRIPT DATA_DIR\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietHandler);
    QApplication app(argc, argv);
    const QString script = QString::fromLocal8Bit(argv[1]);
    const QString dataDir = QString::fromLocal8Bit(argv[2]);

    QTemporaryDir temp;
    QSettings settings(temp.filePath("settings.ini"), QSettings::IniFormat);
    settings.setValue("Directories/Decompiled_Data", dataDir);
    ScriptedPrompter prompter;  // answers every message box without a modal loop
    frmFrontend main(SheetButtons(), &prompter, &settings, temp.path());
    main.strDataDir = dataDir;
    main.show();
    prompter.openReplies << script;
    main.OpenDocument();
    QApplication::processEvents();
    if (!main.ShipFile) {
        std::fprintf(stderr, "sheet_bench: '%s' could not be opened\n", argv[1]);
        return 1;
    }

    double worst = 0;
    for (const SheetButton& b : SheetButtons()) {
        auto* button = main.findChild<QPushButton*>(QString::fromLatin1(b.objectName));
        if (!button || !b.factory) continue;
        const std::clock_t start = std::clock();
        button->click();
        QDialog* sheet = main.OpenSheet();
        QApplication::processEvents();
        const double ms = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        worst = std::max(worst, ms);
        std::printf("%-28s %6.2f ms CPU\n", b.objectName, ms);
        if (sheet) {
            sheet->close();
            QApplication::processEvents();
        }
    }
    std::printf("%-28s %6.2f ms CPU\n", "slowest", worst);
    return 0;
}
