#include "sheets.h"

#include "frmai.h"
#include "frmbasicproperties.h"
#include "frmclassification.h"
#include "frmdeath.h"
#include "frmdocking.h"
#include "frmformationsandmovement.h"
#include "frmfrontend.h"
#include "frmmeshvisibility.h"
#include "frmmiscmovement.h"
#include "frmpropulsion.h"
#include "frmsensorsandcombat.h"
#include "frmsounds.h"
#include "frmuivisibility.h"

namespace {

// A sheet edits the open document; without one (the buttons are disabled then) there is nothing
// to show.
template <class Sheet>
QDialog* Create(frmFrontend& main) {
    if (!main.ShipFile) return nullptr;
    return new Sheet(main);
}

}  // namespace

QDialog* CreateBasicProperties(frmFrontend& main) { return Create<frmBasicProperties>(main); }
QDialog* CreatePropulsion(frmFrontend& main) { return Create<frmPropulsion>(main); }
QDialog* CreateFormationsAndMovement(frmFrontend& main) {
    return Create<frmFormationsAndMovement>(main);
}
QDialog* CreateDocking(frmFrontend& main) { return Create<frmDocking>(main); }
QDialog* CreateClassification(frmFrontend& main) { return Create<frmClassification>(main); }
QDialog* CreateSensorsAndCombat(frmFrontend& main) { return Create<frmSensorsAndCombat>(main); }
QDialog* CreateAI(frmFrontend& main) { return Create<frmAI>(main); }
QDialog* CreateDeath(frmFrontend& main) { return Create<frmDeath>(main); }
QDialog* CreateUIVisibility(frmFrontend& main) { return Create<frmUIVisibility>(main); }
QDialog* CreateMeshVisibility(frmFrontend& main) { return Create<frmMeshVisibility>(main); }
QDialog* CreateMiscMovement(frmFrontend& main) { return Create<frmMiscMovement>(main); }
QDialog* CreateSounds(frmFrontend& main) { return Create<frmSounds>(main); }
