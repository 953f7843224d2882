#include "scriptformat.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "asciicase.h"

namespace scriptformat {

const std::vector<AssignmentKey>& AssignmentKeys() {
    // Every entry name the document stores, lower-cased. The level-of-detail entries are one entry
    // of three slots, written upLOD or with the slot's number; each line fills the next slot.
    static const std::vector<AssignmentKey> keys = {
    {"displayedname", KeyKind::Field, "sDisplayedName"},
    {"sobdescription", KeyKind::Field, "sSobDescription"},
    {"buildcost", KeyKind::Field, "iBuildCost"},
    {"buildtime", KeyKind::Field, "iBuildTime"},
    {"buildpriorityorder", KeyKind::Field, "iBuildPriorityOrder"},
    {"mass", KeyKind::Field, "iMass"},
    {"maxhealth", KeyKind::Field, "iMaxhealth"},
    {"regentime", KeyKind::Field, "fRegentime"},
    {"minregentime", KeyKind::Field, "fMinRegenTime"},
    {"sidearmourdamage", KeyKind::Field, "fSideArmourDamage"},
    {"reararmourdamage", KeyKind::Field, "fRearArmourDamage"},
    {"dustclouddamagetime", KeyKind::Field, "iDustCloudDamageTime"},
    {"nebuladamagetime", KeyKind::Field, "iNebulaDamageTime"},
    {"passiveformation", KeyKind::Field, "sPassiveFormation"},
    {"defensiveformation", KeyKind::Field, "sDefensiveFormation"},
    {"aggressiveformation", KeyKind::Field, "sAggressiveFormation"},
    {"paradedata", KeyKind::Field, "sParadeData"},
    {"formationspacing", KeyKind::Field, "iFormationSpacing"},
    {"thrustermaxspeed", KeyKind::Field, "fThrusterMaxSpeed"},
    {"mainenginemaxspeed", KeyKind::Field, "fMainEngineMaxSpeed"},
    {"rotationmaxspeed", KeyKind::Field, "fRotationMaxSpeed"},
    {"thrusteracceltime", KeyKind::Field, "fThrusterAccelTime"},
    {"thrusterbraketime", KeyKind::Field, "fThrusterBrakeTime"},
    {"mainengineacceltime", KeyKind::Field, "fMainEngineAccelTime"},
    {"mainenginebraketime", KeyKind::Field, "fMainEngineBrakeTime"},
    {"rotationacceltime", KeyKind::Field, "fRotationAccelTime"},
    {"rotationbraketime", KeyKind::Field, "fRotationBrakeTime"},
    {"thrusterusage", KeyKind::Field, "fThrusterUsage"},
    {"accelerationangle", KeyKind::Field, "fAccelerationAngle"},
    {"mirrorangle", KeyKind::Field, "fMirrorAngle"},
    {"secondaryturnangle", KeyKind::Field, "fSecondaryTurnAngle"},
    {"traillinger", KeyKind::Field, "fTrailLinger"},
    {"maxbankingamount", KeyKind::Field, "iMaxBankingAmount"},
    {"descendpitch", KeyKind::Field, "iDescendPitch"},
    {"goalreachepsilon", KeyKind::Field, "iGoalReachEpsilon"},
    {"slidemoverange", KeyKind::Field, "iSlideMoveRange"},
    {"relativemovefactor", KeyKind::Field, "iRelativeMoveFactor"},
    {"collisionmultiplier", KeyKind::Field, "iCollisionMultiplier"},
    {"armourfamily", KeyKind::Field, "sArmourFamily"},
    {"attackfamily", KeyKind::Field, "sAttackFamily"},
    {"autoformationfamily", KeyKind::Field, "sAutoFormationFamily"},
    {"avoidancefamily", KeyKind::Field, "sAvoidanceFamily"},
    {"buildfamily", KeyKind::Field, "sBuildFamily"},
    {"collisionfamily", KeyKind::Field, "sCollisionFamily"},
    {"displayfamily", KeyKind::Field, "sDisplayFamily"},
    {"dockfamily", KeyKind::Field, "sDockFamily"},
    {"minimalfamilytofindpatharound", KeyKind::Field, "sMinimalFamilyToFindPathAround"},
    {"unitcapsfamily", KeyKind::Field, "sUnitCapsFamily"},
    {"squadronsize", KeyKind::Field, "iSquadronSize"},
    {"unitcapsnumber", KeyKind::Field, "iUnitCapsNumber"},
    {"militaryunit", KeyKind::Field, "iMilitaryUnit"},
    {"unitcapsshiptype", KeyKind::Field, "sUnitCapsShipType"},
    {"visualrange", KeyKind::Field, "iVisualRange"},
    {"prmsensorrange", KeyKind::Field, "iPrmSensorRange"},
    {"secsensorrange", KeyKind::Field, "iSecSensorRange"},
    {"detectionstrength", KeyKind::Field, "iDetectionStrength"},
    {"useengagementranges", KeyKind::Field, "iUseEngagementRanges"},
    {"retaliationrange", KeyKind::Field, "iRetaliationRange"},
    {"retaliationdistancefromgoal", KeyKind::Field, "iRetaliationDistanceFromGoal"},
    {"usetargetrandom", KeyKind::Field, "iUseTargetRandom"},
    {"targetrandompointxmin", KeyKind::Field, "fTargetRandomPointXMin"},
    {"targetrandompointxmax", KeyKind::Field, "fTargetRandomPointXMax"},
    {"targetrandompointymin", KeyKind::Field, "fTargetRandomPointYMin"},
    {"targetrandompointymax", KeyKind::Field, "fTargetRandomPointYMax"},
    {"targetrandompointzmin", KeyKind::Field, "fTargetRandomPointZMin"},
    {"targetrandompointzmax", KeyKind::Field, "fTargetRandomPointZMax"},
    {"healthbarstyle", KeyKind::Field, "iHealthBarStyle"},
    {"toicon", KeyKind::Field, "sTOIcon"},
    {"toscale", KeyKind::Field, "fTOScale"},
    {"togroupscale", KeyKind::Field, "fTOGroupScale"},
    {"togroupmergesize", KeyKind::Field, "iTOGroupMergeSize"},
    {"mouseoverminfadesize", KeyKind::Field, "fMouseOverMinFadeSize"},
    {"mouseovermaxfadesize", KeyKind::Field, "fMouseOverMaxFadeSize"},
    {"todistancefade0", KeyKind::Field, "iTODistanceFade0"},
    {"todistancedisappear0", KeyKind::Field, "iTODistanceDisappear0"},
    {"todistancefade1", KeyKind::Field, "iTODistanceFade1"},
    {"todistancedisappear1", KeyKind::Field, "iTODistanceDisappear1"},
    {"todistancefade2", KeyKind::Field, "iTODistanceFade2"},
    {"todistancedisappear2", KeyKind::Field, "iTODistanceDisappear2"},
    {"smhighlightdistmin", KeyKind::Field, "iSMHighlightDistMin"},
    {"smhighlightdistmax", KeyKind::Field, "iSMHighlightDistMax"},
    {"nlips", KeyKind::Field, "fNlips"},
    {"nlipsrange", KeyKind::Field, "iNlipsRange"},
    {"nlipsfar", KeyKind::Field, "fNlipsFar"},
    {"nlipsfarrange", KeyKind::Field, "iNlipsFarRange"},
    {"smrepresentation", KeyKind::Field, "sSMRepresentation"},
    {"meshrenderlimit", KeyKind::Field, "iMeshRenderLimit"},
    {"dotrenderlimit", KeyKind::Field, "iDotRenderLimit"},
    {"visibleinsecondary", KeyKind::Field, "iVisibleInSecondary"},
    {"goblinsstartfade", KeyKind::Field, "iGoblinsStartFade"},
    {"goblinsoff", KeyKind::Field, "iGoblinsOff"},
    {"minimumzoomfactor", KeyKind::Field, "fMinimumZoomFactor"},
    {"selectionlimit", KeyKind::Field, "iSelectionLimit"},
    {"preciseatilimit", KeyKind::Field, "iPreciseATILimit"},
    {"selectionpriority", KeyKind::Field, "iSelectionPriority"},
    {"minlod", KeyKind::Field, "fMinLOD"},
    {"uplod", KeyKind::UpLod, ""},
    {"uplod0", KeyKind::UpLod, ""},
    {"uplod1", KeyKind::UpLod, ""},
    {"uplod2", KeyKind::UpLod, ""},
    {"downlod", KeyKind::DownLod, ""},
    {"downlod0", KeyKind::DownLod, ""},
    {"downlod1", KeyKind::DownLod, ""},
    {"downlod2", KeyKind::DownLod, ""},
    {"battlescarmaxtribase", KeyKind::Field, "iBattleScarMaxTriBase"},
    {"battlescarmaxtriinc", KeyKind::Field, "iBattleScarMaxTriInc"},
    {"docktimebetweentwoformations", KeyKind::Field, "fDockTimeBetweenTwoFormations"},
    {"docktimebeforestart", KeyKind::Field, "fDockTimeBeforeStart"},
    {"docknrofshipsindockformation", KeyKind::Field, "iDockNrOfShipsInDockFormation"},
    {"dockformation", KeyKind::Field, "sDockFormation"},
    {"queueformation", KeyKind::Field, "sQueueFormation"},
    {"ignoreracewhendocking", KeyKind::Field, "iIgnoreRaceWhenDocking"},
    {"launchtimebetweentwoformations", KeyKind::Field, "fLaunchTimeBetweenTwoFormations"},
    {"launchtimebeforestart", KeyKind::Field, "fLaunchTimeBeforeStart"},
    {"launchnrofshipsindockformation", KeyKind::Field, "iLaunchNrOfShipsInDockFormation"},
    {"launchformation", KeyKind::Field, "sLaunchFormation"},
    {"dontdockwithotherraceships", KeyKind::Field, "iDontDockWithOtherRaceShips"},
    {"sobdietime", KeyKind::Field, "fSobDieTime"},
    {"sobspecialdietime", KeyKind::Field, "fSobSpecialDieTime"},
    {"specialdeathspeed", KeyKind::Field, "iSpecialDeathSpeed"},
    {"chanceofspecialdeath", KeyKind::Field, "fChanceOfSpecialDeath"},
    {"deadsobfadetime", KeyKind::Field, "fDeadSobFadeTime"},
    {"mirrorabovemaneuver", KeyKind::MirrorAbove, ""},
    {"mirrorbelowmaneuver", KeyKind::MirrorBelow, ""},
    {"istransferable", KeyKind::Field, "iIsTransferable"},
    {"tumblestaticx", KeyKind::Field, "iTumbleStaticX"},
    {"tumblestaticy", KeyKind::Field, "iTumbleStaticY"},
    {"tumblestaticz", KeyKind::Field, "iTumbleStaticZ"},
    {"tumbledynamicx", KeyKind::Field, "iTumbleDynamicX"},
    {"tumbledynamicy", KeyKind::Field, "iTumbleDynamicY"},
    {"tumbledynamicz", KeyKind::Field, "iTumbleDynamicZ"},
    {"tumblespecialdynamicx", KeyKind::Field, "iTumbleSpecialDynamicX"},
    {"tumblespecialdynamicy", KeyKind::Field, "iTumbleSpecialDynamicY"},
    {"tumblespecialdynamicz", KeyKind::Field, "iTumbleSpecialDynamicZ"},
    {"swayupdatetime", KeyKind::Field, "iSwayUpdateTime"},
    {"swaybobbingfactor", KeyKind::Field, "fSwayBobbingFactor"},
    {"swayrotatefactor", KeyKind::Field, "fSwayRotateFactor"},
    {"swayoffsetrandomx", KeyKind::Field, "iSwayOffsetRandomX"},
    {"swayoffsetrandomy", KeyKind::Field, "iSwayOffsetRandomY"},
    {"swayoffsetrandomz", KeyKind::Field, "iSwayOffsetRandomZ"},
    {"controllertype", KeyKind::Field, "sControllerType"},
    {"fightervalue", KeyKind::Field, "iFighterValue"},
    {"corvettevalue", KeyKind::Field, "iCorvetteValue"},
    {"frigatevalue", KeyKind::Field, "iFrigateValue"},
    {"neutralvalue", KeyKind::Field, "iNeutralValue"},
    {"antifightervalue", KeyKind::Field, "iAntiFighterValue"},
    {"anticorvettevalue", KeyKind::Field, "iAntiCorvetteValue"},
    {"antifrigatevalue", KeyKind::Field, "iAntiFrigateValue"},
    {"totalvalue", KeyKind::Field, "iTotalValue"},
    };
    return keys;
}

namespace {

// An entry name is compared eight characters at a time, lower-cased, the last block padded
// with zeros.
constexpr std::size_t kMaxKeyBlocks = 16;  // entry names of up to 128 characters

// The name's blocks and their hash; returns how many blocks.
std::size_t LowerBlocks(std::string_view s, std::uint64_t* blocks, std::uint64_t& hash) {
    const std::size_t n = asciicase::BlockCount(s);
    asciicase::BlockHash h(s.size());
    for (std::size_t b = 0; b < n; ++b) h.Add(blocks[b] = asciicase::LowerBlockAt(s, b));
    hash = h.Value();
    return n;
}

}  // namespace

const AssignmentKey* FindAssignmentKey(std::string_view entryName) {
    // Every assignment of every script comes through here: an open-addressed table four times as
    // large as the key list, keyed by the lower-cased name's blocks. The keys' blocks lie in one
    // array, so the whole table stays in a few kilobytes.
    struct Key {
        const AssignmentKey* key;
        std::size_t length;
        std::size_t firstBlock;
    };
    struct Table {
        std::vector<std::uint16_t> slots;  // 1 + index into keys, 0 for none
        std::vector<Key> keys;
        std::vector<std::uint64_t> blocks;
        std::size_t mask = 0;
        std::size_t longest = 0;
    };
    static const Table table = [] {
        Table t;
        std::size_t size = 1;
        while (size < 4 * AssignmentKeys().size()) size *= 2;
        t.slots.assign(size, 0);
        t.mask = size - 1;
        for (const auto& k : AssignmentKeys()) {
            const std::string_view key(k.key);
            if (key.size() > 8 * kMaxKeyBlocks) continue;  // no entry name is that long
            t.longest = std::max(t.longest, key.size());
            std::uint64_t blocks[kMaxKeyBlocks], hash = 0;
            const std::size_t n = LowerBlocks(key, blocks, hash);
            std::size_t at = hash & t.mask;
            while (t.slots[at]) at = (at + 1) & t.mask;
            t.keys.push_back({&k, key.size(), t.blocks.size()});
            t.blocks.insert(t.blocks.end(), blocks, blocks + n);
            t.slots[at] = static_cast<std::uint16_t>(t.keys.size());
        }
        return t;
    }();
    if (entryName.size() > table.longest) return nullptr;
    std::uint64_t blocks[kMaxKeyBlocks], hash = 0;
    const std::size_t n = LowerBlocks(entryName, blocks, hash);
    for (std::size_t at = hash & table.mask;; at = (at + 1) & table.mask) {
        if (!table.slots[at]) return nullptr;
        const Key& k = table.keys[table.slots[at] - 1u];
        const std::uint64_t* keyBlocks = table.blocks.data() + k.firstBlock;
        if (k.length == entryName.size() && std::equal(blocks, blocks + n, keyBlocks)) return k.key;
    }
}

const std::vector<Ability>& Abilities() {
    static const std::vector<Ability> abilities = {
        {"CanBeRepaired", "bCanBeRepaired", {}, nullptr, false},
        {"CanBeSalvaged", "bCanBeSalvaged", {}, nullptr, false},
        {"WaypointMove", "bWaypointMove", {}, nullptr, false},
        {"CanLaunch", "bCanLaunch", {}, nullptr, false},
        {"ParadeCommand", "bParadeCommand", {"ParadeCommand_IsActive"}, nullptr, false},
        {"SalvageCommand", "bSalvageCommand", {"SalvageCommand_IsActive"}, nullptr, false},
        {"CanDock", "bCanDock", {"CanDock_IsActive", "CanDock_ByPlayer"}, nullptr, false},
        {"SpecialAttack", "bSpecialAttack", {"SpecialAttack_IsActive"}, "SpecialAttack_AttackName", false},
        {"CaptureCommand", "bCaptureCommand", {"CaptureCommand_IsActive", "CaptureCommand_LatchOffset"}, nullptr, false},
        {"HyperspaceInhibitorAbility", "bHyperspaceInhibitorAbility",
         {"HyperspaceInhibitorAbility_IsActive", "HyperspaceInhibitorAbility_InhibitorRadius"}, nullptr, false},
        {"MinelayerAbility", "bMinelayerAbility", {"MinelayerAbility_IsActive", "MinelayerAbility_TimeToLay"}, nullptr, false},
        {"MoveCommand", "bMoveCommand", {"MoveCommand_IsActive", "MoveCommand_OneShot"}, nullptr, false},
        {"RetireAbility", "bRetireAbility", {"RetireAbility_IsActive", "RetireAbility_DisabledByRace"}, nullptr, false},
        {"CanBeCaptured", "bCanBeCaptured", {"CanBeCaptured_IsActive", "CanBeCaptured_SlowFactor"}, nullptr, false},
        {"GuardCommand", "bGuardCommand",
         {"GuardCommand_IsActive", "GuardCommand_GuardRadius", "GuardCommand_GuardDistance"}, nullptr, false},
        {"DefenseFieldShieldAbility", "bDefenseFieldShieldAbility",
         {"DefenseFieldShieldAbility_IsActive", "DefenseFieldShieldAbility_ShieldRadius",
          "DefenseFieldShieldAbility_DustCloudMultiplier", "DefenseFieldShieldAbility_NebulaMultiplier"}, nullptr, false},
        {"Harvest", "bHarvest", {"Harvest_IsActive", "Harvest_Capacity", "Harvest_HarvestRate", "Harvest_HarvestRadius"}, nullptr, false},
        {"HyperspaceViaGateCommand", "bHyperspaceViaGateCommand",
         {"HyperspaceViaGateCommand_IsActive", "HyperspaceViaGateCommand_TransitTime",
          "HyperspaceViaGateCommand_CostMultiplier", "HyperspaceViaGateCommand_DamageMultiplier"}, nullptr, false},
        {"SensorPing", "bSensorPing",
         {"SensorPing_IsActive", "SensorPing_InfinitePing", "SensorPing_PingDuration", "SensorPing_DetectionStrength"}, nullptr, false},
        {"FormHyperspaceGateCommand", "bFormHyperspaceGateCommand",
         {"FormHyperspaceGateCommand_IsActive", "FormHyperspaceGateCommand_EnterRadius", "FormHyperspaceGateCommand_ExitRadius",
          "FormHyperspaceGateCommand_CostToLink", "FormHyperspaceGateCommand_CostToJump"}, nullptr, false},
        {"HyperSpaceCommand", "bHyperSpaceCommand",
         {"HyperSpaceCommand_IsActive", "HyperSpaceCommand_CostFactor", "HyperSpaceCommand_CostMin",
          "HyperSpaceCommand_CostMax", "HyperSpaceCommand_RecoveryTime", "HyperSpaceCommand_TransitTime"}, nullptr, false},
        {"CloakAbility", "bCloakAbility",
         {"CloakAbility_IsActive", "CloakAbility_CloakStrength", "CloakAbility_CloakRadius", "CloakAbility_EnergyCutoff",
          "CloakAbility_EnergyUsage", "CloakAbility_EnergyCost", "CloakAbility_EnergyRegen", "CloakAbility_EnergyMinimum"}, nullptr, false},
        {"DefenseFieldAbility", "bDefenseFieldAbility",
         {"DefenseFieldAbility_IsActive", "DefenseFieldAbility_IsEngaged", "DefenseFieldAbility_FieldRadius",
          "DefenseFieldAbility_EnergyMax", "DefenseFieldAbility_EnergyCutoff", "DefenseFieldAbility_EnergyCost",
          "DefenseFieldAbility_EnergyRegen", "DefenseFieldAbility_EnergyMinimum"}, "DefenseFieldAbility_EffectName", false},
        {"CanAttack", "bCanAttack", {}, nullptr, true},
        {"CanBuildShips", "bCanBuildShips", {}, nullptr, true},
        {"RepairCommand", "bRepairCommand", {}, nullptr, true},
        {"ShipHold", "bShipHold", {}, nullptr, true},
    };
    return abilities;
}

const std::vector<NamedField>& NamedFields() {
    static const std::vector<NamedField> fields = {
        {"sPassiveFormation", NameKind::Formation, -1},
        {"sDefensiveFormation", NameKind::Formation, -1},
        {"sAggressiveFormation", NameKind::Formation, -1},
        {"sDockFormation", NameKind::Formation, -1},
        {"sLaunchFormation", NameKind::Formation, -1},
        {"sQueueFormation", NameKind::Formation, -1},
        {"sArmourFamily", NameKind::Family, 0},
        {"sAttackFamily", NameKind::Family, 1},
        {"sAutoFormationFamily", NameKind::Family, 2},
        {"sAvoidanceFamily", NameKind::Family, 3},
        {"sBuildFamily", NameKind::Family, 4},
        {"sCollisionFamily", NameKind::Family, 5},
        {"sDisplayFamily", NameKind::Family, 6},
        {"sDockFamily", NameKind::Family, 7},
        {"sMinimalFamilyToFindPathAround", NameKind::Family, 8},
        {"sUnitCapsFamily", NameKind::Family, 9},
        {"MAM_Num", NameKind::Maneuver, -1},
        {"MBM_Num", NameKind::Maneuver, -1},
    };
    return fields;
}

const std::vector<Section>& Sections() {
    static const std::vector<Section> sections = {
    {{"--    BASICINFO"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.displayedName = ", "sDisplayedName"},
        {Row::Property, "NewShipType.sobDescription = ", "sSobDescription"},
        {Row::Property, "NewShipType.buildCost = ", "iBuildCost"},
        {Row::Property, "NewShipType.buildTime = ", "iBuildTime"},
        {Row::Property, "NewShipType.buildPriorityOrder = ", "iBuildPriorityOrder"},
        {Row::SharedModel, "LoadSharedModel(NewShipType,", "sLoadSharedModel"},
     }},
    {{"--     PHYSICALSTATS"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.mass = ", "iMass"},
        {Row::Property, "NewShipType.maxhealth = ", "iMaxhealth"},
        {Row::Property, "NewShipType.regentime = ", "fRegentime"},
        {Row::Property, "NewShipType.minRegenTime = ", "fMinRegenTime"},
        {Row::Property, "NewShipType.sideArmourDamage = ", "fSideArmourDamage"},
        {Row::Property, "NewShipType.rearArmourDamage = ", "fRearArmourDamage"},
        {Row::Property, "NewShipType.dustCloudDamageTime = ", "iDustCloudDamageTime"},
        {Row::Property, "NewShipType.nebulaDamageTime = ", "iNebulaDamageTime"},
     }},
    {{"--      FORMATIONS"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.passiveFormation = ", "sPassiveFormation"},
        {Row::Property, "NewShipType.defensiveFormation = ", "sDefensiveFormation"},
        {Row::Property, "NewShipType.aggressiveFormation = ", "sAggressiveFormation"},
        {Row::Property, "NewShipType.formationSpacing = ", "iFormationSpacing"},
        {Row::Optional, "NewShipType.paradeData = ", "sParadeData"},
     }},
    {{"--      PROPULSION"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.thrusterMaxSpeed = ", "fThrusterMaxSpeed"},
        {Row::Property, "NewShipType.mainEngineMaxSpeed = ", "fMainEngineMaxSpeed"},
        {Row::Property, "NewShipType.rotationMaxSpeed = ", "fRotationMaxSpeed"},
        {Row::Property, "NewShipType.thrusterAccelTime = ", "fThrusterAccelTime"},
        {Row::Property, "NewShipType.thrusterBrakeTime = ", "fThrusterBrakeTime"},
        {Row::Property, "NewShipType.mainEngineAccelTime = ", "fMainEngineAccelTime"},
        {Row::Property, "NewShipType.mainEngineBrakeTime = ", "fMainEngineBrakeTime"},
        {Row::Property, "NewShipType.rotationAccelTime = ", "fRotationAccelTime"},
        {Row::Property, "NewShipType.rotationBrakeTime = ", "fRotationBrakeTime"},
        {Row::Property, "NewShipType.thrusterUsage = ", "fThrusterUsage"},
        {Row::Property, "NewShipType.accelerationAngle = ", "fAccelerationAngle"},
        {Row::Property, "NewShipType.mirrorAngle = ", "fMirrorAngle"},
        {Row::Property, "NewShipType.secondaryTurnAngle = ", "fSecondaryTurnAngle"},
        {Row::Property, "NewShipType.trailLinger = ", "fTrailLinger"},
     }},
    {{"--      MOVEMENT"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.maxBankingAmount = ", "iMaxBankingAmount"},
        {Row::Property, "NewShipType.descendPitch = ", "iDescendPitch"},
        {Row::Property, "NewShipType.goalReachEpsilon = ", "iGoalReachEpsilon"},
        {Row::Property, "NewShipType.slideMoveRange = ", "iSlideMoveRange"},
        {Row::Property, "NewShipType.relativeMoveFactor = ", "iRelativeMoveFactor"},
        {Row::Property, "NewShipType.collisionMultiplier = ", "iCollisionMultiplier"},
     }},
    {{"--      CLASSIFICATIONS"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.ArmourFamily = ", "sArmourFamily"},
        {Row::Property, "NewShipType.AttackFamily = ", "sAttackFamily"},
        {Row::Property, "NewShipType.AutoFormationFamily = ", "sAutoFormationFamily"},
        {Row::Property, "NewShipType.AvoidanceFamily = ", "sAvoidanceFamily"},
        {Row::Property, "NewShipType.BuildFamily = ", "sBuildFamily"},
        {Row::Property, "NewShipType.CollisionFamily = ", "sCollisionFamily"},
        {Row::Property, "NewShipType.DisplayFamily = ", "sDisplayFamily"},
        {Row::Property, "NewShipType.DockFamily = ", "sDockFamily"},
        {Row::Property, "NewShipType.MinimalFamilyToFindPathAround = ", "sMinimalFamilyToFindPathAround"},
        {Row::Property, "NewShipType.UnitCapsFamily = ", "sUnitCapsFamily"},
        {Row::Property, "NewShipType.SquadronSize = ", "iSquadronSize"},
        {Row::Property, "NewShipType.unitCapsNumber = ", "iUnitCapsNumber"},
        {Row::Property, "NewShipType.militaryUnit = ", "iMilitaryUnit"},
        {Row::Optional, "NewShipType.UnitCapsShipType = ", "sUnitCapsShipType"},
     }},
    {{"--      SENSORS"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.visualRange = ", "iVisualRange"},
        {Row::Property, "NewShipType.prmSensorRange = ", "iPrmSensorRange"},
        {Row::Property, "NewShipType.secSensorRange = ", "iSecSensorRange"},
        {Row::Property, "NewShipType.detectionStrength = ", "iDetectionStrength"},
     }},
    {{"--      COMBAT"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.useEngagementRanges = ", "iUseEngagementRanges"},
        {Row::Property, "NewShipType.retaliationRange = ", "iRetaliationRange"},
        {Row::Property, "NewShipType.retaliationDistanceFromGoal = ", "iRetaliationDistanceFromGoal"},
        {Row::Optional, "NewShipType.useTargetRandom = ", "iUseTargetRandom"},
        {Row::Optional, "NewShipType.targetRandomPointXMin = ", "fTargetRandomPointXMin"},
        {Row::Optional, "NewShipType.targetRandomPointXMax = ", "fTargetRandomPointXMax"},
        {Row::Optional, "NewShipType.targetRandomPointYMin = ", "fTargetRandomPointYMin"},
        {Row::Optional, "NewShipType.targetRandomPointYMax = ", "fTargetRandomPointYMax"},
        {Row::Optional, "NewShipType.targetRandomPointZMin = ", "fTargetRandomPointZMin"},
        {Row::Optional, "NewShipType.targetRandomPointZMax = ", "fTargetRandomPointZMax"},
     }},
    {{"--      UIVISIBILITY"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.healthBarStyle = ", "iHealthBarStyle"},
        {Row::Property, "NewShipType.TOIcon = ", "sTOIcon"},
        {Row::Property, "NewShipType.TOScale = ", "fTOScale"},
        {Row::Property, "NewShipType.TOGroupScale = ", "fTOGroupScale"},
        {Row::Property, "NewShipType.TOGroupMergeSize = ", "iTOGroupMergeSize"},
        {Row::Property, "NewShipType.mouseOverMinFadeSize = ", "fMouseOverMinFadeSize"},
        {Row::Property, "NewShipType.mouseOverMaxFadeSize = ", "fMouseOverMaxFadeSize"},
        {Row::Property, "NewShipType.TODistanceFade0 = ", "iTODistanceFade0"},
        {Row::Property, "NewShipType.TODistanceDisappear0 = ", "iTODistanceDisappear0"},
        {Row::Property, "NewShipType.TODistanceFade1 = ", "iTODistanceFade1"},
        {Row::Property, "NewShipType.TODistanceDisappear1 = ", "iTODistanceDisappear1"},
        {Row::Property, "NewShipType.TODistanceFade2 = ", "iTODistanceFade2"},
        {Row::Property, "NewShipType.TODistanceDisappear2 = ", "iTODistanceDisappear2"},
        {Row::Optional, "NewShipType.SMHighlightDistMin = ", "iSMHighlightDistMin"},
        {Row::Optional, "NewShipType.SMHighlightDistMax = ", "iSMHighlightDistMax"},
     }},
    {{"--      MESHVISIBILITY"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.nlips = ", "fNlips"},
        {Row::Property, "NewShipType.nlipsRange = ", "iNlipsRange"},
        {Row::Property, "NewShipType.nlipsFar = ", "fNlipsFar"},
        {Row::Property, "NewShipType.nlipsFarRange = ", "iNlipsFarRange"},
        {Row::Property, "NewShipType.SMRepresentation = ", "sSMRepresentation"},
        {Row::Property, "NewShipType.meshRenderLimit = ", "iMeshRenderLimit"},
        {Row::Property, "NewShipType.dotRenderLimit = ", "iDotRenderLimit"},
        {Row::Property, "NewShipType.visibleInSecondary = ", "iVisibleInSecondary"},
        {Row::Property, "NewShipType.goblinsStartFade = ", "iGoblinsStartFade"},
        {Row::Property, "NewShipType.goblinsOff = ", "iGoblinsOff"},
        {Row::Property, "NewShipType.minimumZoomFactor = ", "fMinimumZoomFactor"},
        {Row::Property, "NewShipType.selectionLimit = ", "iSelectionLimit"},
        {Row::Property, "NewShipType.preciseATILimit = ", "iPreciseATILimit"},
        {Row::Property, "NewShipType.selectionPriority = ", "iSelectionPriority"},
        {Row::Property, "NewShipType.minLOD = ", "fMinLOD"},
        {Row::Lod, "NewShipType.upLOD = ", "iUpLOD0"},
        {Row::Lod, "NewShipType.upLOD = ", "iUpLOD1"},
        {Row::Lod, "NewShipType.upLOD = ", "iUpLOD2"},
        {Row::Lod, "NewShipType.downLOD = ", "iDownLOD0"},
        {Row::Lod, "NewShipType.downLOD = ", "iDownLOD1"},
        {Row::Lod, "NewShipType.downLOD = ", "iDownLOD2"},
        {Row::Optional, "NewShipType.battleScarMaxTriBase = ", "iBattleScarMaxTriBase"},
        {Row::Optional, "NewShipType.battleScarMaxTriInc = ", "iBattleScarMaxTriInc"},
     }},
    {{"--      DOCKING", "--      -Docking"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.dockTimeBetweenTwoFormations = ", "fDockTimeBetweenTwoFormations"},
        {Row::Property, "NewShipType.dockTimeBeforeStart = ", "fDockTimeBeforeStart"},
        {Row::Property, "NewShipType.dockNrOfShipsInDockFormation = ", "iDockNrOfShipsInDockFormation"},
        {Row::Property, "NewShipType.dockFormation = ", "sDockFormation"},
        {Row::Property, "NewShipType.queueFormation = ", "sQueueFormation"},
        {Row::Property, "NewShipType.ignoreRaceWhenDocking = ", "iIgnoreRaceWhenDocking"},
     }},
    {{"--      DOCKING", "--      -Launching"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.launchTimeBetweenTwoFormations = ", "fLaunchTimeBetweenTwoFormations"},
        {Row::Property, "NewShipType.launchTimeBeforeStart = ", "fLaunchTimeBeforeStart"},
        {Row::Property, "NewShipType.launchNrOfShipsInDockFormation = ", "iLaunchNrOfShipsInDockFormation"},
        {Row::Property, "NewShipType.launchFormation = ", "sLaunchFormation"},
        {Row::Optional, "NewShipType.dontDockWithOtherRaceShips = ", "iDontDockWithOtherRaceShips"},
     }},
    {{"--      WEAPONRY"}, Section::IfWeapons, Section::Weapons,
     {

     }},
    {{"--      ABILITIES"}, Section::Always, Section::Abilities,
     {

     }},
    {{"--      DEATH"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.sobDieTime = ", "fSobDieTime"},
        {Row::Property, "NewShipType.sobSpecialDieTime = ", "fSobSpecialDieTime"},
        {Row::Property, "NewShipType.specialDeathSpeed = ", "iSpecialDeathSpeed"},
        {Row::Property, "NewShipType.chanceOfSpecialDeath = ", "fChanceOfSpecialDeath"},
        {Row::Property, "NewShipType.deadSobFadeTime = ", "fDeadSobFadeTime"},
     }},
    {{"--      MISCMOVEMENT"}, Section::Always, Section::None,
     {
        {Row::Mirror, "NewShipType.mirrorAboveManeuver = ", "MAM_Num"},
        {Row::Mirror, "NewShipType.mirrorBelowManeuver = ", "MBM_Num"},
        {Row::Property, "NewShipType.controllerType = ", "sControllerType"},
        {Row::Property, "NewShipType.isTransferable = ", "iIsTransferable"},
        {Row::Property, "NewShipType.tumbleStaticX = ", "iTumbleStaticX"},
        {Row::Property, "NewShipType.tumbleStaticY = ", "iTumbleStaticY"},
        {Row::Property, "NewShipType.tumbleStaticZ = ", "iTumbleStaticZ"},
        {Row::Property, "NewShipType.tumbleDynamicX = ", "iTumbleDynamicX"},
        {Row::Property, "NewShipType.tumbleDynamicY = ", "iTumbleDynamicY"},
        {Row::Property, "NewShipType.tumbleDynamicZ = ", "iTumbleDynamicZ"},
        {Row::Property, "NewShipType.tumbleSpecialDynamicX = ", "iTumbleSpecialDynamicX"},
        {Row::Property, "NewShipType.tumbleSpecialDynamicY = ", "iTumbleSpecialDynamicY"},
        {Row::Property, "NewShipType.tumbleSpecialDynamicZ = ", "iTumbleSpecialDynamicZ"},
        {Row::Property, "NewShipType.swayUpdateTime = ", "iSwayUpdateTime"},
        {Row::Property, "NewShipType.swayOffsetRandomX = ", "iSwayOffsetRandomX"},
        {Row::Property, "NewShipType.swayOffsetRandomY = ", "iSwayOffsetRandomY"},
        {Row::Property, "NewShipType.swayOffsetRandomZ = ", "iSwayOffsetRandomZ"},
        {Row::Property, "NewShipType.swayBobbingFactor = ", "fSwayBobbingFactor"},
        {Row::Property, "NewShipType.swayRotateFactor = ", "fSwayRotateFactor"},
     }},
    {{"--       AIVALUES"}, Section::Always, Section::None,
     {
        {Row::Property, "NewShipType.fighterValue = ", "iFighterValue"},
        {Row::Property, "NewShipType.corvetteValue = ", "iCorvetteValue"},
        {Row::Property, "NewShipType.frigateValue = ", "iFrigateValue"},
        {Row::Property, "NewShipType.neutralValue = ", "iNeutralValue"},
        {Row::Property, "NewShipType.antiFighterValue = ", "iAntiFighterValue"},
        {Row::Property, "NewShipType.antiCorvetteValue = ", "iAntiCorvetteValue"},
        {Row::Property, "NewShipType.antiFrigateValue = ", "iAntiFrigateValue"},
        {Row::Property, "NewShipType.totalValue = ", "iTotalValue"},
     }},
    {{"--       SALVAGE"}, Section::IfSalvage, Section::Salvage,
     {

     }},
    {{"--       SOUNDS"}, Section::Always, Section::Sounds,
     {

     }},
    {{"--       NOT-YET-RECOGNIZED LINES"}, Section::IfUnrecognized, Section::Unrecognized,
     {

     }},
    };
    return sections;
}

}  // namespace scriptformat
