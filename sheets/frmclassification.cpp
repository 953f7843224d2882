#include "frmclassification.h"

#include "datadirnames.h"
#include "sheetcontext.h"
#include "shipsession.h"
#include "prompter.h"

namespace {

constexpr SheetRow kRows[] = {
    {RowKind::EditableChoice, "cboFamily(0)", "Armour Family ", "sArmourFamily", nullptr, 0, 0},
    {RowKind::EditableChoice, "cboFamily(1)", "Attack Family ", "sAttackFamily", nullptr, 0, 1},
    {RowKind::EditableChoice, "cboFamily(2)", "AutoFormation Family ", "sAutoFormationFamily",
     nullptr, 0, 2},
    {RowKind::EditableChoice, "cboFamily(3)", "Avoidance Family ", "sAvoidanceFamily", nullptr, 0,
     3},
    {RowKind::EditableChoice, "cboFamily(4)", "Build Family ", "sBuildFamily", nullptr, 0, 4},
    {RowKind::EditableChoice, "cboFamily(5)", "Collision Family ", "sCollisionFamily", nullptr, 0,
     5},
    {RowKind::EditableChoice, "cboFamily(6)", "Display Family ", "sDisplayFamily", nullptr, 0, 6},
    {RowKind::EditableChoice, "cboFamily(7)", "Dock Family ", "sDockFamily", nullptr, 0, 7},
    {RowKind::EditableChoice, "cboFamily(8)", "Minimum Family to Avoid ",
     "sMinimalFamilyToFindPathAround", nullptr, 0, 8},
    {RowKind::EditableChoice, "cboFamily(9)", "Unit Caps Family ", "sUnitCapsFamily", nullptr, 0,
     9},
    {RowKind::Text, "txtSquadSize", "Squadron Size ", "iSquadronSize"},
    {RowKind::Text, "txtUnitCapsNum", "Unit Caps Number ", "iUnitCapsNumber"},
    {RowKind::TrueFalse, "cboMilitaryUnit", "Military Unit ", "iMilitaryUnit"},
};

}  // namespace

frmClassification::frmClassification(const SheetContext& context)
    : PropertySheet(context, "frmClassification", "Classification", kRows) {
    const gamedata::GameData data = datadir::Read(context, gamedata::kFamilies);
    if (!data.familyFileFound) {
        context.prompter->Message(
            this, "Familylist.lua could not be found in '" + datadir::Path(context, "\\scripts") +
                      "', you will have to type in the Family names manually or copy the " +
                      "Familylist.lua file into the aforementioned directory, then reload this " +
                      "property sheet.",
            MessageKind::Warning);
    } else if (!data.familyFileRead) {
        context.prompter->Message(this,
                                datadir::UnreadableMessage(datadir::Path(context, gamedata::kFamilyListTail),
                                                           data.familyFileError),
                                MessageKind::Error);
    }
    for (const std::string& line : data.unknownFamilySections)
        context.prompter->Message(this, datadir::FromFileNames({line}).front(), MessageKind::Warning);
    for (int i = 0; i < gamedata::kFamilySections; ++i)
        SetChoices(i, datadir::FromFileNames(data.families.sections[static_cast<std::size_t>(i)]));
    FormLoad();
}
