// frmClassification: the ship's ten family names, squadron size, unit caps and whether it is a
// military unit. The family boxes offer the names of the game's family list, scripts\familylist.lua
// in the data directory, and accept any typed name.
#pragma once

#include <QStringList>

#include <array>
#include <functional>

#include "propertysheet.h"

class frmClassification : public PropertySheet {
    Q_OBJECT
public:
    explicit frmClassification(frmFrontend& main);

    static constexpr int kFamilies = 10;
    static constexpr int kAvoidance = 3;        // its names are offered again by...
    static constexpr int kMinimumToAvoid = 8;   // ...the minimum family to avoid
    using FamilyChoices = std::array<QStringList, kFamilies>;

    // The choices of each family box from the lines of a family list. A line that mentions
    // "family" but starts with none of the ten section keys is handed to unknownSection.
    static FamilyChoices ReadFamilyList(const QStringList& lines,
                                        const std::function<void(const QString&)>& unknownSection);
};
