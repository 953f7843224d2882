#include "sheetbuttons.h"

#include <array>

namespace {

// One row per button. To wire a sheet, replace nullptr in its row by its factory (declared in
// sheetbuttons.h, defined in the sheet's own folder).
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

std::span<const SheetButton> SheetButtons() { return kSheetButtons; }
