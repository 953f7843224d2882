// Manual check, not a test: opens the main window on the sample script with the sample data
// directory, then every sheet, editor and settings dialog beside it in turn, and saves a picture of
// each window, frame included, into a folder. Run it under Xvfb with a window manager:
//   sheetshots OUTDIR [SUFFIX [right]]   (pictures OUTDIR/<window>SUFFIX.png; "right" starts the
//                                         main window at the screen's right edge)
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "frmfrontend.h"
#include "scriptedprompter.h"
#include "sheetbuttons.h"

namespace {

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Grab(QWidget& window, const QString& path) {
    const QRect frame = window.frameGeometry();
    QPixmap shot = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(),
                                               frame.height());
    const bool ok = shot.save(path);
    std::printf("%s %s (%dx%d logical at %d,%d)\n", ok ? "saved" : "FAILED", qPrintable(path),
                frame.width(), frame.height(), frame.x(), frame.y());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(out);
    QTemporaryDir temp;
    QSettings settings(temp.filePath("settings.ini"), QSettings::IniFormat);
    settings.setValue("Directories/Decompiled_Data", QStringLiteral(TARVISK_EXAMPLES_DIR "/Data"));
    ScriptedPrompter prompter;
    prompter.openReplies << QStringLiteral(TARVISK_EXAMPLES_DIR "/tvk_scout.ship");

    frmFrontend main(SheetButtons(), &prompter, &settings, temp.path());
    main.show();
    if (argc > 3 && QByteArray(argv[3]) == "right") {
        const QRect screen = main.screen()->availableGeometry();
        Wait(500);
        main.move(screen.right() + 1 - main.frameGeometry().width(), screen.top());
    }
    main.OpenDocument();
    Wait(1500);
    bool ok = Grab(main, out + "/main" + suffix + ".png");

    auto shoot = [&](const QString& name, const std::function<void()>& open) {
        open();
        QDialog* sheet = main.OpenSheet();
        if (!sheet) {
            std::printf("FAILED to open %s\n", qPrintable(name));
            ok = false;
            return;
        }
        Wait(1200);
        ok = Grab(*sheet, out + "/" + name + suffix + ".png") && ok;
        sheet->reject();
        Wait(300);
    };
    for (const SheetButton& row : SheetButtons()) {
        auto* button = main.findChild<QPushButton*>(QString::fromLatin1(row.objectName));
        shoot(QString::fromLatin1(row.objectName).mid(3), [button] { button->click(); });
    }
    for (const char* action : {"DecompiledData", "Preferences", "About"}) {
        auto* a = main.findChild<QAction*>(QString::fromLatin1(action));
        shoot(QString::fromLatin1(action), [a] { a->trigger(); });
    }

    // The Edit menu open after an edit, with the whole screen round it.
    if (auto* sheetButton = main.findChild<QPushButton*>("cmdPropulsion")) {
        sheetButton->click();
        if (QDialog* sheet = main.OpenSheet()) {
            if (auto* box = sheet->findChild<QLineEdit*>("Value(1)")) box->setText("123");
            if (auto* okButton = sheet->findChild<QPushButton*>("cmdOK")) okButton->click();
        }
        Wait(300);
    }
    if (auto* edit = main.findChild<QMenu*>("Edit")) {
        main.activateWindow();
        edit->popup(main.mapToGlobal(QPoint(60, 0)));
        Wait(800);
        const QRect frame = main.frameGeometry().united(edit->geometry());
        const QPixmap shot = main.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(),
                                                       frame.height());
        ok = shot.save(out + "/editmenu" + suffix + ".png") && ok;
        edit->close();
    }

    // A ship written the way mods write them: Other Entries holds what no sheet shows, and the
    // Problems dock lists what needs looking at.
    main.OpenScript(QStringLiteral(TARVISK_EXAMPLES_DIR "/tvk_frigate.ship"));
    Wait(800);
    ok = Grab(main, out + "/Problems" + suffix + ".png") && ok;
    auto* entries = main.findChild<QAction*>(QStringLiteral("OtherEntries"));
    shoot(QStringLiteral("OtherEntries"), [entries] { entries->trigger(); });
    // A value the frigate writes as an expression, with what the game makes of it beside it.
    auto* propulsion = main.findChild<QPushButton*>(QStringLiteral("cmdPropulsion"));
    shoot(QStringLiteral("GameValue"), [propulsion] { propulsion->click(); });
    return ok ? 0 : 1;
}
