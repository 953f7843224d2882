// frmOtherEntries: the statements of the script that no other sheet or editor shows, one row each,
// with their values edited in place (a block as text in the box below the table), added and
// removed. Changes reach the document at once; OK keeps them, Cancel and the close box put the
// document back as it was when the sheet opened.
#pragma once

#include <QDialog>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "otherentries.h"
#include "steptext.h"

class Prompter;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class ShipDocument;
struct SheetContext;

// The factory the program hands the main window: null while no ship is open.
QDialog* CreateOtherEntries(const SheetContext& context);

class frmOtherEntries : public QDialog {
    Q_OBJECT
public:
    frmOtherEntries(ShipDocument& document, Prompter& prompter, QWidget* parent = nullptr);
    ~frmOtherEntries() override;

    // Selects the row of the statement whose first line reads `statement`, else the one on
    // `line`, and puts the focus in its value.
    Q_INVOKABLE void SelectStatement(const QString& statement, int line);

    void done(int result) override;

private:
    void Reload(std::size_t selectId = static_cast<std::size_t>(-1));
    void ApplyFilter();
    void ValueEdited(QTableWidgetItem* item);
    void RowChanged();
    bool StoreBlock();
    void cmdAdd_Click();
    void cmdRemove_Click();
    int SelectedRow() const;
    QString GameValueTip(const OtherEntries::Row& r) const;
    const OtherEntries::Row* RowAt(int tableRow) const;

    ShipDocument& document_;
    Prompter& prompter_;
    std::unique_ptr<SR2ShipFile> saved_;  // the document when the sheet opened
    std::vector<OtherEntries::Row> rows_;
    // What the game made of each row's value when the sheet opened (one run of the script): by
    // row id, the value as written then and the game's value.
    std::map<std::size_t, std::pair<std::string, std::string>> gameValues_;
    int blockRow_ = -1;                   // the table row whose block the box below holds
    bool filling_ = false;
    StepText steps_;                      // the adds, removes and edits, for the undo step's name

    QLineEdit* txtFilter_ = nullptr;
    QTableWidget* lstEntries_ = nullptr;
    QPlainTextEdit* txtBlock_ = nullptr;
    QLineEdit* txtNew_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdRemove_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};
