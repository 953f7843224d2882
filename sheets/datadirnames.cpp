#include "datadirnames.h"

#include <QDir>

#include "customfso.h"
#include "sheetcontext.h"
#include "shipsession.h"

namespace datadir {

QString Path(const SheetContext& context, std::string_view tail) {
    return QString::fromStdString(
        CustomFSO::NativePath(context.dataDir.toStdString() + std::string(tail)));
}

gamedata::GameData Read(const SheetContext& context, unsigned parts) {
    return gamedata::GameData::Read(context.dataDir.toStdString(), parts);
}

QStringList FromFileNames(const std::vector<std::string>& names) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names)
        list << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    return list;
}

QStringList FromFolderNames(const std::vector<std::string>& names) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names)
        list << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return list;
}

QStringList FormationChoices(const SheetContext& context) {
    return FromFolderNames(Read(context, gamedata::kFormations).formations.Names());
}

QString UnreadableMessage(const QString& path, const std::string& error) {
    return "The file '" + QDir::toNativeSeparators(path) + "' could not be read (" +
           QString::fromStdString(error) + "); its names are not offered.";
}

}  // namespace datadir
