// frmPropulsion: the ship's speeds, acceleration and braking times and turning values.
#pragma once

#include "propertysheet.h"

class frmPropulsion : public PropertySheet {
    Q_OBJECT
public:
    explicit frmPropulsion(const SheetContext& context);
};
