#include "frmsensorsandcombat.h"

namespace {

constexpr SheetRow kRows[] = {
    {RowKind::Text, "Value(0)", "Visual Range ", "iVisualRange"},
    {RowKind::Text, "Value(1)", "Primary Sensor Range ", "iPrmSensorRange"},
    {RowKind::Text, "Value(2)", "Sec. Sensor Range ", "iSecSensorRange"},
    {RowKind::Text, "Value(3)", "Detection Strength ", "iDetectionStrength"},
    {RowKind::TrueFalse, "cboUseEngRanges", "Use Engagement Ranges ", "iUseEngagementRanges"},
    {RowKind::Text, "Value(4)", "Retaliation Range ", "iRetaliationRange"},
    {RowKind::Text, "Value(5)", "Retaliation Distance", "iRetaliationDistanceFromGoal"},
};

}  // namespace

frmSensorsAndCombat::frmSensorsAndCombat(const SheetContext& context)
    : PropertySheet(context, "frmSensorsAndCombat", "Sensors and Combat", kRows) {
    FormLoad();
}
