// frmSounds: the ship's sound patch list, the directory of its sound effects and one line per patch
// item as the script writes it. Selecting a line shows its item in the three boxes below; Apply,
// Add and Remove change the document's list at once, as the weapons editor does. OK stores the
// directory and keeps the list; Cancel, Escape and the close box put the list back as it was.
#pragma once

#include "propertysheet.h"
#include "sr2shipfile.h"

#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;

class frmSounds : public PropertySheet {
    Q_OBJECT
public:
    explicit frmSounds(const SheetContext& context);

    void done(int result) override;

private:
    void LoadOwn() override;
    void CollectOwn(std::vector<PendingStore>& stores) override;

    void RefreshPatchList();
    int SelectedRow() const;
    // The three item boxes as the document's current patch item; false (and a message) when the
    // value is no 32-bit number.
    bool TakeItemBoxes();

    void lstPatches_Click(int row);
    void cmdApply_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();

    // The list as it was when the sheet opened, directory and the line as read included.
    std::optional<SR2ShipFile::PatchListCopy> SavedPatches;

    QLineEdit* txtDirectory_ = nullptr;
    QListWidget* lstPatches_ = nullptr;
    QLineEdit* txtUnknownValue_ = nullptr;
    QLineEdit* txtEffect_ = nullptr;
    QLineEdit* txtMarker_ = nullptr;
    QPushButton* cmdApply_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdRemove_ = nullptr;
};
