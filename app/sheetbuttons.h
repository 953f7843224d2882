// The program's table of sheet buttons, handed to the main window by main.
#pragma once

#include <span>

#include "sheetbutton.h"

// The fifteen sheet buttons, in the order of the main window's layout.
std::span<const SheetButton> SheetButtons();
