// The names the game ships with, offered before anything found in the data directory.
#pragma once

#include <QStringList>

namespace builtinnames {

// The game's standard weapons, in the order the weapons editor offers them (94 names).
const QStringList& Weapons();

// The game's standard salvage chunks, in the order the salvage editor offers them (18 names).
const QStringList& SalvageChunks();

}  // namespace builtinnames
