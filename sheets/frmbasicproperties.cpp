#include "frmbasicproperties.h"

namespace {

constexpr SheetRow kRows[] = {
    {RowKind::Text, "Value(0)", "Displayed Name ", "sDisplayedName",
     "The ship's displayed name in SR2."},
    {RowKind::Text, "Value(1)", "Description ", "sSobDescription",
     "The description that appears on the SR2 taskbar when you select the ship."},
    {RowKind::Text, "Value(2)", "Build Cost (RUs) ", "iBuildCost",
     "How much it costs in RUs to build one squadron of this ship (or, in the case of "
     "destroyers and such, a single ship.)"},
    {RowKind::Text, "Value(3)", "Build Time (Seconds) ", "iBuildTime",
     "How long it takes to build the ship, measured in seconds."},
    {RowKind::Text, "Value(4)", "Build Priority Order ", "iBuildPriorityOrder",
     "Determines where this ship will appear in the build-list.  You might want an experienced "
     "modder to tinker with this, since extensive rearranging requires the modification of "
     "several *.ship files."},
    {RowKind::Text, "Value(5)", "Mass (1000 kgs?) ", "iMass",
     "Ship's mass (in 1000kgs.) This determines how much the ship will push another if it rams "
     "into one."},
    {RowKind::Text, "Value(6)", "Max Health ", "iMaxhealth", "The ship's maximum (full) health."},
    {RowKind::Text, "Value(7)", "Regen Time ", "fRegentime",
     "Theoretical amount of time it takes to regenerate the health from 0(?)"},
    {RowKind::Text, "Value(8)", "Minimum Regen Time ", "fMinRegenTime", "(?)"},
    {RowKind::Text, "Value(9)", "Side Armour Dmg Mult. ", "fSideArmourDamage",
     "Damage received on the side of the ship will be multiplied by this value."},
    {RowKind::Text, "Value(10)", "Rear Armour Dmg Mult. ", "fRearArmourDamage",
     "Damage received on the rear of the ship will be multiplied by this value."},
    {RowKind::Text, "Value(11)", "Dust Cloud Dmg Time ", "iDustCloudDamageTime",
     "Time between damage inflictions from a dust cloud(?)"},
    {RowKind::Text, "Value(12)", "Nebula Dmg Time ", "iNebulaDamageTime",
     "Time between damage inflictions from a nebula(?)"},
};

}  // namespace

frmBasicProperties::frmBasicProperties(const SheetContext& context)
    : PropertySheet(context, "frmBasicProperties", "Basic Properties & Physical Stats", kRows) {
    FormLoad();
}
