// frmFormationsAndMovement: the passive, defensive and aggressive formations, the formation
// spacing and six movement values. The formation boxes offer the built-in formations and those of
// the data directory's formations folder.
#pragma once

#include "propertysheet.h"

class frmFormationsAndMovement : public PropertySheet {
    Q_OBJECT
public:
    explicit frmFormationsAndMovement(const SheetContext& context);
};
