#include "choicelists.h"

#include <QComboBox>

namespace choicelists {

void OfferChoice(QComboBox* box, const QString& name, Qt::CaseSensitivity cs) {
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).compare(name, cs) == 0) return;
    // Adding the first choice would select it and replace the typed text.
    const QString typed = box->currentText();
    box->addItem(name);
    box->setEditText(typed);
}

void ShowChoice(QComboBox* box, const QString& name) {
    int index = box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        box->addItem(name);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

}  // namespace choicelists
