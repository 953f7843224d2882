// The main window's sheet buttons: one table of {object name, caption, factory}, walked once by the
// main window to build and wire its buttons.
//
// Each sheet's factory is declared below. A sheet wires itself by defining its factory in its own
// folder and putting the factory's name into its row of sheetbuttons.cpp in place of nullptr; a row
// without a factory gives a button that does nothing.
#pragma once

#include <span>

class QDialog;
class frmFrontend;

// Creates the sheet as a QDialog whose parent is the main window. The main window is already
// disabled when this runs; it shows and places the returned dialog itself.
using SheetFactory = QDialog* (*)(frmFrontend& main);

struct SheetButton {
    const char* objectName;
    const char* caption;
    SheetFactory factory;  // nullptr until the sheet exists
};

// The fifteen sheet buttons, in the order of the main window's layout.
std::span<const SheetButton> SheetButtons();

// Factories of the sheets (sheets/) and list editors (editors/).
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
QDialog* CreateWeapons(frmFrontend& main);
QDialog* CreateSalvageChunks(frmFrontend& main);
QDialog* CreateAbilities(frmFrontend& main);
