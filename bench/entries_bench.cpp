// Other Entries on a long script, and how much of a script the editor shows, offscreen.
//
//   entries_bench SCRIPT...
//
// For each script: the share of its non-comment lines that a sheet, a list editor or Other Entries
// shows and edits. The StartShipConfig line is the ship itself, no entry of it: it is not counted
// either way. Then the
// opening of Other Entries on a script of 1,000 lines made from the first script's statements,
// from the menu command to the laid-out sheet, by wall time over 20 openings (the first told apart).
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "frmfrontend.h"
#include "gamevalues.h"
#include "otherentries.h"
#include "propertysheet.h"
#include "prompter.h"
#include "scriptedprompter.h"
#include "sheetcontext.h"
#include "sheetbuttons.h"
#include "textconv.h"

namespace {

void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg) std::abort();
}

QStringList LinesOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    // Cut as the reader cuts a script: after LF, CR LF or a CR alone (old Mac files).
    QString text = QString::fromLocal8Bit(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace('\r', '\n');
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: entries_bench SCRIPT...\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietHandler);
    QApplication app(argc, argv);
    QTemporaryDir temp;
    QSettings settings(temp.filePath("settings.ini"), QSettings::IniFormat);
    ScriptedPrompter prompter;
    frmFrontend main(SheetButtons(), &prompter, &settings, temp.path());
    main.show();

    // The fields each sheet shows, from the sheets themselves.
    std::map<std::string, bool> inSheet;
    main.NewDocument();
    for (const SheetButton& row : SheetButtons()) {
        if (!row.factory) continue;
        std::unique_ptr<QDialog> sheet(row.factory(SheetContext{main.Session(), &prompter, QString(), &main}));
        if (auto* p = qobject_cast<PropertySheet*>(sheet.get()))
            for (const auto& f : p->FieldNames()) inSheet[f] = true;
    }

    using Kind = SR2ShipFile::LineOrigin::Kind;
    long allLines = 0, allShown = 0;
    for (int a = 1; a < argc; ++a) {
        main.OpenScript(QString::fromLocal8Bit(argv[a]));
        ShipDocument* doc = main.Document();
        if (!doc) {
            std::fprintf(stderr, "entries_bench: '%s' could not be opened\n", argv[a]);
            return 1;
        }
        const QStringList lines = LinesOf(QString::fromLocal8Bit(argv[a]));
        // 1 shown and editable, 0 not, -1 not counted (the StartShipConfig line).
        std::vector<int> shown(static_cast<std::size_t>(lines.size()), 0);
        for (const auto& o : doc->LineOrigins()) {
            int edits = o.kind == Kind::StartShipConfig ? -1 : 1;
            if (o.kind == Kind::Assignment || o.kind == Kind::SharedModel) {
                const std::string field = SR2ShipFile::Fields()[o.target].name;
                // The mirror lists and level-of-detail slots are edited by Misc and Mesh Visibility,
                // the known entries no sheet shows by Other Entries.
                edits = inSheet.count(field) || field == "MAM_Num" || field == "MBM_Num" ||
                        OtherEntries::HoldsField(o.target);
            }
            for (std::size_t l = o.first; l <= o.last && l < shown.size(); ++l) shown[l] = edits;
        }
        long n = 0, s = 0;
        std::vector<QString> missed;
        QString longCommentEnd;  // while inside a --[[ ]] comment: what closes it
        for (int i = 0; i < lines.size(); ++i) {
            const QString t = lines[i].trimmed();
            if (!longCommentEnd.isEmpty()) {
                if (t.contains(longCommentEnd)) longCommentEnd.clear();
                continue;
            }
            static const QRegularExpression opens(QStringLiteral("^--\\[(=*)\\["));
            if (const auto m = opens.match(t); m.hasMatch()) {
                const QString end = "]" + m.captured(1) + "]";
                if (!t.mid(m.capturedLength()).contains(end)) longCommentEnd = end;
                continue;
            }
            if (t.isEmpty() || t.startsWith("--") || shown[static_cast<std::size_t>(i)] < 0) continue;
            ++n;
            if (shown[static_cast<std::size_t>(i)] > 0) ++s;
            else missed.push_back(QString::number(i + 1) + ": " + lines[i]);
        }
        allLines += n;
        allShown += s;
        std::printf("%s: %ld of %ld non-comment lines shown and editable (%.1f%%)\n", argv[a], s, n,
                    n ? 100.0 * s / n : 100.0);
        for (const QString& m : missed) std::printf("  not: %s\n", qPrintable(m.left(100)));
    }
    std::printf("all: %ld of %ld (%.1f%%)\n", allShown, allLines, allLines ? 100.0 * allShown / allLines : 100.0);

    // A script of 1,000 lines from the first script's statements, repeated.
    const QStringList source = LinesOf(QString::fromLocal8Bit(argv[1]));
    QStringList body;
    for (const QString& l : source)
        if (!l.trimmed().isEmpty() && !l.startsWith("--") && !l.contains("StartShipConfig")) body << l;
    QByteArray big = "NewShipType = StartShipConfig()\r\n";
    for (int i = 1; i < 1000 && !body.isEmpty(); ++i) big += body[(i - 1) % body.size()].toLocal8Bit() + "\r\n";
    const QString bigPath = temp.filePath("long.ship");
    QFile out(bigPath);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    out.write(big);
    out.close();
    main.OpenScript(bigPath);
    // The main window is drawn before the user can ask for the sheet: not part of its time.
    QApplication::processEvents();

    QAction* action = main.findChild<QAction*>("OtherEntries");
    std::vector<double> ms;
    for (int run = 0; run < 20; ++run) {
        QElapsedTimer timer;
        timer.start();
        action->trigger();
        QApplication::processEvents();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (QDialog* sheet = main.OpenSheet()) sheet->reject();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    // The part of an opening that runs the script in the game's Lua (one run).
    std::vector<double> lua;
    for (int run = 0; run < 20; ++run) {
        QElapsedTimer timer;
        timer.start();
        const GameValues values(*main.Document());
        lua.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!values.Known()) break;
    }
    std::sort(lua.begin(), lua.end());
    std::printf("the game's reading of those 1,000 lines: median %.2f ms, max %.2f ms\n", lua[lua.size() / 2],
                lua.back());

    // The first opening also loads what any first dialog loads (styles, fonts): told apart.
    const double first = ms.front();
    ms.erase(ms.begin());
    std::sort(ms.begin(), ms.end());
    std::printf("Other Entries on 1,000 lines: first %.1f ms; then min %.1f ms, median %.1f ms, max %.1f ms "
                "(%zu openings)\n", first, ms.front(), ms[ms.size() / 2], ms.back(), ms.size());
    return 0;
}
