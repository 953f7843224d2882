// Times the save that keeps a script's own lines (ShipDocument::SaveBytes, and Save with the
// file written) and the modified check the main window makes after every sheet, on a typical
// script of 250 lines and a generated one of 100,000. The "ns_per_line" counter shows whether the
// cost grows linearly with the length of the script.
//
//   build/bin/layout_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shipdocument.h"

namespace fs = std::filesystem;

namespace {

const fs::path& WorkDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "tarvisk-layout-bench";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// A script of `lines` lines: the sample first, then its lines after the StartShipConfig line
// again in turn, as a large generated mod script would be.
fs::path Script(std::size_t lines) {
    const fs::path p = WorkDir() / ("ship_" + std::to_string(lines) + ".ship");
    std::ifstream in(fs::path(TARVISK_EXAMPLES_DIR) / "tvk_scout.ship", std::ios::binary);
    std::vector<std::string> sample;
    for (std::string l; std::getline(in, l);) sample.push_back(l + "\n");
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < lines; ++i) out << sample[i < sample.size() ? i : 3 + (i % (sample.size() - 3))];
    return p;
}

// The document opened, one entry and one weapon edited: what a balance change does.
struct Edited {
    SR2ShipFile ship;
    ShipDocument doc{ship};
    explicit Edited(const fs::path& script) {
        ship.SetLogFolder(WorkDir().string());
        doc.Open(script.string());
        ship.iBuildCost += 5;
        ship.SSWC_AddItem("bench_gun", "Weapon_Bench", "Fire_Bench");
    }
};

void Counters(benchmark::State& state, std::size_t lines) {
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["ns_per_line"] = benchmark::Counter(
        static_cast<double>(lines) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void SaveBytes(benchmark::State& state, std::size_t lines) {
    Edited e(Script(lines));
    for (auto _ : state) benchmark::DoNotOptimize(e.doc.SaveBytes());
    Counters(state, lines);
}

void SaveToDisk(benchmark::State& state, std::size_t lines) {
    const fs::path script = Script(lines);
    for (auto _ : state) {
        state.PauseTiming();
        Edited e(script);
        state.ResumeTiming();
        benchmark::DoNotOptimize(e.doc.Save());
    }
    Counters(state, lines);
}

void IsModified(benchmark::State& state, std::size_t lines) {
    Edited e(Script(lines));
    for (auto _ : state) benchmark::DoNotOptimize(e.doc.IsModified());
    Counters(state, lines);
}

}  // namespace

int main(int argc, char** argv) {
    for (std::size_t lines : {std::size_t{250}, std::size_t{100000}}) {
        const auto unit = lines > 1000 ? benchmark::kMillisecond : benchmark::kMicrosecond;
        const std::string n = std::to_string(lines);
        benchmark::RegisterBenchmark(("LayoutSaveBytes/" + n).c_str(), SaveBytes, lines)->Unit(unit);
        benchmark::RegisterBenchmark(("LayoutSaveToDisk/" + n).c_str(), SaveToDisk, lines)->Unit(unit);
        benchmark::RegisterBenchmark(("IsModified/" + n).c_str(), IsModified, lines)->Unit(unit);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
