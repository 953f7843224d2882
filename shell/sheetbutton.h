// One of the main window's sheet buttons: {object name, caption, factory}. The main window walks
// the table it is given once, to build and wire its buttons; the program's main supplies the
// table (app/sheetbuttons.cpp), so the shell knows no sheet.
#pragma once

class QDialog;
class frmFrontend;

// Creates the sheet as a QDialog whose parent is the main window. The main window is already
// disabled when this runs; it shows and places the returned dialog itself.
using SheetFactory = QDialog* (*)(frmFrontend& main);

struct SheetButton {
    const char* objectName;
    const char* caption;
    SheetFactory factory;  // nullptr: a button that does nothing
};
