#include "abilitytable.h"

#include <cstring>
#include <vector>

#include "scriptformat.h"
#include "sr2shipfile.h"

namespace abilities {

namespace {

// The abilities, their fields and the order of their arguments are the document's
// (scriptformat::Abilities()); the editor adds only the caption of each parameter's row.
struct Caption {
    const char* field;
    const char* caption;
};
constexpr Caption kCaptions[] = {
    {"CanDock_ByPlayer", "ByPlayer:"},
    {"SpecialAttack_AttackName", "Special Attack Name:"},
    {"CaptureCommand_LatchOffset", "Latch Offset:"},
    {"HyperspaceInhibitorAbility_InhibitorRadius", "Inhibitor Radius:"},
    {"MinelayerAbility_TimeToLay", "Time to Lay:"},
    {"MoveCommand_OneShot", "One Shot:"},
    {"RetireAbility_DisabledByRace", "Disabled by Race:"},
    {"CanBeCaptured_SlowFactor", "Slow Factor:"},
    {"GuardCommand_GuardRadius", "Guard Radius:"},
    {"GuardCommand_GuardDistance", "Guard Distance:"},
    {"DefenseFieldShieldAbility_ShieldRadius", "Shield Radius:"},
    {"DefenseFieldShieldAbility_DustCloudMultiplier", "Dust Cloud Damage Multiplier:"},
    {"DefenseFieldShieldAbility_NebulaMultiplier", "Nebula Damage Multiplier:"},
    {"Harvest_Capacity", "Capacity:"},
    {"Harvest_HarvestRate", "Harvest Rate:"},
    {"Harvest_HarvestRadius", "Harvest Radius:"},
    {"HyperspaceViaGateCommand_TransitTime", "Transit Time:"},
    {"HyperspaceViaGateCommand_CostMultiplier", "Cost Multiplier:"},
    {"HyperspaceViaGateCommand_DamageMultiplier", "Damage Multiplier:"},
    {"SensorPing_InfinitePing", "Infinite Range:"},
    {"SensorPing_PingDuration", "Ping Duration:"},
    {"SensorPing_DetectionStrength", "Detection Strength:"},
    {"FormHyperspaceGateCommand_EnterRadius", "Enter Radius:"},
    {"FormHyperspaceGateCommand_ExitRadius", "Exit Radius:"},
    {"FormHyperspaceGateCommand_CostToLink", "Cost to Link:"},
    {"FormHyperspaceGateCommand_CostToJump", "Cost to Jump:"},
    {"HyperSpaceCommand_CostFactor", "Cost Factor:"},
    {"HyperSpaceCommand_CostMin", "Minimum Cost:"},
    {"HyperSpaceCommand_CostMax", "Maximum Cost:"},
    {"HyperSpaceCommand_RecoveryTime", "Recovery Time:"},
    {"HyperSpaceCommand_TransitTime", "Transit Time:"},
    {"CloakAbility_CloakStrength", "Cloak Strength:"},
    {"CloakAbility_CloakRadius", "Cloak Radius:"},
    {"CloakAbility_EnergyCutoff", "Energy Cutoff:"},
    {"CloakAbility_EnergyUsage", "Energy Usage:"},
    {"CloakAbility_EnergyCost", "Energy Cost:"},
    {"CloakAbility_EnergyRegen", "Energy Regen Rate:"},
    {"CloakAbility_EnergyMinimum", "Minimum Energy:"},
    {"DefenseFieldAbility_IsEngaged", "Is Engaged:"},
    {"DefenseFieldAbility_FieldRadius", "Field Radius:"},
    {"DefenseFieldAbility_EnergyMax", "Maximum Energy:"},
    {"DefenseFieldAbility_EnergyCutoff", "Energy Cutoff:"},
    {"DefenseFieldAbility_EnergyCost", "Energy Cost:"},
    {"DefenseFieldAbility_EnergyRegen", "Energy Regen Rate:"},
    {"DefenseFieldAbility_EnergyMinimum", "Minimum Energy:"},
    {"DefenseFieldAbility_EffectName", "Effect Name:"},
};

const char* CaptionOf(const char* field) {
    for (const Caption& c : kCaptions)
        if (std::strcmp(c.field, field) == 0) return c.caption;
    return "";
}

ParamKind KindOf(const char* field) {
    switch (SR2ShipFile::FindField(field)->type) {
        case FieldType::Flag: return ParamKind::Flag;
        case FieldType::Int32: return ParamKind::Int32;
        case FieldType::String: return ParamKind::String;
        default: return ParamKind::Real;
    }
}

bool EndsWith(const char* s, const char* tail) {
    const std::size_t n = std::strlen(s), t = std::strlen(tail);
    return n >= t && std::strcmp(s + n - t, tail) == 0;
}

struct Built {
    std::vector<std::vector<Param>> params;
    std::vector<ListedAbility> table;
};

Built Build() {
    Built b;
    const auto& source = scriptformat::Abilities();
    b.params.resize(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        const scriptformat::Ability& a = source[i];
        std::vector<Param>& params = b.params[i];
        // The first comma argument is the is-active flag; the others are the panel's rows, and a
        // quoted argument is the string row.
        const bool hasIsActive = !a.args.empty() && EndsWith(a.args[0], "_IsActive");
        for (std::size_t j = hasIsActive ? 1 : 0; j < a.args.size(); ++j)
            params.push_back({a.args[j], KindOf(a.args[j]), static_cast<int>(params.size()),
                              CaptionOf(a.args[j])});
        if (a.quotedArg)
            params.push_back({a.quotedArg, ParamKind::String, -1, CaptionOf(a.quotedArg)});
        const Panel panel = a.listValued ? Panel::NotEditable
                            : hasIsActive ? Panel::Parameters
                                          : Panel::Nothing;
        b.table.push_back({a.name, a.presence, hasIsActive ? a.args[0] : nullptr, {}, panel});
    }
    for (std::size_t i = 0; i < b.table.size(); ++i) b.table[i].params = b.params[i];
    return b;
}

const std::vector<ListedAbility>& ListedAbilities() {
    static const Built built = Build();
    return built.table;
}

}  // namespace

int ListedAbility::RowCount() const {
    int rows = 0;
    for (const Param& p : params)
        if (p.row >= 0) ++rows;
    return rows;
}

bool ListedAbility::FirstRowIsFlag() const {
    for (const Param& p : params)
        if (p.row == 0) return p.kind == ParamKind::Flag;
    return false;
}

std::span<const ListedAbility> Table() { return ListedAbilities(); }

int IndexOf(const char* name) {
    const auto& table = ListedAbilities();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (std::strcmp(table[i].name, name) == 0) return static_cast<int>(i);
    return -1;
}

}  // namespace abilities
