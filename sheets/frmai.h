// frmAI: the eight values by which the game's computer player weighs the ship. The total is a
// value of its own, neither computed from the other seven nor checked against them.
#pragma once

#include "propertysheet.h"

class frmAI : public PropertySheet {
    Q_OBJECT
public:
    explicit frmAI(const SheetContext& context);
};
