// Saving under hostile and faulty conditions: planted links, links as targets, private files,
// things that are not files, two saves at once, and a save killed before it finished.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platformfile.h"
#include "safewrite.h"

#ifndef _WIN32
#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/xattr.h>
#endif

namespace fs = std::filesystem;

namespace {

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("tarvisk-save-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir);
        seen.clear();
    }
    void TearDown() override {
        SetSafeWriteHookForTesting(nullptr);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    static void Write(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The reason a save failed; empty when it was saved.
    std::string Save(const fs::path& target, const std::string& bytes) {
        return SafeWriteFile(target.string(), bytes).reason;
    }

    fs::path dir;
    // What the hook saw: each temporary file's path, its contents then, and the target's then.
    struct Seen {
        std::string temp, tempBytes, targetBytes;
    };
    static inline std::vector<Seen> seen;
    static inline fs::path hookTarget;
    static void Record(const std::string& temp) {
        seen.push_back({temp, Read(temp), Read(hookTarget)});
    }
};

TEST_F(SaveTest, EachSaveWritesItsOwnTemporaryFileBesideTheTargetThenReplacesIt) {
    const fs::path target = dir / "Ship.ship";
    Write(target, "old");
    hookTarget = target;
    SetSafeWriteHookForTesting(&SaveTest::Record);
    ASSERT_EQ(Save(target, "first"), "");
    ASSERT_EQ(Save(target, "second"), "");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0].temp, seen[1].temp);
    for (const auto& s : seen) {
        const fs::path temp(s.temp);
        EXPECT_EQ(temp.parent_path(), dir);
        EXPECT_NE(temp.extension(), ".ship") << "a stray temporary file must never pass for a script";
        EXPECT_NE(temp.filename().string().find("Ship.ship"), std::string::npos);
    }
    // Complete and on disk before the target is touched.
    EXPECT_EQ(seen[0].tempBytes, "first");
    EXPECT_EQ(seen[0].targetBytes, "old");
    EXPECT_EQ(seen[1].tempBytes, "second");
    EXPECT_EQ(seen[1].targetBytes, "first");
    EXPECT_EQ(Read(target), "second");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Ship.ship"});

    // A name as long as a name may be still leaves room for the temporary file's.
    const fs::path longest = dir / (std::string(250, 'x') + ".ship");
    EXPECT_EQ(Save(longest, "long"), "");
    EXPECT_EQ(Read(longest), "long");
}

TEST_F(SaveTest, AFolderOrAMissingFolderIsRefusedWithAReason) {
    fs::create_directories(dir / "folder.ship");
    Write(dir / "plain", "x");
    EXPECT_EQ(Save(dir / "folder.ship", "s"), "it is a folder");
    EXPECT_EQ(Save(dir / "missing" / "x.ship", "s"), "the folder does not exist");
    EXPECT_EQ(Save(dir / "plain" / "x.ship", "s"), "the folder does not exist");  // a file as folder
    EXPECT_EQ(SafeWriteFile("", "s").reason, "no file name was given");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder.ship", "plain"}));
}

TEST_F(SaveTest, TwoSavesAtOnceLeaveOneCompleteScript) {
    const fs::path target = dir / "Shared.ship";
    const std::string a(20000, 'a'), b(30000, 'b');
    auto saver = [&](const std::string& mine, std::vector<std::string>* outcomes) {
        for (int i = 0; i < 150; ++i) {
            outcomes->push_back(Save(target, mine));
            const std::string now = Read(target);
#ifdef _WIN32
            // Windows refuses to open a file while another thread puts a new one in its place.
            if (now.empty()) continue;
#endif
            if (now != a && now != b) outcomes->push_back("mixed");
        }
    };
    std::vector<std::string> fromA, fromB;
    std::thread ta(saver, a, &fromA), tb(saver, b, &fromB);
    ta.join();
    tb.join();
    for (const auto* outcomes : {&fromA, &fromB})
        for (const auto& o : *outcomes) ASSERT_EQ(o, "");
    const std::string last = Read(target);
    EXPECT_TRUE(last == a || last == b);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Shared.ship"});
}

#ifndef _WIN32

TEST_F(SaveTest, ALinkPlantedWhereTheTemporaryFileGoesIsNeverWrittenThrough) {
    const fs::path victim = dir / "victim";
    Write(victim, "secret");
    fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
    // Today's and yesterday's guessable names hold links; the save must not care.
    fs::create_symlink(victim, dir / "Ship.ship.tarvisk-tmp");
    fs::create_symlink(victim, dir / ".Ship.ship.tarvisk-tmp");
    EXPECT_EQ(Save(dir / "Ship.ship", "script"), "");
    EXPECT_EQ(Read(victim), "secret");
    EXPECT_EQ(Read(dir / "Ship.ship"), "script");
    EXPECT_TRUE(fs::is_symlink(dir / "Ship.ship.tarvisk-tmp"));
    // The temporary file is made only where nothing is: a link in its place makes it fail.
    platformfile::OutFile f;
    EXPECT_NE(f.CreateNew(dir / "Ship.ship.tarvisk-tmp", 0600), "");
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(Read(victim), "secret");
}

TEST_F(SaveTest, ATargetThatIsALinkStaysALinkAndTheFileItLeadsToIsReplaced) {
    fs::create_directories(dir / "real");
    Write(dir / "real" / "Ship.ship", "old");
    fs::permissions(dir / "real" / "Ship.ship", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/Ship.ship", dir / "hop.ship");     // relative
    fs::create_symlink(dir / "hop.ship", dir / "Ship.ship");    // a chain of two
    fs::create_symlink("real/New.ship", dir / "dangling.ship");  // leads to no file yet
    ASSERT_EQ(Save(dir / "Ship.ship", "new"), "");
    EXPECT_TRUE(fs::is_symlink(dir / "Ship.ship"));
    EXPECT_TRUE(fs::is_symlink(dir / "hop.ship"));
    EXPECT_EQ(Read(dir / "real" / "Ship.ship"), "new");
    EXPECT_EQ(fs::status(dir / "real" / "Ship.ship").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(Save(dir / "dangling.ship", "created"), "");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.ship"));
    EXPECT_EQ(Read(dir / "real" / "New.ship"), "created");
    fs::create_symlink("loop2.ship", dir / "loop1.ship");
    fs::create_symlink("loop1.ship", dir / "loop2.ship");
    EXPECT_NE(Save(dir / "loop1.ship", "x"), "");
}

TEST_F(SaveTest, PermissionBitsAreKeptAndANewFileGetsTheUsualOnes) {
    for (unsigned mode : {0600u, 0640u, 0755u, 0604u}) {
        const fs::path target = dir / ("m" + std::to_string(mode) + ".ship");
        Write(target, "old");
        ASSERT_EQ(chmod(target.c_str(), mode), 0);
        ASSERT_EQ(Save(target, "new"), "");
        struct stat st;
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_EQ(Read(target), "new");
    }
    const mode_t old = umask(022);
    ASSERT_EQ(Save(dir / "fresh.ship", "new"), "");
    umask(old);
    struct stat st;
    ASSERT_EQ(stat((dir / "fresh.ship").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(SaveTest, ThingsThatAreNotFilesAreRefused) {
    ASSERT_EQ(mkfifo((dir / "pipe.ship").c_str(), 0600), 0);
    EXPECT_EQ(Save(dir / "pipe.ship", "s"), "it is not an ordinary file");
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.ship"));
    EXPECT_EQ(SafeWriteFile("/dev/null", "s").reason, "it is not an ordinary file");
    fs::create_symlink(dir / "pipe.ship", dir / "link.ship");
    EXPECT_EQ(Save(dir / "link.ship", "s"), "it is not an ordinary file");
}

TEST_F(SaveTest, AFolderThatCannotBeWrittenIsReportedAndTheOldFileStays) {
    // The system decides: for an administrator the folder is writable and the save succeeds.
    fs::create_directories(dir / "locked");
    Write(dir / "locked" / "Ship.ship", "old");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    const bool writable = access((dir / "locked").c_str(), W_OK) == 0;
    const std::string why = Save(dir / "locked" / "Ship.ship", "new");
    fs::permissions(dir / "locked", fs::perms::owner_all);
    if (writable) {
        EXPECT_EQ(why, "");
        EXPECT_EQ(Read(dir / "locked" / "Ship.ship"), "new");
    } else {
        EXPECT_EQ(why.rfind("the folder cannot be written to", 0), 0u) << why;
        EXPECT_EQ(Read(dir / "locked" / "Ship.ship"), "old");
    }
}

// Runs check in a child process as an ordinary user: as uid and gid 65534 when the tests run as
// root (as in CI), as this user otherwise. True when check returned true.
bool AsOrdinaryUser(const std::function<bool()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A save killed by sig just before its new file takes the old one's place.
int SaveKilledBy(const fs::path& target, int sig) {
    const pid_t child = fork();
    if (child == 0) {
        static int signal;
        signal = sig;
        SetSafeWriteHookForTesting([](const std::string&) { raise(signal); });
        SafeWriteFile(target.string(), "new");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

TEST_F(SaveTest, ASaveEndedByTermOrIntRemovesItsTemporaryFileAndAnOldOneIsRemovedLater) {
    const fs::path target = dir / "Ship.ship";
    Write(target, "old");
    for (int sig : {SIGTERM, SIGINT}) {
        EXPECT_EQ(SaveKilledBy(target, sig), sig);
        EXPECT_EQ(Entries(), std::vector<std::string>{"Ship.ship"}) << "signal " << sig;
        EXPECT_EQ(Read(target), "old");
    }
    // What a SIGKILL leaves: a temporary file of this save's pattern, old or still fresh (another
    // save may be writing it), beside names that only look alike.
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    const std::vector<std::string> names = {".Ship.ship.0123456789abcdef.tarvisk-tmp",   // stale: removed
                                            ".Ship.ship.fedcba9876543210.tarvisk-tmp",   // fresh
                                            ".Ship.ship.0123456789abcdeZ.tarvisk-tmp",   // not a token
                                            ".Other.ship.0123456789abcdef.tarvisk-tmp",  // another file's
                                            "Ship.ship.0123456789abcdef.tarvisk-tmp"};
    for (const auto& n : names) {
        Write(dir / n, "left over");
        if (n != names[1]) fs::last_write_time(dir / n, old);
    }
    ASSERT_EQ(Save(target, "next"), "");
    auto expected = std::vector<std::string>(names.begin() + 1, names.end());
    expected.push_back("Ship.ship");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(), expected);
}

TEST_F(SaveTest, AFileWithOtherNamesOrAnotherOwnerIsNotSavedOverAndItsAttributesAreKept) {
    const fs::path target = dir / "Ship.ship";
    Write(target, "old");
    ASSERT_EQ(link(target.c_str(), (dir / "Other name.ship").c_str()), 0);
    EXPECT_NE(Save(target, "new").find("hard links"), std::string::npos);
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Read(dir / "Other name.ship"), "old");
    fs::remove(dir / "Other name.ship");

#ifdef __linux__
    if (setxattr(target.c_str(), "user.tarvisk.tag", "blue", 4, 0) == 0) {
        ASSERT_EQ(Save(target, "new"), "");
        char value[8] = {};
        EXPECT_EQ(getxattr(target.c_str(), "user.tarvisk.tag", value, sizeof value), 4);
        EXPECT_EQ(std::string(value), "blue");
    }
#endif

    // A file every user may write, in a folder every user may write: another user's save would
    // make it theirs, so it is refused and says why. Root keeps the owner it finds.
    if (geteuid() != 0) GTEST_SKIP() << "needs a second user";
    ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
    ASSERT_EQ(chmod(target.c_str(), 0666), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] {
        return Save(target, "theirs") == "its owner could not be kept (Operation not permitted)" &&
               Read(target) != "theirs";
    }));
    ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    ASSERT_EQ(Save(target, "root's"), "");
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
}

TEST_F(SaveTest, AsAnOrdinaryUserAReadOnlyFolderRefusesTheSaveOfAWritableFile) {
    fs::create_directories(dir / "locked");
    Write(dir / "locked" / "Ship.ship", "old");
    ASSERT_EQ(chmod((dir / "locked" / "Ship.ship").c_str(), 0666), 0);
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0555), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown((dir / "locked" / "Ship.ship").c_str(), 65534, 65534), 0);
    }
    EXPECT_TRUE(AsOrdinaryUser([&] {
        return Save(dir / "locked" / "Ship.ship", "new").rfind("the folder cannot be written to", 0) == 0 &&
               Read(dir / "locked" / "Ship.ship") == "old";
    }));
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0755), 0);
}

// A link another user planted in a shared sticky folder (as /tmp) is not written through, as
// Linux's fs.protected_symlinks would stop it; its owner's or the folder owner's link is.
TEST_F(SaveTest, ALinkOfAnotherUserInASharedStickyFolderIsNotFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "needs a second user";
    fs::create_directories(dir / "pub");
    ASSERT_EQ(chmod((dir / "pub").c_str(), 01777), 0);
    Write(dir / "precious", "keep");
    const fs::path planted = dir / "pub" / "out.ship";
    fs::create_symlink("../precious", planted);
    ASSERT_EQ(lchown(planted.c_str(), 65534, 65534), 0);
    EXPECT_NE(Save(planted, "new").find("another user"), std::string::npos);
    EXPECT_EQ(Read(dir / "precious"), "keep");
    EXPECT_TRUE(fs::is_symlink(planted));
    // Not sticky: the folder's own rules already say who may put links in it.
    ASSERT_EQ(chmod((dir / "pub").c_str(), 0777), 0);
    EXPECT_EQ(Save(planted, "new"), "");
    EXPECT_EQ(Read(dir / "precious"), "new");
    // The user's own link, in the sticky folder again.
    ASSERT_EQ(chmod((dir / "pub").c_str(), 01777), 0);
    ASSERT_EQ(lchown(planted.c_str(), 0, 0), 0);
    EXPECT_EQ(Save(planted, "mine"), "");
    EXPECT_EQ(Read(dir / "precious"), "mine");
}

TEST_F(SaveTest, ASaveKilledBeforeItFinishedLeavesTheOldFileWhole) {
    const fs::path target = dir / "Ship.ship";
    Write(target, "old contents");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Killed at the worst moment: the new file is complete but has not taken the old one's place.
        SetSafeWriteHookForTesting([](const std::string&) { _exit(7); });
        SafeWriteFile(target.string(), std::string(100000, 'n'));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
    EXPECT_EQ(Read(target), "old contents");
    const auto names = Entries();
    ASSERT_EQ(names.size(), 2u);  // the target and one stray temporary file, which is no script
    for (const auto& n : names) EXPECT_TRUE(n == "Ship.ship" || fs::path(n).extension() != ".ship") << n;
    ASSERT_EQ(Save(target, "next"), "");
    EXPECT_EQ(Read(target), "next");
}

#endif

}  // namespace
