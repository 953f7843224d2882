// Factories of the list editors, for the program's table of sheet buttons.
#pragma once

#include "sheetbutton.h"

QDialog* CreateWeapons(frmFrontend& main);
QDialog* CreateSalvageChunks(frmFrontend& main);
QDialog* CreateAbilities(frmFrontend& main);
