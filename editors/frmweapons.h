// frmWeapons: the ship's weapon list. Add, Remove and Apply change the document at once; the
// list as it was on opening is put back on Cancel, Escape or the close box, and kept on OK.
#pragma once

#include <QStringList>

#include "editorsheet.h"
#include "sr2shipfile.h"

class QComboBox;
class QListWidget;
class QListWidgetItem;

class frmWeapons : public EditorSheet {
    Q_OBJECT
public:
    explicit frmWeapons(const SheetContext& context);

protected:
    void Restore() override;

private:
    void BuildControls();
    void RefreshWeaponLists();
    void StoreSelectedWeapon();
    void ShowEntry(int row);
    int SelectedRow() const;

    void lstWeapons_Click(int row);
    void cmdApply_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();

    // The weapon list as it was when the sheet opened, kept lines included.
    SR2ShipFile::WeaponList SavedWeapons;
    QStringList weaponNames_;  // the weapon choices, read once per opening

    QListWidget* lstWeapons = nullptr;
    QComboBox* cboWeapon = nullptr;
    QComboBox* cboHardPoint = nullptr;
    QComboBox* cboFiringEffect = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
};
