#include "sheets.h"

#include "frmai.h"
#include "frmbasicproperties.h"
#include "frmclassification.h"
#include "frmdeath.h"
#include "frmdocking.h"
#include "frmformationsandmovement.h"
#include "sheetcontext.h"
#include "shipsession.h"
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
QDialog* Create(const SheetContext& context) {
    if (!context.session) return nullptr;
    return new Sheet(context);
}

}  // namespace

QDialog* CreateBasicProperties(const SheetContext& context) { return Create<frmBasicProperties>(context); }
QDialog* CreatePropulsion(const SheetContext& context) { return Create<frmPropulsion>(context); }
QDialog* CreateFormationsAndMovement(const SheetContext& context) {
    return Create<frmFormationsAndMovement>(context);
}
QDialog* CreateDocking(const SheetContext& context) { return Create<frmDocking>(context); }
QDialog* CreateClassification(const SheetContext& context) { return Create<frmClassification>(context); }
QDialog* CreateSensorsAndCombat(const SheetContext& context) { return Create<frmSensorsAndCombat>(context); }
QDialog* CreateAI(const SheetContext& context) { return Create<frmAI>(context); }
QDialog* CreateDeath(const SheetContext& context) { return Create<frmDeath>(context); }
QDialog* CreateUIVisibility(const SheetContext& context) { return Create<frmUIVisibility>(context); }
QDialog* CreateMeshVisibility(const SheetContext& context) { return Create<frmMeshVisibility>(context); }
QDialog* CreateMiscMovement(const SheetContext& context) { return Create<frmMiscMovement>(context); }
QDialog* CreateSounds(const SheetContext& context) { return Create<frmSounds>(context); }
