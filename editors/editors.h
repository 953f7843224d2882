// Factories of the list editors, for the program's table of sheet buttons.
#pragma once

#include "sheetbutton.h"

QDialog* CreateWeapons(const SheetContext& context);
QDialog* CreateSalvageChunks(const SheetContext& context);
QDialog* CreateAbilities(const SheetContext& context);
