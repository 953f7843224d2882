#include "frmai.h"

namespace {

constexpr SheetRow kRows[] = {
    {RowKind::Text, "Value(0)", "Fighter Value ", "iFighterValue"},
    {RowKind::Text, "Value(1)", "Corvette Value ", "iCorvetteValue"},
    {RowKind::Text, "Value(2)", "Frigate Value ", "iFrigateValue"},
    {RowKind::Text, "Value(3)", "Neutral Value ", "iNeutralValue"},
    {RowKind::Text, "Value(4)", "Anti-Fighter Value ", "iAntiFighterValue"},
    {RowKind::Text, "Value(5)", "Anti-Corvette Value ", "iAntiCorvetteValue"},
    {RowKind::Text, "Value(6)", "Anti-Frigate Value ", "iAntiFrigateValue"},
    {RowKind::Text, "Value(7)", "Total Value ", "iTotalValue"},
};

}  // namespace

frmAI::frmAI(const SheetContext& context) : PropertySheet(context, "frmAI", "AI Values", kRows) { FormLoad(); }
