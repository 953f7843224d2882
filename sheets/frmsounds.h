// frmSounds: shows the ship's sound patch list, the directory of its sound effects and one line
// per patch item as the script writes it. A viewer: OK and Cancel both only close it.
#pragma once

#include "propertysheet.h"

class QLineEdit;
class QListWidget;

class frmSounds : public PropertySheet {
    Q_OBJECT
public:
    explicit frmSounds(frmFrontend& main);

private:
    void LoadOwn() override;

    QLineEdit* txtDirectory_ = nullptr;
    QListWidget* lstPatches_ = nullptr;
};
