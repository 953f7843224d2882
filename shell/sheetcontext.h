// What a sheet or list editor gets from the main window: the open ship's session, the prompter for
// its message boxes and dialogs, the data directory for its name lists, and the window it stands
// beside (its parent). Nothing more of the main window.
#pragma once

#include <QString>

class Prompter;
class QWidget;
class ShipSession;

struct SheetContext {
    ShipSession* session = nullptr;  // the open ship; null while none is open
    Prompter* prompter = nullptr;
    QString dataDir;                 // as the settings hold it
    QWidget* parent = nullptr;
};
