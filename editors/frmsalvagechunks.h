// frmSalvageChunks: the chunks the ship leaves behind when it dies. Add and Remove change the
// document at once; the values of the chunk shown are stored when another chunk is chosen or on
// OK; Cancel, Escape and the close box put the whole list back as it was on opening.
#pragma once

#include <QHash>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "editorsheet.h"
#include "sr2shipfile.h"

class NumericKeyFilter;
class PlacementBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QScrollBar;

class frmSalvageChunks : public EditorSheet {
    Q_OBJECT
public:
    explicit frmSalvageChunks(const SheetContext& context);

    std::int16_t CurrentChunkIndex() const { return CurrentChunk; }
    std::int32_t PlacementScaleInUse() const { return PlacementScale; }

protected:
    bool Store() override;
    void Restore() override;

private:
    // A box bound to a document field, in the order the values are stored.
    struct Bound {
        QLineEdit* box;
        std::string field;
        double shownTimes;  // the box shows the field times this (100 for the percentage)
        QString caption;    // as the refusal message names the box
    };

    void BuildControls();
    void RefreshChunkList();
    void ShowChunkValues(int index);
    bool StoreChunkValues(int index);
    void SetChunkControlsEnabled(bool enabled);
    void ScaleAndMark();

    void lstChunks_Click(int row);
    void cmdAdd_Click();
    void cmdRemove_Click();
    void PlacementBox_Placed(double x, double y);
    void scrHeight_Dragged(int value);

    // The salvage list as it was when the sheet opened, kept lines included.
    SR2ShipFile::SalvageList SavedChunks;
    std::int16_t CurrentChunk = -1;
    std::int32_t PlacementScale = 10;

    std::vector<Bound> bound_;
    QHash<QLineEdit*, QString> shownText_;  // what each box showed when the chunk was shown

    QListWidget* lstChunks = nullptr;
    QComboBox* cboChunkNames = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    std::vector<QLabel*> PropLabel;
    std::vector<QLineEdit*> Value;
    std::vector<QLineEdit*> txtPosition, txtRotation, txtVelocity;
    std::vector<QGroupBox*> frames_;
    ::PlacementBox* placementBox_ = nullptr;
    QComboBox* GraphScale = nullptr;
    QScrollBar* scrHeight = nullptr;
    NumericKeyFilter* keyFilter_ = nullptr;
};
