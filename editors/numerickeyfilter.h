// NumericKeyFilter: keeps the salvage editor's number boxes to digits and one decimal point.
// Every character typed into a watched box goes through modValueChecking::FilterNumericKey with
// the box's text before the key; a character the filter drops is not typed.
#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;

class NumericKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit NumericKeyFilter(QObject* parent = nullptr) : QObject(parent) {}

    void Watch(QLineEdit* box);

    // True when the key press reaches the box unchanged: keys that move the caret, edit or
    // leave the box (arrows, Home, End, Delete, Tab, Escape, Return, ...) and the standard
    // editing shortcuts (copy, cut, paste, undo, redo, select all) are not typed characters.
    // Pasted text is checked when the box is stored, as any other text is.
    static bool PassesUnfiltered(const QKeyEvent& key);

    // The filter's verdict on the characters of a key typed into a box holding text.
    static bool Accepts(const QString& text, const QString& typed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
