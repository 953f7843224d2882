#include "frmdeath.h"

namespace {

constexpr SheetRow kRows[] = {
    {RowKind::Text, "Value(0)", "SOB Die Time ", "fSobDieTime"},
    {RowKind::Text, "Value(1)", "SOB Special Die Time ", "fSobSpecialDieTime"},
    {RowKind::Text, "Value(2)", "Special Death Speed ", "iSpecialDeathSpeed"},
    {RowKind::Text, "Value(3)", "Chance of Special Death ", "fChanceOfSpecialDeath"},
    {RowKind::Text, "Value(4)", "Dead SOB Fade Time ", "fDeadSobFadeTime"},
};

}  // namespace

frmDeath::frmDeath(const SheetContext& context) : PropertySheet(context, "frmDeath", "Death", kRows) {
    FormLoad();
}
