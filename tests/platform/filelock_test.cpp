// The advisory lock tarvisk-cli holds from read to replace: a second locker waits for the first,
// the locked file can still be replaced by the safe writer, and a locker that waited while the
// file was replaced ends up holding the new file.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "platformfile.h"
#include "safewrite.h"
#include "u8path.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(FileLock, TurnsAreTakenAndTheLockedFileCanBeReplaced) {
    if (!platformfile::kFileLocksHold) GTEST_SKIP() << "this system cannot replace a file held open: the lock only checks the file";
    std::random_device rd;
    const fs::path dir = fs::temp_directory_path() / ("tarvisk-lock-" + std::to_string(rd()));
    fs::create_directories(dir);
    const fs::path file = dir / "locked.ship";
    std::ofstream(file, std::ios::binary) << "old";

    platformfile::FileLock first;
    ASSERT_EQ(first.Acquire(file).reason, "");

    // The second locker must not get in while the first holds the lock on the file it read; the
    // first replaces the file, as a save does, and then lets go. Whenever the second gets in, it
    // reads the replaced file.
    std::atomic<bool> secondHolds{false};
    std::string secondSaw;
    std::thread second([&] {
        platformfile::FileLock lock;
        EXPECT_EQ(lock.Acquire(file).reason, "");
        secondHolds = true;
        secondSaw = Read(file);
    });
    std::this_thread::yield();
    EXPECT_FALSE(secondHolds.load());
    EXPECT_TRUE(SafeWriteFile(U8String(file), "new"));
    first.Release();
    second.join();
    EXPECT_TRUE(secondHolds.load());
    EXPECT_EQ(secondSaw, "new");

    platformfile::FileLock missing;
    EXPECT_FALSE(missing.Acquire(dir / "missing.ship"));
    std::error_code ec;
    fs::remove_all(dir, ec);
}

}  // namespace
