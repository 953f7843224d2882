#include "frmdocking.h"

#include "datadirnames.h"

namespace {

constexpr SheetFrame kFrames[] = {
    {"fraDocking", "Docking"},
    {"fraLaunching", "Launching"},
};

constexpr SheetRow kRows[] = {
    {RowKind::Text, "Value(0)", "Formation Delay", "fDockTimeBetweenTwoFormations", nullptr, 1},
    {RowKind::Text, "Value(1)", "Time Before Start ", "fDockTimeBeforeStart", nullptr, 1},
    {RowKind::Text, "Value(2)", "Ships in Formation ", "iDockNrOfShipsInDockFormation", nullptr,
     1},
    {RowKind::Choice, "cboDockFormation", "Dock Formation ", "sDockFormation", nullptr, 1},
    {RowKind::Choice, "cboQueueFormation", "Queue Formation ", "sQueueFormation", nullptr, 1},
    {RowKind::TrueFalse, "cboIgnoreRace", "Ignore Race", "iIgnoreRaceWhenDocking", nullptr, 1},
    {RowKind::Text, "Value(3)", "Formation Delay", "fLaunchTimeBetweenTwoFormations", nullptr, 2},
    {RowKind::Text, "Value(4)", "Time Before Start ", "fLaunchTimeBeforeStart", nullptr, 2},
    {RowKind::Text, "Value(5)", "Ships in Formation ", "iLaunchNrOfShipsInDockFormation",
     nullptr, 2},
    {RowKind::Choice, "cboLaunchFormation", "Launch Formation ", "sLaunchFormation", nullptr, 2},
};

}  // namespace

frmDocking::frmDocking(const SheetContext& context)
    : PropertySheet(context, "frmDocking", "Docking", kRows, kFrames) {
    SetChoices(0, datadir::FormationChoices(context));
    FormLoad();
}
