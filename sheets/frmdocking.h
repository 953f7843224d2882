// frmDocking: how ships dock with and launch from this ship: formations, timing, group size and
// whether the race is ignored.
#pragma once

#include "propertysheet.h"

class frmDocking : public PropertySheet {
    Q_OBJECT
public:
    explicit frmDocking(const SheetContext& context);
};
