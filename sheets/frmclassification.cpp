#include "frmclassification.h"

#include "datadirnames.h"
#include "frmfrontend.h"
#include "prompter.h"
#include "textconv.h"

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

// The section keys of the family list, in the order of the family boxes.
constexpr const char* kSectionKeys[frmClassification::kFamilies] = {
    "armourfamily", "attackfamily",    "autoformationfamily", "avoidancefamily",
    "buildfamily",  "collisionfamily", "displayfamily",       "dockfamily",
    "minimalfamilytofindpatharound",   "unitcapsfamily",
};

}  // namespace

frmClassification::FamilyChoices frmClassification::ReadFamilyList(
    const QStringList& lines, const std::function<void(const QString&)>& unknownSection) {
    FamilyChoices choices;
    int section = 0;  // names before the first section line are armour families
    for (const QString& line : lines) {
        if (line.contains(QLatin1String("family"), Qt::CaseInsensitive)) {
            // The key must open the line and be followed by " = " or the line's end.
            const qsizetype equals = line.indexOf(QLatin1String(" = "));
            const QString key = (equals < 0 ? line : line.left(equals)).toLower();
            int found = -1;
            for (int i = 0; i < kFamilies && found < 0; ++i)
                if (key == QLatin1String(kSectionKeys[i])) found = i;
            if (found >= 0)
                section = found;
            else if (unknownSection)
                unknownSection(line);
        }
        if (datadir::IsNameLine(line))
            if (auto name = datadir::QuotedName(line)) choices[section] << *name;
    }
    choices[kMinimumToAvoid] << choices[kAvoidance];
    return choices;
}

frmClassification::frmClassification(frmFrontend& main)
    : PropertySheet(main, "frmClassification", "Classification", kRows) {
    const QString path = datadir::Path(main, "\\scripts\\familylist.lua");
    FamilyChoices choices;
    if (main.CFSO.FileExists(ToLocal(path))) {
        const datadir::TextLines file = datadir::ReadTextLines(path);
        if (file.ok) {
            choices = ReadFamilyList(file.lines, [this](const QString& line) {
                Main().prompter().Message(this, line, MessageKind::Warning);
            });
        } else {
            main.prompter().Message(this, datadir::UnreadableMessage(path, file.error),
                                    MessageKind::Error);
        }
    } else {
        main.prompter().Message(
            this, "Familylist.lua could not be found in '" + datadir::Path(main, "\\scripts") +
                      "', you will have to type in the Family names manually or copy the " +
                      "Familylist.lua file into the aforementioned directory, then reload this " +
                      "property sheet.",
            MessageKind::Warning);
    }
    for (int i = 0; i < kFamilies; ++i) SetChoices(i, choices[i]);
    FormLoad();
}
