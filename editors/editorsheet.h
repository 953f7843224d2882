// EditorSheet: what the three list editors share. Each is a dialog beside the disabled main window
// that works on the main window's document, has a "Property Description" frame and OK / Cancel,
// and puts back what it changed when it is closed any way other than OK.
#pragma once

#include <QDialog>
#include <QHash>
#include <QString>

#include <memory>

#include "prompter.h"

#include "sheetcontext.h"
#include "steptext.h"

class QBoxLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class SR2ShipFile;

class EditorSheet : public QDialog {
    Q_OBJECT
public:
    ~EditorSheet() override;

    // Runs for every way of closing: OK (accept), Cancel, Escape and the close box (reject).
    void done(int result) override;

protected:
    // item and items name what the editor's list holds ("Weapon", "Weapons"), for the name of
    // the undo step its OK makes.
    EditorSheet(const SheetContext& context, const char* objectName, const QString& caption,
                const QString& item, const QString& items);

    const SheetContext& Context() const { return context_; }

    // The main window's document. The sheet buttons are disabled while there is none; should an
    // editor still be opened then, it works on an empty document of its own that nobody keeps.
    SR2ShipFile& Doc() const;

    // A message box of the program. Before the sheet is shown it belongs to the main window.
    void Message(const QString& text, MessageKind kind = MessageKind::Information);

    // Refuses a number text that does not convert: the property sheets' message, then the box
    // gets the focus with its text selected so the user can put it right at once.
    void Refuse(const QString& text, const QString& caption, QWidget* box);

    // A label with its text taken as plain text (captions such as "<Weapon>" are no markup) and
    // its control as buddy, so the caption names the control for screen readers.
    static QLabel* MakeLabel(const char* objectName, const QString& caption, QWidget* buddy,
                             QWidget* parent);

    // The "Property Description" frame holding the label Desc (created here, empty).
    QGroupBox* MakeDescriptionFrame();
    QLabel* Desc() const { return desc_; }

    // Shows `help` in Desc while the mouse enters `control` or the keyboard focus arrives in it;
    // the text stays until another control with a help text replaces it.
    void SetHelp(QWidget* control, const QString& help);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The OK / Cancel row, right-aligned. OK closes the sheet only when Store() agrees.
    QBoxLayout* MakeOkCancelRow();
    QPushButton* OkButton() const { return cmdOK_; }
    QPushButton* CancelButton() const { return cmdCancel_; }

    // Stores what the sheet still holds in its controls; false keeps the sheet open (the editor
    // has told the user why).
    virtual bool Store() { return true; }
    // Puts the document back as it was when the sheet opened (Cancel, Escape, close box).
    virtual void Restore() {}

    // Records an action that changed the document ("Add", "Remove", "Edit"): the undo step of
    // the OK is named after what was done ("Remove Weapon", "Add and Remove Weapons").
    void Did(const QString& action) { steps_.Did(action); }

    // Buttons of the editors act on click only: Return in a text box must not press one of them
    // and close the sheet or change a list by surprise.
    static void PlainButton(QPushButton* button);

private:
    void cmdOK_Click();

    SheetContext context_;
    StepText steps_;
    std::unique_ptr<SR2ShipFile> ownDoc_;
    QLabel* desc_ = nullptr;
    QHash<QObject*, QString> help_;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    bool closing_ = false;
};
