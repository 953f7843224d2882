// Times tarvisk-cli check on a whole mod, in one process, by CPU time.
//
//   mod_bench generate OUT [SCRIPTS]   writes OUT/mod (SCRIPTS scripts, 544 by default, in
//                                      folders of 50), OUT/Data (a data directory of 400 weapon
//                                      folders, 300 salvage chunks, 60 formations, a family
//                                      list of 200 names) and OUT/lines_1000.ship,
//                                      OUT/lines_100000.ship
//   mod_bench check MOD [DATA] [REPEAT]  CPU time of one check of MOD, mean and best of REPEAT
//                                      runs; when DATA is not empty, of one with --data DATA
//                                      too, the two taking turns
//   mod_bench lines FILE [REPEAT]      CPU time per line of reading FILE, the best of REPEAT
//   mod_bench table MOD [REPEAT]       CPU time of table and of check over MOD, taking turns
//   mod_bench apply MOD [REPEAT]       wall time of applying a table of MOD (a copy of it) with
//                                      three cells edited, which writes three scripts
//
// The scripts are made from the sample script and the round-trip test scripts, with their names
// varied so that they refer to the generated data directory; one script in fifty misspells a
// weapon, so that --data also works out suggestions.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "sr2shipfile.h"
#include "table.h"
#include "u8path.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

std::string Numbered(const char* stem, int i, int width = 3) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%0*d", stem, width, i);
    return buf;
}

constexpr int kWeapons = 400, kChunks = 300, kFormations = 60, kFamiliesPerSection = 20;

void GenerateData(const fs::path& data) {
    for (int i = 0; i < kWeapons; ++i) fs::create_directories(data / "weapon" / Numbered("tvk_gen_weapon_", i));
    for (int i = 0; i < kChunks; ++i)
        fs::create_directories(data / "resource" / "salvage" / Numbered("tvk_gen_chunk_", i));
    for (int i = 0; i < kFormations; ++i)
        WriteAll(data / "scripts" / "formations" / (Numbered("tvk_gen_formation_", i) + ".lua"),
                 "-- formation\r\n");
    static const char* const kSections[] = {
        "armourfamily",    "attackfamily",  "autoformationfamily", "avoidancefamily",
        "buildfamily",     "collisionfamily", "displayfamily",     "dockfamily",
        "minimalfamilytofindpatharound", "unitcapsfamily"};
    std::string families;
    for (int s = 0; s < 10; ++s) {
        families += std::string(kSections[s]) + " = {\r\n";
        for (int i = 0; i < kFamiliesPerSection; ++i)
            families += "    { name = \"" + Numbered("TvkFamily", s * kFamiliesPerSection + i) + "\", },\r\n";
        families += "}\r\n";
    }
    WriteAll(data / "scripts" / "familylist.lua", families);
    std::string maneuvers = "Maneuvers = {\r\n";
    for (int i = 0; i < 30; ++i) maneuvers += "    { name = \"" + Numbered("TvkManeuver", i) + "\", },\r\n";
    WriteAll(data / "scripts" / "flightmaneuvers.lua", maneuvers + "}\r\n");
}

// The sample's names replaced by generated ones that the data directory holds.
std::string Varied(std::string text, int i, bool misspell) {
    auto pick = [i](const char* stem, int count, int salt) { return Numbered(stem, (i * 7 + salt) % count); };
    ReplaceAll(text, "\"hgn_peashooter\"", "\"" + pick("tvk_gen_weapon_", kWeapons, 1) + "\"");
    ReplaceAll(text, "\"tvk_needlegun\"",
               "\"" + (misspell ? std::string("tvk_gen_weapn_001") : pick("tvk_gen_weapon_", kWeapons, 2)) + "\"");
    ReplaceAll(text, "\"slv_chunk_sml01\"", "\"" + pick("tvk_gen_chunk_", kChunks, 3) + "\"");
    ReplaceAll(text, "\"delta\"", "\"" + pick("tvk_gen_formation_", kFormations, 4) + "\"");
    static const char* const kFamilyKeys[] = {
        "ArmourFamily", "AttackFamily", "AutoFormationFamily", "AvoidanceFamily", "BuildFamily",
        "CollisionFamily", "DisplayFamily", "DockFamily", "MinimalFamilyToFindPathAround", "UnitCapsFamily"};
    // Real mods: about one line in six is kept as written (expressions, calls the editor does not
    // read, entries it does not know), one in twenty ends in ";" or a comment, and calls with
    // tables run over several lines.
    static const char* const kKept[] = {
        "NewShipType.maxhealth = getShipNum(NewShipType, \"maxhealth\", 160000)",
        "NewShipType.regentime = 79*1.1",
        "StartShipHardPointConfig(NewShipType, \"Engine\", \"HardpointEngine\", \"System\", \"Innate\", "
        "\"Damageable\", \"Hgn_C_Module_Engine\", \"\", \"\", \"\", \"\", \"\", \"\", \"\", \"\")",
        "addShield(NewShipType, \"EMP\", 200, 20)",
        "setEngineBurn(NewShipType, 20, 0.5, 1, 200, 1.1, 0.1, 0.25, 240)",
        "NewShipType.battleScarCoverage = 2",
        "setTacticsMults(NewShipType, \"ENGINEACCEL\", 0.85, 1.1, 1)",
        "NewShipType.buildCostMultiplier = getShipNum(NewShipType, \"buildCost\", 1) * 1.5",
    };
    std::istringstream in(text);
    std::string out, line;
    std::size_t k = 0;
    while (std::getline(in, line)) {
        ++k;
        if (k % 20 == 13 && line.rfind("NewShipType.", 0) == 0 && !line.empty() && line.back() == '\r') {
            line.pop_back();
            line += k % 40 == 13 ? ";\r" : " -- tuned for this mod\r";
        }
        for (int s = 0; s < 10; ++s) {
            const std::string key = std::string("NewShipType.") + kFamilyKeys[s] + " = ";
            if (line.rfind(key, 0) == 0) {
                line = key + "\"" + Numbered("TvkFamily", s * kFamiliesPerSection + (i + s) % kFamiliesPerSection) +
                       "\"\r";
                break;
            }
        }
        if (line.rfind("NewShipType.buildCost = ", 0) == 0) line = "NewShipType.buildCost = " + std::to_string(100 + i) + "\r";
        out += line;
        out += '\n';
        if (k % 6 == 5) {
            out += kKept[(static_cast<std::size_t>(i) + k) % std::size(kKept)];
            out += "\r\n";
        }
    }
    out += "addAbility(NewShipType, \"CanAttack\", 1, 1, 0, 0, 0.35, 1.5, \"Capturer, Frigate, SmallCapitalShip\", "
           "\"Frontal\", {\r\n    Fighter = \"MoveToTargetAndShoot\",\r\n    Corvette = \"FlyAround\",\r\n},\r\n"
           "{\r\n    Frigate = \"TopAttack\",\r\n})\r\n";
    ReplaceAll(out, "\"Loop, RollCW\"", "\"Loop, " + pick("TvkManeuver", 30, 5) + "\"");
    return out;
}

int Generate(const fs::path& outDir, int scripts) {
    const fs::path src = TARVISK_SOURCE_DIR;
    const std::string sample = ReadAll(src / "examples" / "tvk_scout.ship");
    std::vector<std::string> others;
    for (const auto& e : fs::directory_iterator(src / "tests" / "roundtrip"))
        // (Not the script with a byte-order mark: Lua does not load it.)
        if (e.path().extension() == ".ship" && e.path().filename() != "bom.ship") others.push_back(ReadAll(e.path()));
    std::sort(others.begin(), others.end());
    if (sample.empty() || others.empty()) {
        std::cerr << "mod_bench: the sample scripts were not found under " << U8String(src) << "\n";
        return 2;
    }
    fs::remove_all(outDir / "mod");
    fs::remove_all(outDir / "Data");
    GenerateData(outDir / "Data");
    for (int i = 0; i < scripts; ++i) {
        // Most scripts are ships of the usual size; one in eight is a small round-trip script.
        const std::string& base = i % 8 == 7 ? others[static_cast<std::size_t>(i / 8) % others.size()] : sample;
        const fs::path p = outDir / "mod" / Numbered("race", i / 50, 2) / (Numbered("tvk_ship_", i) + ".ship");
        WriteAll(p, Varied(base, i, i % 50 == 49));
    }
    // Long scripts: the sample's lines, then its lines after the first two again and again.
    std::vector<std::string> lines;
    {
        std::istringstream in(sample);
        for (std::string l; std::getline(in, l);) lines.push_back(l);
    }
    for (std::size_t count : {std::size_t{1000}, std::size_t{100000}}) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += lines[i < lines.size() ? i : 2 + (i % (lines.size() - 2))] + "\n";
        WriteAll(outDir / ("lines_" + std::to_string(count) + ".ship"), text);
    }
    std::cout << "wrote " << scripts << " scripts to " << U8String(outDir / "mod") << " and a data directory to "
              << U8String(outDir / "Data") << "\n";
    return 0;
}

double CpuMs(std::clock_t from) { return 1000.0 * static_cast<double>(std::clock() - from) / CLOCKS_PER_SEC; }

// The report as tarvisk-cli writes it to its output, which takes each line and keeps nothing:
// only the last line, the summary, is kept here. (Gathered in a string stream instead, the report
// would be copied as it grows, and the copies would be timed as if check made them.)
class LastLine : public std::streambuf {
public:
    std::string Last() const { return last_.empty() ? line_ : last_; }

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) Put(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const std::string_view chunk(s, static_cast<std::size_t>(n));
        const std::size_t end = chunk.rfind('\n');
        if (end == std::string_view::npos) {
            line_.append(chunk);
            return n;
        }
        const std::size_t before = end == 0 ? std::string_view::npos : chunk.rfind('\n', end - 1);
        if (before == std::string_view::npos) last_ = line_.append(chunk.substr(0, end + 1));
        else last_.assign(chunk.substr(before + 1, end - before));
        line_.assign(chunk.substr(end + 1));
        return n;
    }

private:
    void Put(char c) {
        if (c != '\n') {
            line_ += c;
            return;
        }
        last_ = std::move(line_) + '\n';
        line_.clear();
    }
    std::string line_, last_;
};

// One check of mod (with --data when data is not empty): its CPU time, exit code and summary line.
struct Pass {
    double ms = 0;
    int rc = 0;
    std::string summary;
};

Pass CheckOnce(const std::string& mod, const std::string& data) {
    std::vector<std::string> args;
    if (!data.empty()) args = {"--data", data};
    args.push_back(mod);
    LastLine report;
    std::ostream out(&report);
    std::ostringstream err;
    const std::clock_t start = std::clock();
    Pass p;
    p.rc = RunCheck(args, out, err);
    p.ms = CpuMs(start);
    p.summary = report.Last();
    return p;
}

// With a data directory, checks with and without it take turns, so that the two are measured
// under the same conditions of the machine.
int Check(const std::string& mod, const std::string& data, int repeat) {
    std::vector<std::string> variants{""};
    if (!data.empty()) variants.push_back(data);
    std::vector<double> best(variants.size(), 1e300), total(variants.size(), 0);
    std::vector<Pass> last(variants.size());
    for (int r = 0; r < repeat; ++r) {
        for (std::size_t v = 0; v < variants.size(); ++v) {
            last[v] = CheckOnce(mod, variants[v]);
            best[v] = std::min(best[v], last[v].ms);
            total[v] += last[v].ms;
        }
    }
    for (std::size_t v = 0; v < variants.size(); ++v)
        std::printf("check%s: mean %.1f ms, best %.1f ms CPU (exit %d) %s", v ? " --data" : "", total[v] / repeat,
                    best[v], last[v].rc, last[v].summary.c_str());
    return 0;
}

int Lines(const std::string& file, int repeat) {
    double best = 1e300;
    int count = 0;
    for (int r = 0; r < repeat; ++r) {
        SR2ShipFile doc;
        doc.SetWriteLogs(false);
        const std::clock_t start = std::clock();
        if (doc.OpenShipFile(file) != 0) {
            std::cerr << "mod_bench: '" << file << "' could not be read\n";
            return 2;
        }
        best = std::min(best, CpuMs(start));
        count = doc.KeptLineCount();
    }
    const std::string text = ReadAll(U8Path(file));
    const auto lines = std::count(text.begin(), text.end(), '\n');
    std::printf("read %ld lines: %.2f ms CPU, %.0f ns per line\n", static_cast<long>(lines), best,
                best * 1e6 / static_cast<double>(std::max<long>(1, lines)));
    (void)count;
    return 0;
}

// A command's CPU time, in ms.
double CpuOf(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&),
             const std::vector<std::string>& args, int& rc) {
    std::ostringstream out, err;
    const std::clock_t start = std::clock();
    rc = command(args, out, err);
    return CpuMs(start);
}

int Table(const std::string& mod, int repeat) {
    double best[2] = {1e300, 1e300}, total[2] = {0, 0};
    int rc[2] = {0, 0};
    for (int r = 0; r < repeat; ++r) {
        const double t = CpuOf(TableCommand, {mod}, rc[0]);
        const double c = CpuOf(RunCheck, {mod}, rc[1]);
        best[0] = std::min(best[0], t);
        best[1] = std::min(best[1], c);
        total[0] += t;
        total[1] += c;
    }
    std::printf("table: mean %.1f ms, best %.1f ms CPU (exit %d)\n", total[0] / repeat, best[0], rc[0]);
    std::printf("check: mean %.1f ms, best %.1f ms CPU (exit %d)\n", total[1] / repeat, best[1], rc[1]);
    std::printf("table / check: %.2f (best), %.2f (mean)\n", best[0] / best[1], total[0] / total[1]);
    return 0;
}

int Apply(const std::string& mod, int repeat) {
    const fs::path work = fs::temp_directory_path() / "tarvisk-mod-bench-apply";
    fs::remove_all(work);
    fs::create_directories(work);
    fs::copy(U8Path(mod), work / "mod", fs::copy_options::recursive);
    std::ostringstream table, err;
    if (TableCommand({"--fields", "buildCost", U8String(work / "mod")}, table, err) != 0) {
        std::cerr << err.str();
        return 2;
    }
    std::vector<CsvRecord> records;
    std::string why;
    ParseCsv(table.str(), records, why);
    if (records.size() < 4) {
        std::cerr << "mod_bench: the mod has fewer than three scripts\n";
        return 2;
    }
    double best = 1e300, total = 0;
    int rc = 0;
    for (int r = 0; r < repeat; ++r) {
        // Three cells, each run a new value, so that every run writes three scripts.
        std::string text = "file,buildCost\r\n";
        for (std::size_t i = 1; i < records.size(); ++i) {
            std::string cell = records[i].cells[1];
            if (i <= 3) cell = std::to_string(1000 + r * 10 + static_cast<int>(i));
            text += CsvField(records[i].cells[0]) + "," + CsvField(cell) + "\r\n";
        }
        WriteAll(work / "balance.csv", text);
        std::ostringstream out, applyErr;
        const auto start = std::chrono::steady_clock::now();
        rc = ApplyCommand({U8String(work / "balance.csv")}, out, applyErr);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (rc != 0) std::cerr << applyErr.str();
        best = std::min(best, ms);
        total += ms;
    }
    std::printf("apply of 3 cells over %zu scripts: mean %.1f ms, best %.1f ms wall (exit %d)\n", records.size() - 1,
                total / repeat, best, rc);
    fs::remove_all(work);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv + 1, argv + argc);
    if (a.size() >= 2 && a[0] == "generate") return Generate(U8Path(a[1]), a.size() > 2 ? std::stoi(a[2]) : 544);
    if (a.size() >= 2 && a[0] == "check")
        return Check(a[1], a.size() > 2 ? a[2] : "", a.size() > 3 ? std::stoi(a[3]) : 5);
    if (a.size() >= 2 && a[0] == "lines") return Lines(a[1], a.size() > 2 ? std::stoi(a[2]) : 5);
    if (a.size() >= 2 && a[0] == "table") return Table(a[1], a.size() > 2 ? std::stoi(a[2]) : 5);
    if (a.size() >= 2 && a[0] == "apply") return Apply(a[1], a.size() > 2 ? std::stoi(a[2]) : 5);
    std::cerr << "usage: mod_bench generate OUT [SCRIPTS] | check MOD [DATA] [REPEAT] | lines FILE [REPEAT]\n"
                 "                 | table MOD [REPEAT] | apply MOD [REPEAT]\n";
    return 2;
}
