// frmClassification: the ship's ten family names, squadron size, unit caps and whether it is a
// military unit. The family boxes offer the names of the game's family list, scripts\familylist.lua
// in the data directory, and accept any typed name.
#pragma once

#include "propertysheet.h"

class frmClassification : public PropertySheet {
    Q_OBJECT
public:
    explicit frmClassification(const SheetContext& context);
};
