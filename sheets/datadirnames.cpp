#include "datadirnames.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

#include "customfso.h"
#include "frmfrontend.h"
#include "textconv.h"

namespace datadir {

QString Path(const frmFrontend& main, const char* tail) {
    return FromLocal(CustomFSO::NativePath(ToLocal(main.strDataDir) + tail));
}

void MergeNames(QStringList& into, const QStringList& found) {
    for (const QString& name : found) {
        const QString lower = name.toLower();
        const bool known = std::any_of(into.cbegin(), into.cend(), [&](const QString& entry) {
            return entry.toLower() == lower;
        });
        if (!known) into << name;
    }
}

const QStringList& BuiltInFormations() {
    static const QStringList names{
        "2x2_wall", "bevelledwall", "broad", "charging_wall", "claw", "delta", "dockline",
        "dockqueue", "dummy_parade", "hgn_carrier_parade", "hgn_chimera_parade",
        "hgn_mothership_parade", "kpr_destroyer_parade", "kpr_sajuuk_parade",
        "meg_veilchunk_parade", "n_delta", "scatterdelta", "scatterdelta_long", "scatternarrow",
        "scatterwide", "spear", "staggered_wall", "vgr_carrier_parade",
        "vgr_hyperspace_platform", "vgr_mothership_parade", "x"};
    return names;
}

std::optional<QString> FormationName(const QString& fileName) {
    if (fileName.size() < 4 || fileName.right(4).toLower() != ".lua") return std::nullopt;
    return fileName.left(fileName.size() - 4);
}

QStringList FormationsInFolder(const QString& folder) {
    QStringList names;
    const QDir dir(folder);
    if (!dir.exists()) return names;
    // Files only: no folders, no hidden or system entries. Name order is what the usual Windows
    // file system returns, and keeps the list the same from one opening to the next.
    const QStringList files =
        dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files)
        if (auto name = FormationName(file)) names << *name;
    return names;
}

QStringList FormationChoices(const frmFrontend& main) {
    QStringList names = BuiltInFormations();
    MergeNames(names, FormationsInFolder(Path(main, "\\scripts\\formations\\")));
    return names;
}

TextLines ReadTextLines(const QString& path) {
    TextLines result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    const QString text = QString::fromLatin1(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    result.lines = text.split(lineEnd);
    // A line end after the last line starts no further line.
    if (!result.lines.isEmpty() && result.lines.back().isEmpty()) result.lines.removeLast();
    result.ok = true;
    return result;
}

QString UnreadableMessage(const QString& path, const QString& error) {
    return "The file '" + QDir::toNativeSeparators(path) + "' could not be read (" + error +
           "); its names are not offered.";
}

bool IsNameLine(const QString& line) {
    return line.contains(QLatin1String("name = "), Qt::CaseInsensitive);
}

std::optional<QString> QuotedName(const QString& line) {
    const qsizetype first = line.indexOf('"');
    if (first < 0) return std::nullopt;
    const qsizetype second = line.indexOf('"', first + 1);
    if (second < 0) return std::nullopt;
    return line.mid(first + 1, second - first - 1);
}

}  // namespace datadir
