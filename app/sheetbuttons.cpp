#include "sheetbuttons.h"

#include <array>

#include "editors.h"
#include "frmfrontend.h"
#include "frmotherentries.h"
#include "sheets.h"

namespace {

// One row per button, with the factory its folder declares (sheets.h, editors.h).
constexpr std::array<SheetButton, 15> kSheetButtons{{
    {"cmdBasicProperties", "Basic Properties", CreateBasicProperties},
    {"cmdPropulsion", "Propulsion", CreatePropulsion},
    {"cmdFormationsAndMovement", "Formations and Movement", CreateFormationsAndMovement},
    {"cmdDocking", "Docking", CreateDocking},
    {"cmdClassification", "Classification", CreateClassification},
    {"cmdSensorsAndCombat", "Sensors and Combat", CreateSensorsAndCombat},
    {"cmdAI", "AI", CreateAI},
    {"cmdDeath", "Death", CreateDeath},
    {"cmdUIVisibility", "UI Visibility", CreateUIVisibility},
    {"cmdMeshVisibility", "Mesh Visibility", CreateMeshVisibility},
    {"cmdMiscMovement", "Misc Movement", CreateMiscMovement},
    {"cmdSounds", "Sounds", CreateSounds},
    {"cmdWeapons", "Weapons", CreateWeapons},
    {"cmdSalvageChunks", "Salvage Chunks", CreateSalvageChunks},
    {"cmdEditAbilities", "Abilities", CreateAbilities},
}};

}  // namespace

std::span<const SheetButton> SheetButtons() {
    // Other Entries opens from the Edit menu rather than a button; the main window gets its
    // factory here, with the table, before any main window exists.
    static const bool named = (frmFrontend::SetOtherEntriesFactory(&CreateOtherEntries), true);
    (void)named;
    return kSheetButtons;
}
