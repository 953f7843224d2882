#include "platformfile.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>

// The parts of the file operations that are the same on every system; the rest is in
// platformfile_posix.cpp or platformfile_windows.cpp, whichever CMake picks.
namespace platformfile {

std::string RandomToken() {
    // The random device is the source nobody can predict; the counter and the clock only make
    // two names of one process differ even if it were not.
    static std::atomic<std::uint64_t> counter{0};
    std::random_device rd;
    std::uint64_t v = (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
    v ^= counter.fetch_add(0x9E3779B97F4A7C15ull) ^
         static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

}  // namespace platformfile
