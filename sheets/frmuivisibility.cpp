#include "frmuivisibility.h"

namespace {

constexpr SheetRow kRows[] = {
    {RowKind::Text, "Value(0)", "Health Bar Style ", "iHealthBarStyle"},
    {RowKind::EditableChoice, "cboTOIcon", "Icon ", "sTOIcon"},
    {RowKind::Text, "Value(2)", "Scale ", "fTOScale"},
    {RowKind::Text, "Value(3)", "Group Scale ", "fTOGroupScale"},
    {RowKind::Text, "Value(4)", "Group Merge Size ", "iTOGroupMergeSize"},
    {RowKind::Text, "Value(5)", "Min Fade Size ", "fMouseOverMinFadeSize"},
    {RowKind::Text, "Value(6)", "Max Fade Size ", "fMouseOverMaxFadeSize"},
    {RowKind::Text, "Value(7)", "Distance Fade 0 ", "iTODistanceFade0"},
    {RowKind::Text, "Value(8)", "Distance Disappear 0 ", "iTODistanceDisappear0"},
    {RowKind::Text, "Value(9)", "Distance Fade 1 ", "iTODistanceFade1"},
    {RowKind::Text, "Value(10)", "Distance Disappear 1 ", "iTODistanceDisappear1"},
    {RowKind::Text, "Value(11)", "Distance Fade 2 ", "iTODistanceFade2"},
    {RowKind::Text, "Value(12)", "Distance Disappear 2 ", "iTODistanceDisappear2"},
};

}  // namespace

frmUIVisibility::frmUIVisibility(const SheetContext& context)
    : PropertySheet(context, "frmUIVisibility", "UI Visibility", kRows) {
    // The icon box offers the game's icons and shows any other stored name as it is.
    SetChoices(0, {"Arrow", "Diamond", "Hexagon", "InvertedDiamond", "InvertedPentagon",
                   "InvertedTriangle", "InvertedY", "Jack", "Lightning", "Parallelogram",
                   "Rectangle", "Square", "Star", "Triangle"});
    FormLoad();
}
