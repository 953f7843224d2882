#include "builtinnames.h"

namespace builtinnames {

const std::vector<std::string>& Formations() {
    static const std::vector<std::string> names{
        "2x2_wall", "bevelledwall", "broad", "charging_wall", "claw", "delta", "dockline",
        "dockqueue", "dummy_parade", "hgn_carrier_parade", "hgn_chimera_parade",
        "hgn_mothership_parade", "kpr_destroyer_parade", "kpr_sajuuk_parade",
        "meg_veilchunk_parade", "n_delta", "scatterdelta", "scatterdelta_long", "scatternarrow",
        "scatterwide", "spear", "staggered_wall", "vgr_carrier_parade",
        "vgr_hyperspace_platform", "vgr_mothership_parade", "x"};
    return names;
}

const std::vector<std::string>& Maneuvers() {
    static const std::vector<std::string> names{
        "BarrelRoll", "Loop", "RollCW", "ImmelMann", "Split_S", "HalfRollCCW", "HalfRollCW",
        "WingWaggle", "RollCCW", "BarrelRollCW", "JinkLeft", "JinkLeftAndBack", "JinkRight",
        "ImmelMann_speedy", "Split_S_speedy", "OneEightyDegRightTurn", "RollCW_slow", "Empty",
        "OneEightyDegLeftTurn", "RollCCW_slow", "NinetyDegRightTurn", "NinetyDegLeftTurn",
        "JinkRightAndBack"};
    return names;
}

const std::vector<std::string>& Weapons() {
    static const std::vector<std::string> names{
        "hgn_antishipbomblauncher",
        "hgn_antisubsystembomblauncher",
        "hgn_battlecruiserkineticburstcannon",
        "hgn_battlecruiserkineticburstcannonleftside",
        "hgn_battlecruiserkineticburstcannonrightside",
        "hgn_battlecruiserturretedioncannon",
        "hgn_bigtorpedolauncher",
        "hgn_bomblauncher",
        "hgn_burstcannonburst",
        "hgn_clustertorpedolauncher",
        "hgn_commarrayping",
        "hgn_destroyertorpedolauncher",
        "hgn_dreadnaughtautogun",
        "hgn_dreadnaughtchinturret",
        "hgn_dreadnaughtioncannon",
        "hgn_hulldefensegun",
        "hgn_ioncannon",
        "hgn_ioncannonturret",
        "hgn_kineticautogun",
        "hgn_kineticburstcannon",
        "hgn_kineticburstcannondestroyer",
        "hgn_minelayer",
        "hgn_minelayerkineticturret",
        "hgn_minesweeperburst",
        "hgn_minesweeperburstcannon",
        "hgn_mshulldefensegun",
        "hgn_mshulldefensegunside",
        "hgn_peashooter",
        "hgn_pulsar",
        "hgn_pulsarside",
        "hgn_rapidfirekineticautogun",
        "hgn_smallemp",
        "hgn_smallempburst",
        "hgn_tanishulldefensegun",
        "hgn_torpedolauncher",
        "hgn_torpedolauncherturret",
        "hgn_transporthulldefensegun",
        "hgn_vulcankineticturret",
        "hgn_vulcankineticturretheavy",
        "hgn_vulcankineticturretlongrange",
        "hgn_vulcankineticturretsuperheavy",
        "hgn_vulcankineticturretweak",
        "kpr_destroyerkineticdriver",
        "kpr_energytorpedolauncher",
        "kpr_focusedsheildgenerator",
        "kpr_kineticdriver",
        "kpr_kineticdriverattackdroid",
        "kpr_sajuukheavycannon",
        "kpr_sajuukkineticdriver",
        "kpr_sajuuknanitecannon",
        "kpr_turretedioncannon",
        "kpr_turretedpulsarcannondriver1",
        "kpr_turretedpulsarcannondriver2",
        "vgr_antishipbomblauncher",
        "vgr_antisubsystembomblauncher",
        "vgr_battlecruiserflechettecannon",
        "vgr_battlecruiserheavygun",
        "vgr_bcforwardweapon",
        "vgr_bclaser",
        "vgr_bomblauncher",
        "vgr_burstcannonburst",
        "vgr_concussionmissilelauncher",
        "vgr_flechettecannon",
        "vgr_flechettecannonassaultfrigatebottom",
        "vgr_flechettecannonassaultfrigateleft",
        "vgr_flechettecannonassaultfrigateright",
        "vgr_flechettecannondestroyer",
        "vgr_flechettecannondreadnaught",
        "vgr_flechettecannoninfiltratorfrigate",
        "vgr_flechetterepeater",
        "vgr_fusionmissilelauncher",
        "vgr_heavyconcussionmissilelauncher",
        "vgr_heavyflechetterepeater",
        "vgr_heavyfusionmissilelauncher",
        "vgr_heavyfusionmissilelauncherbc",
        "vgr_heavyfusionmissilelauncherturret",
        "vgr_heavyfusionmissilelauncherweak",
        "vgr_heavyplasmalance",
        "vgr_hulldefensegun",
        "vgr_infiltrationpodlauncher",
        "vgr_laser",
        "vgr_lightplasmalance",
        "vgr_lightplasmalanceturret",
        "vgr_minelayer",
        "vgr_minelayercannon",
        "vgr_minesweeperburst",
        "vgr_minesweeperburstcannon",
        "vgr_plasmadrivercannon",
        "vgr_pulsar",
        "vgr_smallemp",
        "vgr_smallempburst",
        "vgr_smallmissileburst",
        "vgr_sunshattermissilelauncher",
        "vgr_vulcankineticturretlongrange",
    };
    return names;
}

const std::vector<std::string>& SalvageChunks() {
    static const std::vector<std::string> names{
        "container",       "hgn_hscore",      "slv_chunk_lrg01", "slv_chunk_lrg02",
        "slv_chunk_lrg03", "slv_chunk_lrg04", "slv_chunk_lrg05", "slv_chunk_lrg06",
        "slv_chunk_sml01", "slv_chunk_sml02", "slv_chunk_sml03", "slv_chunk_sml04",
        "slv_chunk_sml05", "slv_chunk_sml06", "slv_chunk_sml07", "slv_chunk_sml08",
        "staticcontainer", "staticcontainerlow",
    };
    return names;
}

}  // namespace builtinnames
