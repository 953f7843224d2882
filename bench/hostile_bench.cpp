// Time and peak memory of tarvisk-cli's commands on scripts shaped to be slow or large: check,
// get, set (written to another file) and normalize, each run as the program itself in a process
// of its own, so that the peak memory it reports is the command's own.
//
//   hostile_bench [FOLDER]   writes the shapes into FOLDER (the system's temporary folder by
//                            default) and prints, per shape: its size, the seconds and the peak
//                            memory of each command, and that memory as a multiple of the file's
//                            size
//
// tarvisk-cli is the one beside this program. POSIX only (fork, exec and the child's usage).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Shape {
    const char* name;
    std::function<void(std::ofstream&)> write;
};

const std::vector<Shape>& Shapes() {
    static const std::vector<Shape> shapes = {
        // Nothing: what a command costs whatever it reads.
        {"empty script", [](std::ofstream&) {}},
        // Unclosed long brackets, each of a level of its own, above a long script.
        {"2000 unclosed long brackets + 98000 lines",
         [](std::ofstream& f) {
             for (int i = 0; i < 2000; ++i) f << "x = [" << std::string(static_cast<std::size_t>(i), '=') << "[\n";
             for (int i = 0; i < 98000; ++i) f << "NewShipType.buildCost = " << i << "\n";
         }},
        // A call that never closes, above lines none of which ends it.
        {"unclosed call + 99999 lines",
         [](std::ofstream& f) {
             f << "setSupplyValue(NewShipType,\n";
             for (int i = 0; i < 99999; ++i) f << "x" << i << " = " << i << ",\n";
         }},
        // The shortest lines there are, each kept as it is.
        {"32 MiB of one-letter lines",
         [](std::ofstream& f) {
             const std::string block(1 << 20, 'x');
             std::string lines;
             for (std::size_t i = 0; i < block.size(); i += 2) lines += "x\n";
             for (int i = 0; i < 32; ++i) f << lines;
         }},
        // As many of them as a script may have lines.
        {"100,000 one-letter lines",
         [](std::ofstream& f) {
             std::string lines;
             for (int i = 0; i < 100'000; ++i) lines += "x\n";
             f << lines;
         }},
        // As many calls of a function the game does not know, each of which the save's
        // verification records, in both scripts it compares.
        {"100,000 calls f()",
         [](std::ofstream& f) {
             std::string lines;
             for (int i = 0; i < 100'000; ++i) lines += "f()\n";
             f << lines;
         }},
        // One call line of empty strings: millions of arguments.
        {"50 MB call line of quotes",
         [](std::ofstream& f) {
             f << "StartShipWeaponConfig(NewShipType, ";
             const std::string quotes(3 << 20, '"');
             for (int i = 0; i < 16; ++i) f << quotes;
             f << ")\n";
         }},
        // A block that never closes (it runs to the end of the file) above a long script.
        {"unclosed block + 99999 lines",
         [](std::ofstream& f) {
             f << "if x then\n";
             for (int i = 0; i < 99999; ++i) f << "NewShipType.buildCost = " << i << "\n";
         }},
        // One ability called again and again after a block: each call keeps the one before it,
        // and every statement keeps its place.
        {"block + 49999 calls of one ability",
         [](std::ofstream& f) {
             f << "if x then y() end\n";
             for (int i = 0; i < 49999; ++i) f << "addAbility(NewShipType, \"CanDock\", 1, " << i % 2 << ")\nz()\n";
         }},
        // Long lines of assignments with a second "=".
        {"100000 assignments of 300 bytes",
         [](std::ofstream& f) {
             for (int i = 0; i < 100000; ++i)
                 f << "NewShipType.buildCost=" << i << "=" << std::string(270, '7') << "\n";
         }},
    };
    return shapes;
}

// What each command takes for an empty script (the program, its libraries and Lua): the part of
// a peak that no script adds.
std::map<std::string, double> baseMiB;

// Runs the command in a child process, its output thrown away, and prints its time and peak
// memory, with that memory as a multiple of the file's size, whole and beyond the command's base.
void Measure(const char* what, double fileMiB, const std::vector<std::string>& command) {
    std::cout.flush();
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr)) _exit(127);
        std::vector<char*> argv;
        for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 127 || WEXITSTATUS(status) > 3) {
        std::printf("  %-10s failed\n", what);
        return;
    }
    const double peakMiB = static_cast<double>(usage.ru_maxrss) / 1024;  // KiB on Linux
    if (fileMiB <= 0) {
        baseMiB[what] = peakMiB;
        std::printf("  %-10s %7.2f s  %8.1f MiB peak  (exit %d)\n", what, s, peakMiB, WEXITSTATUS(status));
        return;
    }
    std::printf("  %-10s %7.2f s  %8.1f MiB peak  %5.1fx the file, %5.1fx beyond the base  (exit %d)\n", what, s,
                peakMiB, peakMiB / fileMiB, (peakMiB - baseMiB[what]) / fileMiB, WEXITSTATUS(status));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = (fs::absolute(fs::path(argv[0])).parent_path() / "tarvisk-cli").string();
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "tarvisk_hostile_bench";
    fs::create_directories(folder);
    int n = 0;
    for (const Shape& shape : Shapes()) {
        const fs::path file = folder / ("shape" + std::to_string(n++) + ".ship");
        {
            std::ofstream f(file, std::ios::binary);
            shape.write(f);
        }
        const double mib = static_cast<double>(fs::file_size(file)) / (1 << 20);
        std::printf("%s (%.1f MiB)\n", shape.name, mib);
        const std::string path = file.string(), out = (folder / "out.ship").string();
        Measure("check", mib, {cli, "check", path});
        Measure("get", mib, {cli, "get", path, "maxhealth"});
        Measure("set", mib, {cli, "set", "--output", out, "buildCost=5", "--", path});
        Measure("normalize", mib, {cli, "normalize", path, out});
        fs::remove(file);
    }
    fs::remove(folder / "out.ship");
    return 0;
}
