// Factories of the property sheets, for the program's table of sheet buttons.
#pragma once

#include "sheetbutton.h"

QDialog* CreateBasicProperties(frmFrontend& main);
QDialog* CreatePropulsion(frmFrontend& main);
QDialog* CreateFormationsAndMovement(frmFrontend& main);
QDialog* CreateDocking(frmFrontend& main);
QDialog* CreateClassification(frmFrontend& main);
QDialog* CreateSensorsAndCombat(frmFrontend& main);
QDialog* CreateAI(frmFrontend& main);
QDialog* CreateDeath(frmFrontend& main);
QDialog* CreateUIVisibility(frmFrontend& main);
QDialog* CreateMeshVisibility(frmFrontend& main);
QDialog* CreateMiscMovement(frmFrontend& main);
QDialog* CreateSounds(frmFrontend& main);
