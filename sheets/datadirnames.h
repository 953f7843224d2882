// The windows' side of the game's data directory: its names (read by the gamedata library) as
// Qt strings, and the paths shown in messages.
#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "gamedata.h"

struct SheetContext;

namespace datadir {

// The data directory followed by a tail such as "\scripts\formations\", with the platform's
// separators.
QString Path(const SheetContext& context, std::string_view tail);

// Reads the parts asked for (gamedata::Parts) from the main window's data directory.
gamedata::GameData Read(const SheetContext& context, unsigned parts);

// Names read from files are their bytes, one character per byte; names of folder entries and the
// built-in names are UTF-8.
QStringList FromFileNames(const std::vector<std::string>& names);
QStringList FromFolderNames(const std::vector<std::string>& names);

// The built-in formations merged with those of the data directory's formations folder.
QStringList FormationChoices(const SheetContext& context);

// The message for a data file that exists but cannot be read.
QString UnreadableMessage(const QString& path, const std::string& error);

}  // namespace datadir
