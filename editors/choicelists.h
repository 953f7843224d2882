// The small rules of the list editors for offering and showing names in combo boxes.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

namespace choicelists {

// Offers name as a further choice of an editable box unless a choice equal under cs is there.
// The text standing in the box is kept.
void OfferChoice(QComboBox* box, const QString& name, Qt::CaseSensitivity cs);

// Shows name in a closed drop-down list. A name that is none of its choices (exactly) becomes
// its last choice, so a stored name is always shown and never lost.
void ShowChoice(QComboBox* box, const QString& name);

}  // namespace choicelists
