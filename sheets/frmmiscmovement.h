// frmMiscMovement: idle tumbling and swaying, whether the ship can be transferred, and the two
// mirror manoeuvre lists (the manoeuvres flown when mirroring above or below another ship). The
// manoeuvre boxes offer the built-in manoeuvres and those of scripts\flightmaneuvers.lua in the
// data directory; "==>" adds the chosen one to its list and "X" removes the selected entry.
#pragma once

#include <QStringList>

#include <array>

#include "propertysheet.h"

class QComboBox;
class QListWidget;
class QPushButton;

class frmMiscMovement : public PropertySheet {
    Q_OBJECT
public:
    explicit frmMiscMovement(const SheetContext& context);

private:
    static constexpr int kAbove = 0, kBelow = 1;

    void LoadOwn() override;
    void StoreOwn() override;
    void cmdAdd_Click(int index);
    void cmdDelete_Click(int index);

    std::array<QComboBox*, 2> cboMirrorManeuver_{};
    std::array<QListWidget*, 2> lstMirror_{};
};
