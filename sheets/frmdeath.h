// frmDeath: how the ship dies and fades.
#pragma once

#include "propertysheet.h"

class frmDeath : public PropertySheet {
    Q_OBJECT
public:
    explicit frmDeath(const SheetContext& context);
};
