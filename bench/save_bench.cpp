// What the verification of a save costs: a 1,000-line script (the sample with weapons, salvage
// chunks, entries the editor keeps as written and comments), opened, one entry edited, then
// saved line by line (Save) and as the writer writes it (Save As). Prints the CPU time of each,
// and of the verification alone, best of REPEAT.
//
//   save_bench [REPEAT]
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "gamelua.h"
#include "shipdocument.h"

namespace fs = std::filesystem;

namespace {

double CpuMs(std::clock_t start) { return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

std::string Script() {
    std::ifstream in(fs::path(TARVISK_EXAMPLES_DIR) / "tvk_scout.ship", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    for (int i = 0; lines < 1000; ++i, lines += 4) {
        const std::string n = std::to_string(i);
        text += "StartShipWeaponConfig(NewShipType, \"Tvk_Gun" + n + "\", \"Weapon_Gun" + n + "\", \"Fire" + n + "\")\n";
        text += "SpawnSalvageOnDeath(NewShipType, \"Slv_Chunk" + n + "\", 1, 0.5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)\n";
        text += "NewShipType.tvkExtra" + n + " = " + n + " * 1.5\n";
        text += "-- note " + n + "\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeat = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const fs::path dir = fs::temp_directory_path() / ("tarvisk-save-bench-" + std::to_string(std::clock()));
    fs::create_directories(dir);
    const std::string path = (dir / "long.ship").string();
    const std::string script = Script();
    std::ofstream(path, std::ios::binary) << script;

    double save = 1e300, saveAs = 1e300, verify = 1e300, verifyAs = 1e300;
    for (int r = 0; r < repeat; ++r) {
        SR2ShipFile ship;
        ship.SetWriteLogs(false);
        ShipDocument doc(ship);
        if (doc.Open(path) != 0) {
            std::cerr << "save_bench: the script could not be read\n";
            return 2;
        }
        const SR2ShipFile was = ship;
        ship.iMass += 1;
        const std::string after = doc.SaveBytes(), canonical = ship.ScriptText();
        std::clock_t t = std::clock();
        if (!VerifySave(script, after, was, ship)) return 3;
        verify = std::min(verify, CpuMs(t));
        t = std::clock();
        if (!VerifySave(script, canonical, was, ship)) return 3;
        verifyAs = std::min(verifyAs, CpuMs(t));
        t = std::clock();
        const Result saved = doc.Save();
        save = std::min(save, CpuMs(t));
        ship.iMass -= 1;
        t = std::clock();
        const Result savedAs = doc.SaveAs(path);
        saveAs = std::min(saveAs, CpuMs(t));
        if (!saved || !savedAs) {
            std::cerr << "save_bench: " << (saved ? savedAs : saved).reason << '\n';
            return 3;
        }
        std::ofstream(path, std::ios::binary | std::ios::trunc) << script;
    }
    fs::remove_all(dir);
    std::cout << "script: " << std::count(script.begin(), script.end(), '\n') << " lines, Lua "
              << (gamelua::Available() ? "built in" : "not built in") << '\n'
              << "verification of Save: best " << verify << " ms CPU (goal <= 5)\n"
              << "verification of Save As: best " << verifyAs << " ms CPU (goal <= 5)\n"
              << "Save with it: best " << save << " ms CPU\n"
              << "Save As with it: best " << saveAs << " ms CPU\n";
    return 0;
}
