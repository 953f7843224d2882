#include "numerickeyfilter.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

#include <array>

#include "modvaluechecking.h"
#include "textconv.h"

namespace {

constexpr std::array kMovingKeys{
    Qt::Key_Left,  Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Home,
    Qt::Key_End,   Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Delete, Qt::Key_Insert,
    Qt::Key_Tab,   Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter,
};

constexpr std::array kEditingShortcuts{
    QKeySequence::Copy, QKeySequence::Cut,  QKeySequence::Paste,
    QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll,
};

// The character code the filter is given: the character itself, or one it surely drops when the
// character lies beyond the filter's 16-bit codes.
std::int16_t KeyCode(QChar c) {
    const char16_t u = c.unicode();
    return u <= 0x7FFF ? static_cast<std::int16_t>(u) : std::int16_t{0x7FFF};
}

}  // namespace

void NumericKeyFilter::Watch(QLineEdit* box) { box->installEventFilter(this); }

bool NumericKeyFilter::PassesUnfiltered(const QKeyEvent& key) {
    for (Qt::Key k : kMovingKeys)
        if (key.key() == k) return true;
    if (key.key() >= Qt::Key_F1 && key.key() <= Qt::Key_F35) return true;
    for (QKeySequence::StandardKey s : kEditingShortcuts)
        if (key.matches(s)) return true;
    return false;
}

bool NumericKeyFilter::Accepts(const QString& text, const QString& typed) {
    std::string before = ToLocal(text);
    for (QChar c : typed) {
        if (modValueChecking::FilterNumericKey(before, KeyCode(c)) == 0) return false;
        before += ToLocal(QString(c));
    }
    return true;
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (PassesUnfiltered(key)) return false;
    // Backspace is a character of its own for the filter (code 8), whatever text the platform
    // gives the key.
    const QString typed = key.key() == Qt::Key_Backspace ? QString(QChar(8)) : key.text();
    if (typed.isEmpty()) return false;  // a modifier alone types nothing
    if (Accepts(box->text(), typed)) return false;
    return true;  // dropped: nothing is typed
}
