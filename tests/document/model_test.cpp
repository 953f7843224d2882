// The document model: the field table, text access to fields, and the list operations.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <stdexcept>

#include "docsupport.h"

namespace {

// Every public field in declaration order, each with its type: S string, I int32, H int16,
// R real, F flag.
const char* const kFields =
    "S sLoadSharedModel S sShieldType I iVal1 I iVal2 S sDisplayedName S sSobDescription "
    "I iBuildCost I iBuildTime I iBuildPriorityOrder S LSPL_Directory S LSPL_Effect I LSPL_Val "
    "S LSPL_Marker I LSPL_Num I iMass I iMaxhealth R fRegentime R fMinRegenTime "
    "R fSideArmourDamage R fRearArmourDamage I iDustCloudDamageTime I iNebulaDamageTime "
    "S sPassiveFormation S sDefensiveFormation S sAggressiveFormation S sParadeData "
    "I iFormationSpacing R fThrusterMaxSpeed R fMainEngineMaxSpeed R fRotationMaxSpeed "
    "R fThrusterAccelTime R fThrusterBrakeTime R fMainEngineAccelTime R fMainEngineBrakeTime "
    "R fRotationAccelTime R fRotationBrakeTime R fThrusterUsage R fAccelerationAngle "
    "R fMirrorAngle R fSecondaryTurnAngle R fTrailLinger I iMaxBankingAmount I iDescendPitch "
    "I iGoalReachEpsilon I iSlideMoveRange I iRelativeMoveFactor I iCollisionMultiplier "
    "S sArmourFamily S sAttackFamily S sAutoFormationFamily S sAvoidanceFamily S sBuildFamily "
    "S sCollisionFamily S sDisplayFamily S sDockFamily S sMinimalFamilyToFindPathAround "
    "S sUnitCapsFamily I iUnitCapsNumber S sUnitCapsShipType I iSquadronSize H iMilitaryUnit "
    "I iVisualRange I iPrmSensorRange I iSecSensorRange I iDetectionStrength "
    "H iUseEngagementRanges I iRetaliationRange I iRetaliationDistanceFromGoal H iUseTargetRandom "
    "R fTargetRandomPointXMin R fTargetRandomPointXMax R fTargetRandomPointYMin "
    "R fTargetRandomPointYMax R fTargetRandomPointZMin R fTargetRandomPointZMax I iHealthBarStyle "
    "S sTOIcon R fTOScale R fTOGroupScale I iTOGroupMergeSize R fMouseOverMinFadeSize "
    "R fMouseOverMaxFadeSize I iTODistanceFade0 I iTODistanceDisappear0 I iTODistanceFade1 "
    "I iTODistanceDisappear1 I iTODistanceFade2 I iTODistanceDisappear2 I iSMHighlightDistMin "
    "I iSMHighlightDistMax R fNlips I iNlipsRange R fNlipsFar I iNlipsFarRange "
    "S sSMRepresentation I iMeshRenderLimit I iDotRenderLimit I iVisibleInSecondary "
    "I iGoblinsStartFade I iGoblinsOff R fMinimumZoomFactor I iSelectionLimit I iPreciseATILimit "
    "I iSelectionPriority R fMinLOD I iUpLOD0 I iUpLOD1 I iUpLOD2 I iDownLOD0 I iDownLOD1 "
    "I iDownLOD2 I iBattleScarMaxTriBase I iBattleScarMaxTriInc R fDockTimeBetweenTwoFormations "
    "R fDockTimeBeforeStart I iDockNrOfShipsInDockFormation S sDockFormation S sQueueFormation "
    "I iIgnoreRaceWhenDocking R fLaunchTimeBetweenTwoFormations R fLaunchTimeBeforeStart "
    "I iLaunchNrOfShipsInDockFormation S sLaunchFormation I iDontDockWithOtherRaceShips "
    "I SSWC_Num S SSWC_WeaponName S SSWC_HardPointName S SSWC_FiringEffectName R fSobDieTime "
    "R fSobSpecialDieTime I iSpecialDeathSpeed R fChanceOfSpecialDeath R fDeadSobFadeTime "
    "I MAM_Num I MBM_Num S sControllerType I iIsTransferable I iTumbleStaticX I iTumbleStaticY "
    "I iTumbleStaticZ I iTumbleDynamicX I iTumbleDynamicY I iTumbleDynamicZ "
    "I iTumbleSpecialDynamicX I iTumbleSpecialDynamicY I iTumbleSpecialDynamicZ I iSwayUpdateTime "
    "I iSwayOffsetRandomX I iSwayOffsetRandomY I iSwayOffsetRandomZ R fSwayBobbingFactor "
    "R fSwayRotateFactor I iFighterValue I iCorvetteValue I iFrigateValue I iNeutralValue "
    "I iAntiFighterValue I iAntiCorvetteValue I iAntiFrigateValue I iTotalValue I SSOD_Num "
    "S SSOD_SalvageChunkName I SSOD_NumChunksToSpawn R SSOD_PercentOfTotalValue R SSOD_PositionX "
    "R SSOD_PositionY R SSOD_PositionZ R SSOD_RandomAddToSpawnLocation "
    "R SSOD_InitialVerticalDirection R SSOD_InitialHorizontalDirection R SSOD_Unknown1 "
    "R SSOD_Unknown2 R SSOD_VelocityX R SSOD_VelocityY R SSOD_VelocityZ R SSOD_CloudDispersion "
    "R SSOD_RotationX R SSOD_RotationZ R SSOD_RotationY R SSOD_RandomTumbleModifier "
    "F bCanBeRepaired F bCanBeSalvaged F bWaypointMove F bCanLaunch F bParadeCommand "
    "F ParadeCommand_IsActive F bSalvageCommand F SalvageCommand_IsActive F bCanDock "
    "F CanDock_IsActive F CanDock_ByPlayer F bSpecialAttack F SpecialAttack_IsActive "
    "S SpecialAttack_AttackName F bCaptureCommand F CaptureCommand_IsActive "
    "R CaptureCommand_LatchOffset F bHyperspaceInhibitorAbility "
    "F HyperspaceInhibitorAbility_IsActive R HyperspaceInhibitorAbility_InhibitorRadius "
    "F bMinelayerAbility F MinelayerAbility_IsActive R MinelayerAbility_TimeToLay F bMoveCommand "
    "F MoveCommand_IsActive F MoveCommand_OneShot F bRetireAbility F RetireAbility_IsActive "
    "F RetireAbility_DisabledByRace F bCanBeCaptured F CanBeCaptured_IsActive "
    "R CanBeCaptured_SlowFactor F bGuardCommand F GuardCommand_IsActive "
    "R GuardCommand_GuardRadius R GuardCommand_GuardDistance F bDefenseFieldShieldAbility "
    "F DefenseFieldShieldAbility_IsActive R DefenseFieldShieldAbility_ShieldRadius "
    "R DefenseFieldShieldAbility_DustCloudMultiplier R DefenseFieldShieldAbility_NebulaMultiplier "
    "F bHarvest F Harvest_IsActive R Harvest_Capacity R Harvest_HarvestRate "
    "R Harvest_HarvestRadius F bHyperspaceViaGateCommand F HyperspaceViaGateCommand_IsActive "
    "R HyperspaceViaGateCommand_TransitTime R HyperspaceViaGateCommand_CostMultiplier "
    "R HyperspaceViaGateCommand_DamageMultiplier F bSensorPing F SensorPing_IsActive "
    "F SensorPing_InfinitePing R SensorPing_PingDuration R SensorPing_DetectionStrength "
    "F bFormHyperspaceGateCommand F FormHyperspaceGateCommand_IsActive "
    "R FormHyperspaceGateCommand_EnterRadius R FormHyperspaceGateCommand_ExitRadius "
    "R FormHyperspaceGateCommand_CostToLink R FormHyperspaceGateCommand_CostToJump "
    "F bHyperSpaceCommand F HyperSpaceCommand_IsActive R HyperSpaceCommand_CostFactor "
    "R HyperSpaceCommand_CostMin R HyperSpaceCommand_CostMax R HyperSpaceCommand_RecoveryTime "
    "R HyperSpaceCommand_TransitTime F bCloakAbility F CloakAbility_IsActive "
    "I CloakAbility_CloakStrength R CloakAbility_CloakRadius R CloakAbility_EnergyCutoff "
    "R CloakAbility_EnergyUsage R CloakAbility_EnergyCost R CloakAbility_EnergyRegen "
    "R CloakAbility_EnergyMinimum F bDefenseFieldAbility F DefenseFieldAbility_IsActive "
    "F DefenseFieldAbility_IsEngaged R DefenseFieldAbility_FieldRadius "
    "R DefenseFieldAbility_EnergyMax R DefenseFieldAbility_EnergyCutoff "
    "R DefenseFieldAbility_EnergyCost R DefenseFieldAbility_EnergyRegen "
    "R DefenseFieldAbility_EnergyMinimum S DefenseFieldAbility_EffectName F bCanAttack "
    "F CanAttack_IsActive I CanAttack_NumberOfShips F CanAttack_Kamikaze F CanAttack_Interpolate "
    "R CanAttack_SplitDelay R CanAttack_DistanceMultiplier S CanAttack_AttackFamily "
    "I CanAttack_AttackFamilyCount S CanAttack_DefaultAttackStyle S CanAttack_FamilyException "
    "S CanAttack_StyleException I CanAttack_FamilyExceptionCount I CanAttack_StyleExceptionCount "
    "F bCanBuildShips F CanBuildShips_IsActive S CanBuildShips_BuildFamily "
    "I CanBuildShips_BuildFamilyCount S CanBuildShips_DisplayFamily "
    "I CanBuildShips_DisplayFamilyCount F bRepairCommand F RepairCommand_IsActive "
    "R RepairCommand_HoverDistance R RepairCommand_RepairRate S RepairCommand_FamilyException "
    "I RepairCommand_FamilyExceptionCount R RepairCommand_RepairRateException "
    "I RepairCommand_RepairRateExceptionCount F bShipHold F ShipHold_IsActive "
    "R ShipHold_DropoffRate I ShipHold_ShipholdSize S ShipHold_EffectName S ShipHold_DockFamily "
    "I ShipHold_DockFamilyCount R ShipHold_RepairRate S ShipHold_DockFamilyException "
    "I ShipHold_DockFamilyExceptionCount R ShipHold_RepairRateException "
    "I ShipHold_RepairRateExceptionCount";

FieldType TypeOf(char letter) {
    switch (letter) {
        case 'S': return FieldType::String;
        case 'I': return FieldType::Int32;
        case 'H': return FieldType::Int16;
        case 'R': return FieldType::Real;
        default: return FieldType::Flag;
    }
}

// A value of the field's type that differs for every index.
FieldValue Distinct(FieldType type, int i) {
    switch (type) {
        case FieldType::String: return "v" + std::to_string(i);
        case FieldType::Int32: return std::int32_t(100000 + i);
        case FieldType::Int16: return std::int16_t(1000 + i);
        case FieldType::Real: return i + 0.25;
        case FieldType::Flag: return i % 2 == 0;
    }
    return {};
}

std::vector<std::string> Weapons(SR2ShipFile& d) {
    std::vector<std::string> names;
    for (int i = 0; i <= d.SSWC_Num; ++i) {
        d.SSWC_LoadValues(static_cast<std::int16_t>(i));
        names.push_back(d.SSWC_WeaponName);
    }
    return names;
}

SR2ShipFile WithWeapons(std::initializer_list<const char*> names) {
    SR2ShipFile d;
    d.Initialize();
    for (const char* n : names) d.SSWC_AddItem(n, std::string(n) + "_hp", std::string(n) + "_fx");
    return d;
}

}  // namespace

TEST(FieldTable, EveryFieldByItsExactNameInDeclarationOrderWithItsType) {
    std::istringstream in(kFields);
    std::string type, name;
    std::size_t i = 0;
    const auto& fields = SR2ShipFile::Fields();
    while (in >> type >> name) {
        ASSERT_LT(i, fields.size());
        EXPECT_EQ(fields[i].name, name) << "position " << i;
        EXPECT_EQ(fields[i].type, TypeOf(type[0])) << name;
        EXPECT_EQ(fields[i].index, i) << name;
        const auto* found = SR2ShipFile::FindField(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->index, i) << name;
        ++i;
    }
    EXPECT_EQ(i, 308u);
    EXPECT_EQ(fields.size(), 308u);
}

TEST(FieldTable, NamesAreMatchedExactly) {
    EXPECT_EQ(SR2ShipFile::FindField("ibuildcost"), nullptr);
    EXPECT_EQ(SR2ShipFile::FindField("iBuildCost "), nullptr);
    EXPECT_EQ(SR2ShipFile::FindField(""), nullptr);
    SR2ShipFile d;
    EXPECT_THROW(d.GetField("NoSuchField"), std::invalid_argument);
    EXPECT_THROW(d.SetField("NoSuchField", 1), std::invalid_argument);
    EXPECT_THROW(d.GetFieldText("iMASS"), std::invalid_argument);
    EXPECT_THROW(d.SetFieldText("iMASS", "1"), std::invalid_argument);
}

// Each name reaches its own member: writing every field with a distinct value and reading all
// back finds each value where it was put, and the member of that name holds it.
TEST(FieldTable, EachNameReachesItsOwnMember) {
    SR2ShipFile d;
    const auto& fields = SR2ShipFile::Fields();
    for (const auto& f : fields) {
        const FieldValue v = d.GetField(f.name);
        EXPECT_EQ(v.index(), static_cast<std::size_t>(f.type)) << f.name;
        EXPECT_TRUE(std::visit([](const auto& x) { return x == std::decay_t<decltype(x)>{}; }, v))
            << f.name << " does not start at zero, empty or false";
    }
    for (const auto& f : fields) d.SetField(f.name, Distinct(f.type, static_cast<int>(f.index)));
    for (const auto& f : fields)
        EXPECT_EQ(d.GetField(f.name), Distinct(f.type, static_cast<int>(f.index))) << f.name;
    auto at = [](const char* name) { return static_cast<int>(SR2ShipFile::FindField(name)->index); };
    EXPECT_EQ(d.iBuildCost, std::get<std::int32_t>(Distinct(FieldType::Int32, at("iBuildCost"))));
    EXPECT_EQ(d.fMinRegenTime, std::get<double>(Distinct(FieldType::Real, at("fMinRegenTime"))));
    EXPECT_EQ(d.iMilitaryUnit, std::get<std::int16_t>(Distinct(FieldType::Int16, at("iMilitaryUnit"))));
    EXPECT_EQ(d.DefenseFieldAbility_EffectName,
              std::get<std::string>(Distinct(FieldType::String, at("DefenseFieldAbility_EffectName"))));
    EXPECT_THROW(d.SetField("iMass", 2.5), std::invalid_argument);         // a real into an int32
    EXPECT_THROW(d.SetField("iMilitaryUnit", 3), std::invalid_argument);  // an int32 into an int16
    EXPECT_EQ(d.GetField("iMass"), Distinct(FieldType::Int32, at("iMass")));
}

TEST(FieldText, PlainNumberFormsOut) {
    SR2ShipFile d;
    d.iBuildCost = -5;
    d.fRegentime = 0.25;
    d.fMinRegenTime = 1E-05;
    d.fTOScale = 3;
    d.iMilitaryUnit = -2;
    d.bCanDock = true;
    d.sDisplayedName = " Spaced \"name\" ";
    EXPECT_EQ(d.GetFieldText("iBuildCost"), "-5");
    EXPECT_EQ(d.GetFieldText("fRegentime"), "0.25");
    EXPECT_EQ(d.GetFieldText("fMinRegenTime"), "1E-05");
    EXPECT_EQ(d.GetFieldText("fTOScale"), "3");
    EXPECT_EQ(d.GetFieldText("iMilitaryUnit"), "-2");
    EXPECT_EQ(d.GetFieldText("bCanDock"), "1");
    EXPECT_EQ(d.GetFieldText("bCanLaunch"), "0");
    EXPECT_EQ(d.GetFieldText("sDisplayedName"), " Spaced \"name\" ");
}

TEST(FieldText, InConvertsLikeTheReaderAndRefusesWhatDoesNotConvert) {
    SR2ShipFile d;
    EXPECT_TRUE(d.SetFieldText("iBuildCost", "  42\t"));
    EXPECT_EQ(d.iBuildCost, 42);
    EXPECT_TRUE(d.SetFieldText("iMass", "2.5"));
    EXPECT_EQ(d.iMass, 2);
    EXPECT_TRUE(d.SetFieldText("iMass", "3.5"));
    EXPECT_EQ(d.iMass, 4);
    EXPECT_TRUE(d.SetFieldText("fRegentime", "1E-05"));
    EXPECT_EQ(d.fRegentime, 1E-05);
    EXPECT_TRUE(d.SetFieldText("iMilitaryUnit", "-32768"));
    EXPECT_EQ(d.iMilitaryUnit, -32768);
    EXPECT_TRUE(d.SetFieldText("sTOIcon", "  two words "));
    EXPECT_EQ(d.sTOIcon, "  two words ");
    EXPECT_TRUE(d.SetFieldText("bCanDock", "1"));
    EXPECT_TRUE(d.bCanDock);
    EXPECT_TRUE(d.SetFieldText("bCanDock", "0"));
    EXPECT_FALSE(d.bCanDock);

    const std::tuple<const char*, const char*, const char*> refused[] = {
        {"iMass", "heavy", "is not a number"},      {"iMass", "", "is empty"},
        {"iMass", "2147483648", "is out of range"}, {"iMilitaryUnit", "32768", "is out of range"},
        {"fRegentime", "1,5", "is not a number"},   {"fRegentime", "1e400", "is out of range"},
        {"bCanDock", "yes", "is not a number"},     {"iMass", "0x10", "is not a number"},
    };
    for (const auto& [field, text, reason] : refused) {
        const FieldValue before = d.GetField(field);
        const Result stored = d.SetFieldText(field, text);
        EXPECT_FALSE(stored) << field << " <- " << text;
        EXPECT_EQ(stored.reason, reason) << field << " <- " << text;
        EXPECT_EQ(d.GetField(field), before) << field << " changed by a refused text";
    }
}

TEST(Lists, InitializeGivesTheEmptyListsAndTheDefaultPatch) {
    SR2ShipFile d;
    d.Initialize();
    EXPECT_EQ(d.SSWC_Num, -1);
    EXPECT_EQ(d.SSOD_Num, -1);
    EXPECT_EQ(d.MAM_Num, -1);
    EXPECT_EQ(d.MBM_Num, -1);
    for (const char* count : {"CanAttack_AttackFamilyCount", "CanAttack_FamilyExceptionCount",
                              "CanAttack_StyleExceptionCount", "CanBuildShips_BuildFamilyCount",
                              "CanBuildShips_DisplayFamilyCount"})
        EXPECT_EQ(d.GetField(count), FieldValue(std::int32_t(-1))) << count;
    EXPECT_EQ(d.RepairCommand_FamilyExceptionCount, 0);  // not one of the reset counts
    EXPECT_EQ(d.ShipHold_DockFamilyCount, 0);
    EXPECT_EQ(d.LSPL_Directory, "data:sound/sfx/ship/Hiigaran/Fighter/");
    EXPECT_EQ(d.LSPL_Num, 0);
    d.LSPL_LoadValues(0);
    EXPECT_EQ(d.LSPL_Effect, "HScoutEng");
    EXPECT_EQ(d.LSPL_Val, 0);
    EXPECT_EQ(d.LSPL_Marker, "");
    EXPECT_THROW(d.LSPL_LoadValues(1), std::out_of_range);
    EXPECT_TRUE(d.UnrecognizedLines().empty());
    EXPECT_EQ(d.KeptLineCount(), 0);
}

TEST(Lists, RemoveItemRules) {
    for (std::int16_t index : {0, 1, 7, -3}) {  // a list of one item empties whatever the index
        auto d = WithWeapons({"a"});
        d.SSWC_RemoveItem(index);
        EXPECT_EQ(d.SSWC_Num, -1) << index;
        EXPECT_THROW(d.SSWC_LoadValues(0), std::out_of_range);
    }
    auto d = WithWeapons({"a", "b", "c"});
    d.SSWC_RemoveItem(0);
    EXPECT_EQ(d.SSWC_Num, 1);
    EXPECT_EQ(d.SSWC_WeaponName, "c");  // left holding the former last item
    EXPECT_EQ(Weapons(d), (std::vector<std::string>{"b", "c"}));
    d.SSWC_LoadValues(0);
    EXPECT_EQ(d.SSWC_HardPointName, "b_hp");
    EXPECT_EQ(d.SSWC_FiringEffectName, "b_fx");

    d = WithWeapons({"a", "b", "c", "d"});
    d.SSWC_RemoveItem(1);
    EXPECT_EQ(Weapons(d), (std::vector<std::string>{"a", "c", "d"}));
    d.SSWC_RemoveItem(99);  // beyond the end: the last item goes
    EXPECT_EQ(Weapons(d), (std::vector<std::string>{"a", "c"}));
    d.SSWC_RemoveItem(1);  // the last item itself
    EXPECT_EQ(Weapons(d), (std::vector<std::string>{"a"}));
    d.SSWC_RemoveItem(0);
    d.SSWC_RemoveItem(0);  // on an empty list: stays empty
    EXPECT_EQ(d.SSWC_Num, -1);

    d = WithWeapons({"a", "b"});
    EXPECT_THROW(d.SSWC_RemoveItem(-1), std::out_of_range);
    EXPECT_EQ(Weapons(d), (std::vector<std::string>{"a", "b"}));
}

TEST(Lists, WeaponAddLoadSave) {
    auto d = WithWeapons({});
    d.SSWC_AddItem("w", "hp", "fx");
    EXPECT_EQ(d.SSWC_Num, 0);
    EXPECT_EQ(d.SSWC_WeaponName, "w");
    EXPECT_EQ(d.SSWC_HardPointName, "hp");
    EXPECT_EQ(d.SSWC_FiringEffectName, "fx");
    d.SSWC_WeaponName = "changed";
    d.SSWC_SaveValues(0);
    d.SSWC_WeaponName.clear();
    d.SSWC_LoadValues(0);
    EXPECT_EQ(d.SSWC_WeaponName, "changed");
    for (std::int16_t bad : {-1, 1, 32767}) {
        EXPECT_THROW(d.SSWC_LoadValues(bad), std::out_of_range) << bad;
        EXPECT_THROW(d.SSWC_SaveValues(bad), std::out_of_range) << bad;
    }
}

// The current salvage item's fields, in the order the script line gives their values.
const char* const kSalvageFields[] = {
    "SSOD_SalvageChunkName", "SSOD_NumChunksToSpawn", "SSOD_PercentOfTotalValue", "SSOD_PositionX",
    "SSOD_PositionY", "SSOD_PositionZ", "SSOD_RandomAddToSpawnLocation", "SSOD_InitialVerticalDirection",
    "SSOD_InitialHorizontalDirection", "SSOD_Unknown1", "SSOD_Unknown2", "SSOD_VelocityX",
    "SSOD_VelocityY", "SSOD_VelocityZ", "SSOD_CloudDispersion", "SSOD_RotationX", "SSOD_RotationZ",
    "SSOD_RotationY", "SSOD_RandomTumbleModifier"};

TEST(Lists, SalvageAddLoadSaveRemove) {
    SR2ShipFile d;
    d.Initialize();
    d.SSOD_SalvageChunkName = "current";
    d.SSOD_PositionX = 9;
    d.SSOD_AddItem("x");
    EXPECT_EQ(d.SSOD_Num, 0);
    EXPECT_EQ(d.SSOD_SalvageChunkName, "current");  // AddItem leaves the current item alone
    EXPECT_EQ(d.SSOD_PositionX, 9);
    d.SSOD_LoadValues(0);
    EXPECT_EQ(d.SSOD_SalvageChunkName, "x");
    EXPECT_EQ(d.SSOD_NumChunksToSpawn, 1);
    for (int i = 2; i < 19; ++i) EXPECT_EQ(d.GetField(kSalvageFields[i]), FieldValue(0.0)) << kSalvageFields[i];

    // Every one of the 19 values goes to its own place and comes back from it.
    d.SSOD_AddItem("y");
    d.SetField(kSalvageFields[0], std::string("chunk"));
    d.SetField(kSalvageFields[1], std::int32_t(3));
    for (int i = 2; i < 19; ++i) d.SetField(kSalvageFields[i], double(i));
    d.SSOD_SaveValues(1);
    d.SSOD_LoadValues(0);
    d.SSOD_LoadValues(1);
    EXPECT_EQ(d.SSOD_SalvageChunkName, "chunk");
    EXPECT_EQ(d.SSOD_NumChunksToSpawn, 3);
    for (int i = 2; i < 19; ++i) EXPECT_EQ(d.GetField(kSalvageFields[i]), FieldValue(double(i))) << kSalvageFields[i];
    // ... and the written line has them in that order: rotation X, Z, Y as the script gives them.
    EXPECT_TRUE(docsupport::HasLine(d.ScriptText(),
        "SpawnSalvageOnDeath(NewShipType, \"chunk\", 3, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18)"));

    d.SSOD_AddItem("z");
    d.SSOD_RemoveItem(0);
    EXPECT_EQ(d.SSOD_Num, 1);
    EXPECT_EQ(d.SSOD_SalvageChunkName, "z");
    d.SSOD_LoadValues(0);
    EXPECT_EQ(d.SSOD_SalvageChunkName, "chunk");
    EXPECT_EQ(d.SSOD_RotationY, 17);
    d.SSOD_RemoveItem(5);
    d.SSOD_LoadValues(0);
    EXPECT_EQ(d.SSOD_SalvageChunkName, "chunk");
    EXPECT_THROW(d.SSOD_LoadValues(1), std::out_of_range);
    EXPECT_THROW(d.SSOD_SaveValues(-1), std::out_of_range);
    d.SSOD_RemoveItem(3);
    EXPECT_EQ(d.SSOD_Num, -1);
    d.SSOD_AddItem("again");
    d.SSOD_Reset();
    EXPECT_EQ(d.SSOD_Num, -1);
    EXPECT_THROW(d.SSOD_LoadValues(0), std::out_of_range);
}

TEST(Lists, MirrorListsAndAbilityCounts) {
    SR2ShipFile d;
    d.Initialize();
    EXPECT_THROW(d.MAM_GetValue(0), std::out_of_range);
    d.MAM_AddValue("Loop");
    d.MAM_AddValue("");
    EXPECT_EQ(d.MAM_Num, 1);
    EXPECT_EQ(d.MAM_GetValue(0), "Loop");
    EXPECT_EQ(d.MAM_GetValue(1), "");
    EXPECT_THROW(d.MAM_GetValue(2), std::out_of_range);
    EXPECT_THROW(d.MAM_GetValue(-1), std::out_of_range);
    EXPECT_EQ(d.MBM_Num, -1);  // the two lists are separate
    d.MBM_AddValue("Split");
    EXPECT_EQ(d.MBM_GetValue(0), "Split");
    EXPECT_THROW(d.MBM_GetValue(1), std::out_of_range);
    d.MAM_Reset();
    EXPECT_EQ(d.MAM_Num, -1);
    EXPECT_EQ(d.MBM_Num, 0);
    d.MBM_Reset();
    EXPECT_EQ(d.MBM_Num, -1);

    d.CanAttack_AttackFamilyCount = d.CanAttack_FamilyExceptionCount = d.CanAttack_StyleExceptionCount = 4;
    d.CanBuildShips_BuildFamilyCount = d.CanBuildShips_DisplayFamilyCount = 4;
    d.CanAttack_Reset();
    EXPECT_EQ(d.CanAttack_AttackFamilyCount + d.CanAttack_FamilyExceptionCount + d.CanAttack_StyleExceptionCount, -3);
    EXPECT_EQ(d.CanBuildShips_BuildFamilyCount, 4);
    d.CanBuildShips_Reset();
    EXPECT_EQ(d.CanBuildShips_BuildFamilyCount + d.CanBuildShips_DisplayFamilyCount, -2);
}

TEST(Lists, WholeListCopiesRestoreTheList) {
    auto d = WithWeapons({"a", "b"});
    const auto weapons = d.SSWC_GetList();
    d.SSWC_RemoveItem(0);
    d.SSWC_AddItem("n", "n", "n");
    d.SSWC_AddItem("m", "m", "m");
    d.SSWC_SetList(weapons);
    EXPECT_EQ(d.SSWC_Num, 1);
    EXPECT_EQ(Weapons(d), (std::vector<std::string>{"a", "b"}));
    d.SSWC_SetList({});
    EXPECT_EQ(d.SSWC_Num, -1);

    d.SSOD_AddItem("s");
    const auto salvage = d.SSOD_GetList();
    d.SSOD_Reset();
    d.SSOD_SetList(salvage);
    EXPECT_EQ(d.SSOD_Num, 0);
    d.SSOD_LoadValues(0);
    EXPECT_EQ(d.SSOD_SalvageChunkName, "s");
}
