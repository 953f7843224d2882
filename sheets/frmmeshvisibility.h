// frmMeshVisibility: when and how the ship's mesh is drawn and selected, and its levels of detail.
// The LOD frame's list chooses one of the three levels; its Up and Down boxes edit that level's
// iUpLODn and iDownLODn, kept per level while the sheet is open and stored on OK.
#pragma once

#include <QString>

#include <array>

#include "propertysheet.h"

class QLineEdit;
class QListWidget;

class frmMeshVisibility : public PropertySheet {
    Q_OBJECT
public:
    explicit frmMeshVisibility(const SheetContext& context);

    static constexpr int kLevels = 3;

private:
    void LoadOwn() override;
    void CollectOwn(std::vector<PendingStore>& stores) override;
    void List1_Click(int level);
    void KeepShownLevel();

    QListWidget* List1_ = nullptr;
    QLineEdit* txtUPLOD_ = nullptr;
    QLineEdit* txtDOWNLOD_ = nullptr;
    std::array<QString, kLevels> up_, down_;  // the texts of each level as edited so far
    int shownLevel_ = -1;
};
