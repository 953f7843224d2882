// PropertySheet: the one pattern behind every scalar property sheet.
//
// A sheet is a table of rows. Each row names its control, its label caption, the document field
// it edits and, where there is one, the help text shown in the description frame when the mouse
// or the keyboard focus arrives in the control. The sheet reads each field by name when it opens
// and stores every row on OK; Cancel, Escape and the close box store nothing. A sheet class
// writes its table and only what is its own (choice lists, extra controls) through the hooks below.
#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "gamevalues.h"
#include "sheetcontext.h"
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class SR2ShipFile;

enum class RowKind {
    Text,            // a text box; the field's type converts the text
    Choice,          // a closed drop-down of names; its text is the chosen name
    EditableChoice,  // a combo box that offers names and accepts any typed text
    TrueFalse,       // a closed drop-down "False" (0) / "True" (1) editing a number field
    Triple,          // three text boxes <object>_X/_Y/_Z editing <field>X/Y/Z under an X Y Z header
};

struct SheetRow {
    RowKind kind;
    const char* object;         // the control's object name (Triple: the prefix of the three)
    const char* caption;        // label caption as shown, trailing blank included
    const char* field;          // document field (Triple: the prefix of the three)
    const char* help = nullptr; // text for the description frame; null when the row has none
    int frame = 0;              // 0: the sheet's body; n: the n-th entry of the sheet's frames
    int list = 0;               // Choice and EditableChoice: which choice list feeds the box
};

struct SheetFrame {
    const char* object;
    const char* caption;
};

class PropertySheet : public QDialog {
    Q_OBJECT
public:
    // The captions of the True/False drop-downs, index 0 and 1.
    static const QStringList& FalseTrue();

protected:
    // Builds the labels, boxes, description frame and buttons of the table. The sheet class then
    // fills its choice lists and adds its own controls, and calls FormLoad() last.
    PropertySheet(const SheetContext& context, const char* objectName, const QString& windowCaption,
                  std::span<const SheetRow> rows, std::span<const SheetFrame> frames = {});

    // Completes the tab order (rows, then the controls handed to AddToTabChain, then OK and
    // Cancel), sizes the description frame for the longest help text and loads the values.
    void FormLoad();

    // A field to store on OK: checked with the reader's conversion before anything is stored.
    struct PendingStore {
        std::string field;
        QString text;
        QWidget* box;                  // focused when the text is refused
        QString caption;               // as in the label, trailing blank included
        std::function<void()> reveal;  // brings the box into view first (may be empty)
    };

    // Hooks for what is a sheet's own. LoadOwn runs after the rows are shown; CollectOwn adds
    // further fields to check and store; StoreOwn runs after every field was stored.
    virtual void LoadOwn() {}
    virtual void CollectOwn(std::vector<PendingStore>&) {}
    virtual void StoreOwn() {}

    // The choice list `list` for every Choice or EditableChoice row that uses it.
    void SetChoices(int list, const QStringList& names);

    // The document's value of `field` as shown in a box; remembered so that OK leaves a field
    // alone when its text was not changed (a real keeps all its digits that way).
    QString LoadText(const std::string& field);
    // What the game makes of a field's line kept as written ("86.9"), as shown beside its box
    // ("= 86.9") and in its tooltip; empty when that is not known (no Lua, a script that does not
    // run). The script is run once, when the sheet first asks.
    QString GameValueText(const std::string& field);
    // Sets a box's text with its beginning in view.
    static void ShowText(QLineEdit* box, const QString& text);

    // Layout places for a sheet's own controls: the grid of the body or of frame n (label in
    // column 0, boxes in columns 1 to 3), and the next free row of that grid.
    QGridLayout* Grid(int frame);
    int NextGridRow(int frame);
    void AddToTabChain(QWidget* w) { ownTabChain_.push_back(w); }
    void SetHelp(QWidget* box, const QString& help);
    bool eventFilter(QObject* watched, QEvent* event) override;

    const SheetContext& Context() const { return context_; }
    SR2ShipFile& Doc() const;
    QWidget* Control(const QString& objectName) const;

public:
    // Whether a box of this sheet edits `field` (a row's, or one of the sheet's own controls);
    // FocusField gives that box the keyboard focus.
    bool HoldsField(const std::string& field) { return BoxOf(field) != nullptr; }
    bool FocusField(const std::string& field);
    std::vector<std::string> FieldNames();
    // The same for the main window, which knows sheets only as dialogs.
    Q_INVOKABLE QStringList FieldList();
    Q_INVOKABLE bool FocusFieldNamed(const QString& field) { return FocusField(field.toStdString()); }

private:
    QWidget* BoxOf(const std::string& field);

private:
    struct BuiltRow {
        SheetRow row;
        std::vector<QWidget*> boxes;  // one, or three for a Triple
        QLabel* label;
        int gridRow = 0;
    };

    void BuildRow(int index, const SheetRow& row);
    QGroupBox* FrameBox(int frame);
    void LoadSheet();
    bool SaveSheet();
    void cmdOK_Click();
    void SizeDescription();
    void AlignLabelColumns();
    void ShowGameValue(const BuiltRow& built, const std::vector<QString>& values);

    SheetContext context_;
    std::vector<SheetFrame> frames_;
    std::vector<BuiltRow> rows_;
    QHash<QWidget*, QString> help_;
    QHash<QString, QString> loadedText_;  // field -> text shown at opening
    std::optional<GameValues> gameValues_;
    std::vector<QWidget*> ownTabChain_;

    QVBoxLayout* body_ = nullptr;
    std::vector<QGridLayout*> grids_;     // index 0: body; n: frame n
    std::vector<QGroupBox*> frameBoxes_;  // index n - 1: frame n
    std::vector<int> gridRows_;
    std::vector<bool> hasAxisHeader_;
    QGroupBox* descriptionFrame_ = nullptr;
    QLabel* desc_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};
