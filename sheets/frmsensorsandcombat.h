// frmSensorsAndCombat: the ship's sensor ranges and its engagement and retaliation values.
#pragma once

#include "propertysheet.h"

class frmSensorsAndCombat : public PropertySheet {
    Q_OBJECT
public:
    explicit frmSensorsAndCombat(const SheetContext& context);
};
