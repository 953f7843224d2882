// frmAbilities: which of the game's abilities the ship has, and their parameters. The sheet
// works on a copy of the ability fields taken on opening; only OK writes it to the document.
#pragma once

#include <QString>

#include <optional>
#include <vector>

#include "abilitytable.h"
#include "editorsheet.h"
#include "sr2shipfile.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

class frmAbilities : public EditorSheet {
    Q_OBJECT
public:
    static constexpr int kPanelRows = 8;

    explicit frmAbilities(const SheetContext& context);

protected:
    bool Store() override;

private:
    // One ability as the sheet holds it while it is open.
    struct Working {
        bool present = false;
        bool isActive = false;
        std::vector<FieldValue> values;             // per parameter of the table, in its type
        std::vector<std::optional<QString>> typed;  // number text typed into the panel, unchecked
    };

    void BuildControls();
    void LoadAbilities();
    void SaveAbilities(const std::vector<std::vector<FieldValue>>& checked);
    bool CheckTypedNumbers(std::vector<std::vector<FieldValue>>& checked);

    void ResetPanel();
    void ShowParameterPanel(int rows, bool firstRowIsFlag);
    void HideParameterPanel();
    void ShowAbility(int index);
    int ParamAtRow(int ability, int row) const;

    void lstCA_Click(int row);
    void cmdAdd_Click();
    void cmdRemove_Click();
    void Value_Edited(int row, const QString& text);

    std::vector<Working> work_;
    int shown_ = -1;        // the ability whose parameters the panel shows; -1 for none
    bool filling_ = false;  // the panel is being filled: its change signals are no edits

    QListWidget* lstCA = nullptr;
    QListWidget* lstPA = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QLabel* lblIsActive = nullptr;
    QComboBox* cboIsActive = nullptr;
    std::vector<QLabel*> PropLabel;
    std::vector<QLineEdit*> Value;
    QComboBox* cboBool = nullptr;
    QLabel* lblStringDropList = nullptr;
    QComboBox* cboDropList = nullptr;
    std::vector<QWidget*> familyControls_;  // the family panels and the order buttons
    QLabel* PermDesc = nullptr;
};
