#include "frmpropulsion.h"

namespace {

constexpr const char* kMaxSpeed = "The ship's max speed in meters per second.";
constexpr const char* kAccel =
    "How long it takes for the ship to reach its max speed, starting at 0 meters per second.";
constexpr const char* kBrake =
    "How long it takes for the ship to stop, starting at its max speed.";
constexpr const char* kUnknown = "(?)";

constexpr SheetRow kRows[] = {
    {RowKind::Text, "Value(0)", "Thruster Max Speed ", "fThrusterMaxSpeed", kMaxSpeed},
    {RowKind::Text, "Value(1)", "Main Engine Max Speed ", "fMainEngineMaxSpeed", kMaxSpeed},
    {RowKind::Text, "Value(2)", "Rotation Max Speed ", "fRotationMaxSpeed",
     "The ship's max turning speed in degrees per second.)"},
    {RowKind::Text, "Value(3)", "Thruster Accel Time ", "fThrusterAccelTime", kAccel},
    {RowKind::Text, "Value(4)", "Thruster Brake Time ", "fThrusterBrakeTime", kBrake},
    {RowKind::Text, "Value(5)", "Main Eng. Accel Time ", "fMainEngineAccelTime", kAccel},
    {RowKind::Text, "Value(6)", "Main Eng. Brake Time ", "fMainEngineBrakeTime", kBrake},
    {RowKind::Text, "Value(7)", "Rotation Accel Time ", "fRotationAccelTime",
     "How long it takes for the ship to reach its max rotational speed, starting at 0 degrees "
     "per second."},
    {RowKind::Text, "Value(8)", "Rotation Brake Time ", "fRotationBrakeTime",
     "How long it takes for the ship to stop rotating, starting at its max rotational speed."},
    {RowKind::Text, "Value(9)", "Thruster Usage ", "fThrusterUsage",
     "Multiplier for the amount of thrust(?)."},
    {RowKind::Text, "Value(10)", "Acceleration Angle ", "fAccelerationAngle", kUnknown},
    {RowKind::Text, "Value(11)", "Mirror Angle ", "fMirrorAngle", kUnknown},
    {RowKind::Text, "Value(12)", "Secondary Turn Angle ", "fSecondaryTurnAngle", kUnknown},
    {RowKind::Text, "Value(13)", "Trail Linger ", "fTrailLinger", kUnknown},
};

}  // namespace

frmPropulsion::frmPropulsion(const SheetContext& context)
    : PropertySheet(context, "frmPropulsion", "Propulsion", kRows) {
    FormLoad();
}
