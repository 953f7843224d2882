// StepText: the name of the one undo step that a dialog's OK makes of everything it did while it
// was open ("Remove Weapon", "Add 2 Weapons", "Add and Remove Weapons"). A dialog that only sets
// values leaves the step its own name ("Propulsion"); one whose buttons do different things says
// which of them it did, so that Undo says what it will take back.
#pragma once

#include <QString>
#include <QStringList>

class QObject;

// The dynamic property under which a dialog offers the name of its step; empty or missing: the
// step is named after the dialog.
inline constexpr char kStepTextProperty[] = "stepText";

class StepText {
public:
    // thing and things: what the dialog's actions work on, once and more than once ("Weapon",
    // "Weapons"). Each action puts the name into the dialog's kStepTextProperty.
    StepText(QObject* dialog, QString thing, QString things);

    // Records one action that changed the document ("Add", "Remove", "Edit").
    void Did(const QString& action);

    // One action: "Remove Weapon", or "Remove 3 Weapons" when done several times. Different
    // actions: each named once, in the order first done ("Add, Edit and Remove Weapons"). Empty
    // while nothing was done.
    QString Text() const;

private:
    QObject* dialog_;
    QString thing_;
    QString things_;
    QStringList actions_;  // the different actions, in the order first done
    int count_ = 0;        // actions done in all
};
