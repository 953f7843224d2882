// Factories of the property sheets, for the program's table of sheet buttons.
#pragma once

#include "sheetbutton.h"

QDialog* CreateBasicProperties(const SheetContext& context);
QDialog* CreatePropulsion(const SheetContext& context);
QDialog* CreateFormationsAndMovement(const SheetContext& context);
QDialog* CreateDocking(const SheetContext& context);
QDialog* CreateClassification(const SheetContext& context);
QDialog* CreateSensorsAndCombat(const SheetContext& context);
QDialog* CreateAI(const SheetContext& context);
QDialog* CreateDeath(const SheetContext& context);
QDialog* CreateUIVisibility(const SheetContext& context);
QDialog* CreateMeshVisibility(const SheetContext& context);
QDialog* CreateMiscMovement(const SheetContext& context);
QDialog* CreateSounds(const SheetContext& context);
