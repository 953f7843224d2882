// Times reading and writing ship scripts: the sample script (a typical ship of every line kind)
// and generated scripts of 1,000 and 100,000 lines. The "ns_per_line" counter shows whether the
// cost grows linearly with the size of the script.
//
//   build/bin/ship_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sr2shipfile.h"
#include "u8path.h"

namespace fs = std::filesystem;

namespace {

const fs::path& WorkDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "tarvisk-bench";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::vector<std::string> SampleLines() {
    std::ifstream in(U8Path(TARVISK_EXAMPLES_DIR) / "tvk_scout.ship", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

// A script of `lines` lines: the sample's own lines first, then its assignment, weapon, salvage,
// ability and unknown lines again in turn, as a large mod's generated ship would be.
fs::path Script(std::size_t lines) {
    const fs::path p = WorkDir() / ("ship_" + std::to_string(lines) + ".ship");
    if (fs::exists(p)) return p;
    const auto sample = SampleLines();
    std::ofstream out(p, std::ios::binary);
    for (std::size_t i = 0; i < lines; ++i) {
        const std::string& l = sample[i < sample.size() ? i : 2 + (i % (sample.size() - 2))];
        out << l << "\r\n";
    }
    return p;
}

std::size_t LineCount(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return static_cast<std::size_t>(std::count(std::istreambuf_iterator<char>(in), {}, '\n'));
}

void Read(benchmark::State& state, fs::path script) {
    const std::size_t lines = LineCount(script);
    for (auto _ : state) {
        SR2ShipFile doc;
        doc.SetLogFolder(U8String(WorkDir()));
        benchmark::DoNotOptimize(doc.OpenShipFile(U8String(script)));
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["ns_per_line"] = benchmark::Counter(
        static_cast<double>(lines) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Write(benchmark::State& state, fs::path script) {
    SR2ShipFile doc;
    doc.SetLogFolder(U8String(WorkDir()));
    doc.OpenShipFile(U8String(script));
    const std::size_t lines = LineCount(script);
    const std::string out = U8String(WorkDir() / "written.ship");
    for (auto _ : state) benchmark::DoNotOptimize(doc.WriteShipFile(out));
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["ns_per_line"] = benchmark::Counter(
        static_cast<double>(lines) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
    // A typical ship: the sample script and more of its lines, about 250 in all.
    const fs::path typical = Script(250);
    benchmark::RegisterBenchmark("Read/typical", Read, typical)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Read/1000", Read, Script(1000))->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Read/100000", Read, Script(100000))->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Write/typical", Write, typical)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Write/1000", Write, Script(1000))->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Write/100000", Write, Script(100000))->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
