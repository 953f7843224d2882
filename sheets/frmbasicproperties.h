// frmBasicProperties: the ship's name, description, build values, mass, health and armour.
#pragma once

#include "propertysheet.h"

class frmBasicProperties : public PropertySheet {
    Q_OBJECT
public:
    explicit frmBasicProperties(const SheetContext& context);
};
