#include "frmformationsandmovement.h"

#include "datadirnames.h"

namespace {

constexpr SheetRow kRows[] = {
    {RowKind::Choice, "cboFormation(0)", "Passive Formation ", "sPassiveFormation"},
    {RowKind::Choice, "cboFormation(1)", "Defensive Formation ", "sDefensiveFormation"},
    {RowKind::Choice, "cboFormation(2)", "Aggressive Formation ", "sAggressiveFormation"},
    {RowKind::Text, "Value(0)", "Formation Spacing (m) ", "iFormationSpacing"},
    {RowKind::Text, "Value(1)", "Max Banking Amount ", "iMaxBankingAmount"},
    {RowKind::Text, "Value(2)", "Descend Pitch ", "iDescendPitch"},
    {RowKind::Text, "Value(3)", "Goal Reach Distance (m) ", "iGoalReachEpsilon"},
    {RowKind::Text, "Value(4)", "Slide Movement Range ", "iSlideMoveRange"},
    {RowKind::Text, "Value(5)", "Relative Move Factor ", "iRelativeMoveFactor"},
    {RowKind::Text, "Value(6)", "Collision Multiplier ", "iCollisionMultiplier"},
};

}  // namespace

frmFormationsAndMovement::frmFormationsAndMovement(const SheetContext& context)
    : PropertySheet(context, "frmFormationsAndMovement", "Formations & Movement", kRows) {
    SetChoices(0, datadir::FormationChoices(context));
    FormLoad();
}
