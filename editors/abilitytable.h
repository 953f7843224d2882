// The abilities the abilities editor knows, in the order it lists them (the document's ability
// table), with the document fields it reads and writes and where the parameter panel shows each
// parameter.
#pragma once

#include <span>

namespace abilities {

enum class ParamKind { Flag, Real, Int32, String };

struct Param {
    const char* field;
    ParamKind kind;
    int row;              // panel row (0 to 7); -1 for the string row of cboDropList
    const char* caption;  // the label's caption, colon included
};

// What selecting the ability in the current list shows.
enum class Panel {
    Nothing,      // no arguments: nothing is shown
    Parameters,   // the is-active box and the parameter rows
    NotEditable,  // the mandatory abilities whose data this sheet does not edit
};

struct ListedAbility {
    const char* name;      // the list text
    const char* presence;  // the b... field
    const char* isActive;  // nullptr when the ability has none
    std::span<const Param> params;
    Panel panel;

    bool Mandatory() const { return panel == Panel::NotEditable; }
    // Rows of the panel: every parameter but the string one.
    int RowCount() const;
    // True when row 0 holds the True/False box cboBool instead of Value(0).
    bool FirstRowIsFlag() const;
};

// The 27 abilities, in list order; the last four are the mandatory ones.
std::span<const ListedAbility> Table();

// The index of the ability listed as name; -1 for a name that is none of them.
int IndexOf(const char* name);

}  // namespace abilities
