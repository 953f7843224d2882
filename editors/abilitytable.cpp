#include "abilitytable.h"

#include <array>
#include <cstring>

namespace abilities {

namespace {

using K = ParamKind;

constexpr Param kCanDock[] = {{"CanDock_ByPlayer", K::Flag, 0, "ByPlayer:"}};
constexpr Param kSpecialAttack[] = {
    {"SpecialAttack_AttackName", K::String, -1, "Special Attack Name:"}};
constexpr Param kCaptureCommand[] = {
    {"CaptureCommand_LatchOffset", K::Real, 0, "Latch Offset:"}};
constexpr Param kHyperspaceInhibitor[] = {
    {"HyperspaceInhibitorAbility_InhibitorRadius", K::Real, 0, "Inhibitor Radius:"}};
constexpr Param kMinelayer[] = {{"MinelayerAbility_TimeToLay", K::Real, 0, "Time to Lay:"}};
constexpr Param kMoveCommand[] = {{"MoveCommand_OneShot", K::Flag, 0, "One Shot:"}};
constexpr Param kRetire[] = {
    {"RetireAbility_DisabledByRace", K::Flag, 0, "Disabled by Race:"}};
constexpr Param kCanBeCaptured[] = {{"CanBeCaptured_SlowFactor", K::Real, 0, "Slow Factor:"}};
constexpr Param kGuard[] = {
    {"GuardCommand_GuardRadius", K::Real, 0, "Guard Radius:"},
    {"GuardCommand_GuardDistance", K::Real, 1, "Guard Distance:"},
};
constexpr Param kDefenseFieldShield[] = {
    {"DefenseFieldShieldAbility_ShieldRadius", K::Real, 0, "Shield Radius:"},
    {"DefenseFieldShieldAbility_DustCloudMultiplier", K::Real, 1,
     "Dust Cloud Damage Multiplier:"},
    {"DefenseFieldShieldAbility_NebulaMultiplier", K::Real, 2, "Nebula Damage Multiplier:"},
};
constexpr Param kHarvest[] = {
    {"Harvest_Capacity", K::Real, 0, "Capacity:"},
    {"Harvest_HarvestRate", K::Real, 1, "Harvest Rate:"},
    {"Harvest_HarvestRadius", K::Real, 2, "Harvest Radius:"},
};
constexpr Param kHyperspaceViaGate[] = {
    {"HyperspaceViaGateCommand_TransitTime", K::Real, 0, "Transit Time:"},
    {"HyperspaceViaGateCommand_CostMultiplier", K::Real, 1, "Cost Multiplier:"},
    {"HyperspaceViaGateCommand_DamageMultiplier", K::Real, 2, "Damage Multiplier:"},
};
constexpr Param kSensorPing[] = {
    {"SensorPing_InfinitePing", K::Flag, 0, "Infinite Range:"},
    {"SensorPing_PingDuration", K::Real, 1, "Ping Duration:"},
    {"SensorPing_DetectionStrength", K::Real, 2, "Detection Strength:"},
};
constexpr Param kFormHyperspaceGate[] = {
    {"FormHyperspaceGateCommand_EnterRadius", K::Real, 0, "Enter Radius:"},
    {"FormHyperspaceGateCommand_ExitRadius", K::Real, 1, "Exit Radius:"},
    {"FormHyperspaceGateCommand_CostToLink", K::Real, 2, "Cost to Link:"},
    {"FormHyperspaceGateCommand_CostToJump", K::Real, 3, "Cost to Jump:"},
};
constexpr Param kHyperSpace[] = {
    {"HyperSpaceCommand_CostFactor", K::Real, 0, "Cost Factor:"},
    {"HyperSpaceCommand_CostMin", K::Real, 1, "Minimum Cost:"},
    {"HyperSpaceCommand_CostMax", K::Real, 2, "Maximum Cost:"},
    {"HyperSpaceCommand_RecoveryTime", K::Real, 3, "Recovery Time:"},
    {"HyperSpaceCommand_TransitTime", K::Real, 4, "Transit Time:"},
};
constexpr Param kCloak[] = {
    {"CloakAbility_CloakStrength", K::Int32, 0, "Cloak Strength:"},
    {"CloakAbility_CloakRadius", K::Real, 1, "Cloak Radius:"},
    {"CloakAbility_EnergyCutoff", K::Real, 2, "Energy Cutoff:"},
    {"CloakAbility_EnergyUsage", K::Real, 3, "Energy Usage:"},
    {"CloakAbility_EnergyCost", K::Real, 4, "Energy Cost:"},
    {"CloakAbility_EnergyRegen", K::Real, 5, "Energy Regen Rate:"},
    {"CloakAbility_EnergyMinimum", K::Real, 6, "Minimum Energy:"},
};
constexpr Param kDefenseField[] = {
    {"DefenseFieldAbility_IsEngaged", K::Flag, 0, "Is Engaged:"},
    {"DefenseFieldAbility_FieldRadius", K::Real, 1, "Field Radius:"},
    {"DefenseFieldAbility_EnergyMax", K::Real, 2, "Maximum Energy:"},
    {"DefenseFieldAbility_EnergyCutoff", K::Real, 3, "Energy Cutoff:"},
    {"DefenseFieldAbility_EnergyCost", K::Real, 4, "Energy Cost:"},
    {"DefenseFieldAbility_EnergyRegen", K::Real, 5, "Energy Regen Rate:"},
    {"DefenseFieldAbility_EnergyMinimum", K::Real, 6, "Minimum Energy:"},
    {"DefenseFieldAbility_EffectName", K::String, -1, "Effect Name:"},
};

using P = Panel;
constexpr std::span<const Param> kNone{};

constexpr std::array<Ability, 27> kAbilities{{
    {"CanBeRepaired", "bCanBeRepaired", nullptr, kNone, P::Nothing},
    {"CanBeSalvaged", "bCanBeSalvaged", nullptr, kNone, P::Nothing},
    {"WaypointMove", "bWaypointMove", nullptr, kNone, P::Nothing},
    {"CanLaunch", "bCanLaunch", nullptr, kNone, P::Nothing},
    {"ParadeCommand", "bParadeCommand", "ParadeCommand_IsActive", kNone, P::Parameters},
    {"SalvageCommand", "bSalvageCommand", "SalvageCommand_IsActive", kNone, P::Parameters},
    {"CanDock", "bCanDock", "CanDock_IsActive", kCanDock, P::Parameters},
    {"SpecialAttack", "bSpecialAttack", "SpecialAttack_IsActive", kSpecialAttack,
     P::Parameters},
    {"CaptureCommand", "bCaptureCommand", "CaptureCommand_IsActive", kCaptureCommand,
     P::Parameters},
    {"HyperspaceInhibitorAbility", "bHyperspaceInhibitorAbility",
     "HyperspaceInhibitorAbility_IsActive", kHyperspaceInhibitor, P::Parameters},
    {"MinelayerAbility", "bMinelayerAbility", "MinelayerAbility_IsActive", kMinelayer,
     P::Parameters},
    {"MoveCommand", "bMoveCommand", "MoveCommand_IsActive", kMoveCommand, P::Parameters},
    {"RetireAbility", "bRetireAbility", "RetireAbility_IsActive", kRetire, P::Parameters},
    {"CanBeCaptured", "bCanBeCaptured", "CanBeCaptured_IsActive", kCanBeCaptured,
     P::Parameters},
    {"GuardCommand", "bGuardCommand", "GuardCommand_IsActive", kGuard, P::Parameters},
    {"DefenseFieldShieldAbility", "bDefenseFieldShieldAbility",
     "DefenseFieldShieldAbility_IsActive", kDefenseFieldShield, P::Parameters},
    {"Harvest", "bHarvest", "Harvest_IsActive", kHarvest, P::Parameters},
    {"HyperspaceViaGateCommand", "bHyperspaceViaGateCommand",
     "HyperspaceViaGateCommand_IsActive", kHyperspaceViaGate, P::Parameters},
    {"SensorPing", "bSensorPing", "SensorPing_IsActive", kSensorPing, P::Parameters},
    {"FormHyperspaceGateCommand", "bFormHyperspaceGateCommand",
     "FormHyperspaceGateCommand_IsActive", kFormHyperspaceGate, P::Parameters},
    {"HyperSpaceCommand", "bHyperSpaceCommand", "HyperSpaceCommand_IsActive", kHyperSpace,
     P::Parameters},
    {"CloakAbility", "bCloakAbility", "CloakAbility_IsActive", kCloak, P::Parameters},
    {"DefenseFieldAbility", "bDefenseFieldAbility", "DefenseFieldAbility_IsActive",
     kDefenseField, P::Parameters},
    {"CanAttack", "bCanAttack", nullptr, kNone, P::NotEditable},
    {"CanBuildShips", "bCanBuildShips", nullptr, kNone, P::NotEditable},
    {"RepairCommand", "bRepairCommand", nullptr, kNone, P::NotEditable},
    {"ShipHold", "bShipHold", nullptr, kNone, P::NotEditable},
}};

}  // namespace

int Ability::RowCount() const {
    int rows = 0;
    for (const Param& p : params)
        if (p.row >= 0) ++rows;
    return rows;
}

bool Ability::FirstRowIsFlag() const {
    for (const Param& p : params)
        if (p.row == 0) return p.kind == ParamKind::Flag;
    return false;
}

std::span<const Ability> Table() { return kAbilities; }

int IndexOf(const char* name) {
    for (std::size_t i = 0; i < kAbilities.size(); ++i)
        if (std::strcmp(kAbilities[i].name, name) == 0) return static_cast<int>(i);
    return -1;
}

}  // namespace abilities
