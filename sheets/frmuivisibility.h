// frmUIVisibility: how the ship appears in the user interface: health bar style, tactical-overlay
// icon and scales, and the distances at which the overlay fades and disappears.
#pragma once

#include "propertysheet.h"

class frmUIVisibility : public PropertySheet {
    Q_OBJECT
public:
    explicit frmUIVisibility(const SheetContext& context);
};
